#include "playlists/PlaylistSettings.h"

#include "playlists/PlaylistWriting.h"
#include "state/Settings.h"
#include "text/PathText.h"

#include <QDir>

namespace tarl {
namespace {

QString RecentKey(int i) {
    return QStringLiteral("Recent%1").arg(i + 1);
}

} // namespace

QString DefaultPlaylistsFolder() {
    return QDir::homePath() + QStringLiteral("/Music/Playlists/");
}

QString PlaylistsFolder(const Settings& settings) {
    const QString folder = settings.read(keys::PlaylistsFolder);
    return IsAbsolutePath(folder) ? WithTrailingSlash(folder) : QString();
}

void SetPlaylistsFolder(Settings& settings, const QString& folder) {
    settings.write(keys::PlaylistsFolder, WithTrailingSlash(folder));
}

QStringList RecentPlaylists(const Settings& settings) {
    QStringList names;
    for (int i = 0; i < kRecentPlaylists; ++i) {
        const QString name = settings.ReadSetting(keys::Playlists, RecentKey(i), QString());
        const Result<QString> plain = PlaylistFileName(name);
        if (plain && plain.value == name && !names.contains(name))
            names << name;
    }
    return names;
}

void RememberPlaylist(Settings& settings, const QString& fileName) {
    QStringList names = RecentPlaylists(settings);
    names.removeAll(fileName);
    names.prepend(fileName);
    for (int i = 0; i < kRecentPlaylists; ++i) {
        const QString value = i < names.size() ? names[i] : QString();
        if (settings.ReadSetting(keys::Playlists, RecentKey(i), QString()) != value)
            settings.write(keys::Playlists, RecentKey(i), value);
    }
}

} // namespace tarl
