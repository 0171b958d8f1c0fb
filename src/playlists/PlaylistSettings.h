#pragma once

#include "state/SettingKeys.h"

#include <QString>
#include <QStringList>

namespace tarl {

class Settings;

// Where the playlists Tarl writes go, and the ones written last, in tarl.ini's section
// "Playlists": "Folder" (the folder, ending in "/"; missing until the person chose one) and
// "Recent1" to "Recent8" (file names, newest first). A recent name that is not a plain playlist
// file name (a hand-edited "../x.m3u8") is passed over.
namespace keys {
inline constexpr QLatin1StringView Playlists{"Playlists"};
inline constexpr Key PlaylistsFolder{Playlists, QLatin1StringView("Folder"), QLatin1StringView("")};
} // namespace keys

inline constexpr int kRecentPlaylists = 8;

// ~/Music/Playlists/: what the folder browser's Cancel keeps on first use.
QString DefaultPlaylistsFolder();

// The folder as chosen, ending in "/"; "" when none was chosen yet.
QString PlaylistsFolder(const Settings& settings);
void SetPlaylistsFolder(Settings& settings, const QString& folder);

// The recent playlists' file names, newest first, at most kRecentPlaylists.
QStringList RecentPlaylists(const Settings& settings);
// Puts `fileName` first among the recent ones (taking it out of its older place); the oldest goes
// past kRecentPlaylists.
void RememberPlaylist(Settings& settings, const QString& fileName);

} // namespace tarl
