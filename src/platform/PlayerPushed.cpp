#include "platform/PlayerPushed.h"

#include <QJsonValue>
#include <QString>
#include <cmath>
#include <iterator>
#include <limits>

namespace tarl {

static_assert(std::size(PlayerObservedNames) == ObservedEnd - 1);

namespace {

constexpr unsigned AllReported = ((1u << ObservedEnd) - 1) & ~1u;

} // namespace

void PlayerPushed::apply(const QJsonObject& event) {
    const QString name = event.value(QStringLiteral("event")).toString();
    if (name == QLatin1String("start-file") || name == QLatin1String("end-file")) {
        if (name == QLatin1String("start-file"))
            ++filesStarted;
        // mpv reports the new file's length after this; the old one's must not stand for it.
        fileLoaded = false;
        duration.reset();
        timePos.reset();
        return;
    }
    if (name == QLatin1String("file-loaded")) {
        fileLoaded = true;
        lengthToAsk = !duration.has_value();
        entryLeft.reset();
        return;
    }
    if (name != QLatin1String("property-change"))
        return;
    const int id = event.value(QStringLiteral("id")).toInt();
    if (id < ObservedDuration || id >= ObservedEnd)
        return;
    reported |= 1u << id;
    // An unavailable property (no file) comes without data.
    const QJsonValue data = event.value(QStringLiteral("data"));
    const std::optional<double> number =
        data.isDouble() ? std::optional<double>(data.toDouble()) : std::nullopt;
    switch (id) {
    case ObservedDuration:
        duration = number;
        break;
    case ObservedTimePos:
        timePos = number;
        break;
    case ObservedEntry: {
        const qint64 pushedEntry = number ? data.toInteger(-1) : -1;
        if (entryLeft && pushedEntry == *entryLeft)
            break; // read before the link changed the entry
        entryLeft.reset();
        entry = pushedEntry;
        break;
    }
    case ObservedPlayingEntry:
        playing = number ? data.toInteger(-1) : -1;
        break;
    case ObservedEntryCount:
        count = number ? data.toInteger(0) : 0;
        break;
    case ObservedIdle:
        idle = data.toBool();
        break;
    case ObservedPause:
        paused = data.toBool();
        break;
    default:
        break;
    }
}

bool PlayerPushed::allReported() const {
    return (reported & AllReported) == AllReported;
}

void PlayerPushed::tookEntry(qint64 newEntry) {
    if (newEntry != entry)
        entryLeft = entry;
    entry = newEntry;
}

qint64 PlayerPushed::time(bool length) const {
    // Right after an entry change mpv already names the new entry while the old file still
    // reports its length and position; those values must not be taken for the new entry's. An
    // idle player has no file, whichever of its reports of the end arrived first.
    if (idle || !fileLoaded || entry < 0 || entry != playing)
        return 0;
    const std::optional<double>& value = length ? duration : timePos;
    if (!value)
        return 0;
    const double seconds = qMax(0.0, *value);
    // A broken file can claim any length, and a rounding of a value beyond 64 bits gives a
    // negative number: the answer stops at the largest the player's 32-bit answers carry.
    const double answer = length ? seconds : seconds * 1000;
    constexpr double Largest = std::numeric_limits<qint32>::max();
    return answer >= Largest ? qint64(Largest) : std::llround(answer);
}

} // namespace tarl
