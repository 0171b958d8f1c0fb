#include "mpris/MprisValues.h"

#include "text/PlaylistText.h"

#include <QFileInfo>
#include <cstdlib>
#include <iterator>

namespace tarl {

namespace {

// A player's clock and the now-playing tick drift apart by a tick or two; a seek is seconds.
constexpr qint64 kJumpUs = 1'000'000;

struct SoundType {
    const char* extension;
    const char* mimeType;
};

// The formats Tarl catalogs and plays, by file name as the scan knows them.
constexpr SoundType kSoundTypes[] = {
    {"mp3", "audio/mpeg"},  {"flac", "audio/flac"},    {"ogg", "audio/ogg"}, {"opus", "audio/opus"},
    {"wav", "audio/x-wav"}, {"wma", "audio/x-ms-wma"}, {"m4a", "audio/mp4"},
};

bool IsSoundFileName(const QString& path) {
    const QString suffix = QFileInfo(path).suffix();
    for (const SoundType& type : kSoundTypes) {
        if (suffix.compare(QLatin1String(type.extension), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool SameTrack(const MediaTrack& a, const MediaTrack& b) {
    return a.entry == b.entry && a.path == b.path;
}

} // namespace

QString PlaybackStatusText(Playback playback) {
    switch (playback) {
    case Playback::Playing:
        return QStringLiteral("Playing");
    case Playback::Paused:
        return QStringLiteral("Paused");
    case Playback::Stopped:
        break;
    }
    return QStringLiteral("Stopped");
}

QString LoopStatusText(LoopMode loop) {
    switch (loop) {
    case LoopMode::Track:
        return QStringLiteral("Track");
    case LoopMode::Playlist:
        return QStringLiteral("Playlist");
    case LoopMode::None:
        break;
    }
    return QStringLiteral("None");
}

std::optional<LoopMode> LoopModeOf(const QString& text) {
    for (const LoopMode mode : {LoopMode::None, LoopMode::Track, LoopMode::Playlist}) {
        if (text == LoopStatusText(mode))
            return mode;
    }
    return std::nullopt;
}

QDBusObjectPath TrackIdOf(const MediaTrack& track) {
    if (track.entry < 0)
        return QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack"));
    return QDBusObjectPath(QStringLiteral("/org/tarl/track/%1").arg(track.entry));
}

QVariantMap MetadataOf(const MediaTrack& track) {
    QVariantMap metadata;
    metadata.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(TrackIdOf(track)));
    if (track.entry < 0)
        return metadata;
    if (!track.title.isEmpty())
        metadata.insert(QStringLiteral("xesam:title"), track.title);
    if (!track.artist.isEmpty())
        metadata.insert(QStringLiteral("xesam:artist"), QStringList{track.artist});
    if (!track.album.isEmpty())
        metadata.insert(QStringLiteral("xesam:album"), track.album);
    if (!track.path.isEmpty())
        metadata.insert(QStringLiteral("xesam:url"), FileUrlOf(track.path));
    if (track.lengthUs > 0)
        metadata.insert(QStringLiteral("mpris:length"), qlonglong(track.lengthUs));
    if (!track.artPath.isEmpty())
        metadata.insert(QStringLiteral("mpris:artUrl"), FileUrlOf(track.artPath));
    return metadata;
}

QVariant StatusProperty(const MediaStatus& status, const QString& name) {
    if (name == u"PlaybackStatus")
        return PlaybackStatusText(status.playback);
    if (name == u"LoopStatus")
        return LoopStatusText(status.loop);
    if (name == u"Shuffle")
        return status.shuffle;
    if (name == u"Metadata")
        return MetadataOf(status.track);
    if (name == u"Volume")
        return status.volume;
    if (name == u"CanGoNext")
        return status.canGoNext;
    if (name == u"CanGoPrevious")
        return status.canGoPrevious;
    if (name == u"CanPlay")
        return status.canPlay;
    if (name == u"CanPause")
        return status.canPause;
    if (name == u"CanSeek")
        return status.canSeek;
    return {};
}

QVariantMap ChangedProperties(const MediaStatus& before, const MediaStatus& now) {
    // Field by field, in the order of kStatusProperties, so that a refresh with nothing changed
    // builds no value.
    const bool differs[] = {
        before.playback != now.playback,
        before.loop != now.loop,
        before.shuffle != now.shuffle,
        before.track != now.track,
        before.volume != now.volume,
        before.canGoNext != now.canGoNext,
        before.canGoPrevious != now.canGoPrevious,
        before.canPlay != now.canPlay,
        before.canPause != now.canPause,
        before.canSeek != now.canSeek,
    };
    static_assert(std::size(differs) == 10);
    QVariantMap changed;
    for (qsizetype i = 0; i < kStatusProperties.size(); ++i) {
        if (differs[i])
            changed.insert(kStatusProperties[i], StatusProperty(now, kStatusProperties[i]));
    }
    return changed;
}

bool PositionJumped(const MediaStatus& before, const MediaStatus& now, qint64 elapsedUs) {
    if (now.track.entry < 0 || !SameTrack(before.track, now.track))
        return false;
    const qint64 expected =
        before.positionUs + (before.playback == Playback::Playing ? elapsedUs : 0);
    return std::llabs(now.positionUs - expected) > kJumpUs;
}

QStringList SupportedMimeTypes() {
    QStringList types;
    for (const SoundType& type : kSoundTypes) {
        if (!types.contains(QLatin1String(type.mimeType)))
            types.append(QLatin1String(type.mimeType));
    }
    return types;
}

Result<QString> LocalSoundFileOf(const QString& uri) {
    const QString path = FileUrlPath(uri);
    if (path.isEmpty())
        return Result<QString>::failed(
            QStringLiteral("Tarl opens only local files (file:// addresses), not %1.").arg(uri));
    // "file://host/..." decodes to "//host/...": a share another machine serves.
    if (!path.startsWith(u'/') || path.startsWith(QLatin1String("//")) ||
        path.contains(QChar(u'\0')))
        return Result<QString>::failed(
            QStringLiteral("Tarl opens only files on this machine, not %1.").arg(uri));
    const QFileInfo info(path);
    if (!info.exists())
        return Result<QString>::failed(QStringLiteral("There is no file %1.").arg(path));
    if (!info.isFile())
        return Result<QString>::failed(QStringLiteral("%1 is not a file.").arg(path));
    if (!IsSoundFileName(path))
        return Result<QString>::failed(
            QStringLiteral("%1 is not a sound file Tarl plays (mp3, flac, ogg, opus, wav, wma, "
                           "m4a).")
                .arg(path));
    return path;
}

} // namespace tarl
