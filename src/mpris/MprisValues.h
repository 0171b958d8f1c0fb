#pragma once

#include "mpris/MediaControls.h"
#include "text/Result.h"

#include <QDBusObjectPath>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <optional>

namespace tarl {

// The values of the desktop's media player interface (MPRIS 2) made from a MediaStatus, and the
// rules MprisService checks requests by. Pure: no bus, no player.

// The property names of the player interface whose values come from the status; Position is not
// among them, since it changes all the time and is asked for, never announced.
inline const QStringList kStatusProperties{
    QStringLiteral("PlaybackStatus"), QStringLiteral("LoopStatus"), QStringLiteral("Shuffle"),
    QStringLiteral("Metadata"),       QStringLiteral("Volume"),     QStringLiteral("CanGoNext"),
    QStringLiteral("CanGoPrevious"),  QStringLiteral("CanPlay"),    QStringLiteral("CanPause"),
    QStringLiteral("CanSeek")};

// "Playing", "Paused", "Stopped".
QString PlaybackStatusText(Playback playback);

// "None", "Track", "Playlist", and back; none for any other text.
QString LoopStatusText(LoopMode loop);
std::optional<LoopMode> LoopModeOf(const QString& text);

// /org/tarl/track/<entry>; the interface's own /org/mpris/MediaPlayer2/TrackList/NoTrack while
// nothing plays.
QDBusObjectPath TrackIdOf(const MediaTrack& track);

// The track's metadata: mpris:trackid always; xesam:title, xesam:artist (a list of one),
// xesam:album, xesam:url (the file's "file://" URL), mpris:length and mpris:artUrl only when
// known, so a desktop shows nothing rather than an empty name.
QVariantMap MetadataOf(const MediaTrack& track);

// The value of one of kStatusProperties in `status`; an invalid value for any other name.
QVariant StatusProperty(const MediaStatus& status, const QString& name);

// The properties of kStatusProperties whose values differ between `before` and `now`, with their
// values in `now`; empty when none does.
QVariantMap ChangedProperties(const MediaStatus& before, const MediaStatus& now);

// True when the position of the same track moved other than time does: more than a second away
// from where `before` and `elapsedUs` of wall time put it (the time counts while playing only).
// A new track starts where it starts: that is no jump.
bool PositionJumped(const MediaStatus& before, const MediaStatus& now, qint64 elapsedUs);

// The MIME types of the sound files Tarl plays, as the desktop is told.
QStringList SupportedMimeTypes();

// The local file a URI asked to be opened names: only a "file://" URL of an existing regular
// file on this machine with the name of a sound file Tarl plays (.mp3, .flac, .ogg, .opus, .wav,
// .wma, .m4a). Anything else fails with the reason: another scheme the player would fetch, a
// share, a folder, a missing file, a playlist (whose entries the player would follow unchecked).
Result<QString> LocalSoundFileOf(const QString& uri);

} // namespace tarl
