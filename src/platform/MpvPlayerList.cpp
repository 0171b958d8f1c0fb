// The verbs of the mpv link that read or edit the player's list, and its repeat and pause state.
#include "platform/MpvPlayerLink.h"

#include <QJsonArray>
#include <QJsonObject>

namespace tarl {

PlayerState MpvPlayerLink::state(PlayerWindow window) {
    if (!reached(window, true) || pushed_.idle || !pushed_.fileLoaded || pushed_.playing < 0)
        return PlayerState::Stopped;
    return pushed_.paused ? PlayerState::Paused : PlayerState::Playing;
}

std::optional<QStringList> MpvPlayerLink::entries(PlayerWindow window) {
    if (!reached(window, false))
        return std::nullopt;
    const std::optional<QJsonValue> list = get(QStringLiteral("playlist"), messageDeadline());
    if (!list || !list->isArray())
        return std::nullopt;
    QStringList names;
    for (const QJsonValue& entry : list->toArray())
        names << entry.toObject().value(QStringLiteral("filename")).toString();
    return names;
}

bool MpvPlayerLink::appendEntries(PlayerWindow window, const QStringList& paths) {
    if (!reached(window, false))
        return false;
    const QDeadlineTimer deadline = messageDeadline();
    for (const QString& path : paths) {
        // Only a local path given whole: never a name the player would read as an option or an
        // address to fetch.
        if (!path.startsWith(u'/'))
            return false;
        if (!succeeded(QJsonArray{QStringLiteral("loadfile"), path, QStringLiteral("append")},
                       deadline))
            return false;
    }
    return true;
}

bool MpvPlayerLink::moveEntry(PlayerWindow window, qint64 from, qint64 to) {
    if (!reached(window, false) || from < 0 || to < 0)
        return false;
    if (from == to)
        return true;
    // mpv puts the entry in the place of the entry at its second index, so moving down names
    // the entry after the place.
    const qint64 before = from < to ? to + 1 : to;
    const QDeadlineTimer deadline = messageDeadline();
    if (!succeeded(QJsonArray{QStringLiteral("playlist-move"), from, before}, deadline))
        return false;
    followPlayingEntry(deadline);
    return true;
}

bool MpvPlayerLink::removeEntry(PlayerWindow window, qint64 index) {
    if (!reached(window, false) || index < 0)
        return false;
    const QDeadlineTimer deadline = messageDeadline();
    if (!succeeded(QJsonArray{QStringLiteral("playlist-remove"), index}, deadline))
        return false;
    followPlayingEntry(deadline);
    return true;
}

bool MpvPlayerLink::shuffleEntries(PlayerWindow window, bool shuffle) {
    if (!reached(window, false))
        return false;
    const QDeadlineTimer deadline = messageDeadline();
    const QString verb =
        shuffle ? QStringLiteral("playlist-shuffle") : QStringLiteral("playlist-unshuffle");
    if (!succeeded(QJsonArray{verb}, deadline))
        return false;
    if (shuffle) {
        const std::optional<QJsonValue> pos = get(QStringLiteral("playlist-pos"), deadline);
        if (pos && pos->toInteger(-1) > 0)
            succeeded(QJsonArray{QStringLiteral("playlist-move"), pos->toInteger(), 0}, deadline);
    }
    followPlayingEntry(deadline);
    return true;
}

void MpvPlayerLink::setRepeat(PlayerWindow window, Repeat repeat) {
    if (!reached(window, false))
        return;
    const QDeadlineTimer deadline = messageDeadline();
    const auto onOff = [](bool on) { return on ? QStringLiteral("inf") : QStringLiteral("no"); };
    request(QJsonArray{QStringLiteral("set_property"), QStringLiteral("loop-file"),
                       onOff(repeat == Repeat::Song)},
            deadline);
    request(QJsonArray{QStringLiteral("set_property"), QStringLiteral("loop-playlist"),
                       onOff(repeat == Repeat::List)},
            deadline);
}

void MpvPlayerLink::followPlayingEntry(const QDeadlineTimer& deadline) {
    const std::optional<QJsonValue> pos = get(QStringLiteral("playlist-pos"), deadline);
    if (!pos)
        return;
    const qint64 entry = pos->toInteger(-1);
    pushed_.tookEntry(entry);
    if (const std::optional<QJsonValue> playing =
            get(QStringLiteral("playlist-playing-pos"), deadline))
        pushed_.playing = playing->toInteger(-1);
    if (entry >= 0)
        rememberedEntry_ = entry;
}

} // namespace tarl
