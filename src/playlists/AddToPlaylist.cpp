#include "playlists/AddToPlaylist.h"

#include "catalog/WrittenPlaylists.h"
#include "platform/Files.h"
#include "platform/Ui.h"
#include "playlists/PlaylistFiling.h"
#include "playlists/PlaylistSettings.h"
#include "playlists/PlaylistWriting.h"
#include "state/AppState.h"
#include "text/PathText.h"

#include <QDir>

namespace tarl {
namespace {

// The folder the playlists go to, asked the first time and made when missing.
Result<QString> ReadyPlaylistsFolder(AppState& state) {
    QString folder = PlaylistsFolder(state.settings);
    if (folder.isEmpty()) {
        folder = state.services.ui.browseForFolder(
            QStringLiteral("Folder for your playlists (Cancel keeps ~/Music/Playlists)"));
        if (!IsAbsolutePath(folder))
            folder = DefaultPlaylistsFolder();
        folder = WithTrailingSlash(folder);
        SetPlaylistsFolder(state.settings, folder);
    }
    if (!QDir().mkpath(folder))
        return Result<QString>::failed(
            QStringLiteral("The playlists folder %1 cannot be made.").arg(folder));
    return folder;
}

// Which file the tracks go to, and whether after its entries; none when the person cancelled.
struct Target {
    QString fileName;
    bool append = false;
};

Result<std::optional<Target>> ChooseTarget(AppState& state, const QString& folder,
                                           const QString& recent) {
    using Chosen = Result<std::optional<Target>>;
    Ui& ui = state.services.ui;
    if (!recent.isEmpty()) {
        const Result<QString> name = PlaylistFileName(recent);
        if (!name)
            return Chosen::failed(name.error);
        return {Target{name.value, true}};
    }
    const std::optional<QString> typed = ui.input(QStringLiteral("Name of the new playlist"),
                                                  QStringLiteral("New Playlist"), QString());
    if (!typed)
        return {std::nullopt};
    const Result<QString> name = PlaylistFileName(*typed);
    if (!name)
        return Chosen::failed(name.error);
    if (state.services.files.exists(folder + name.value)) {
        const QString question =
            QStringLiteral("There is a playlist %1 in %2 already. Replace it with these tracks?")
                .arg(name.value, folder);
        if (ui.message(question, QStringLiteral("New Playlist"), MsgIcon::Question,
                       MsgButtons::OkCancel) != MsgAnswer::Ok)
            return {std::nullopt};
    }
    return {Target{name.value, false}};
}

// The picked tracks whose files are on this machine, and the count of the others.
struct LocalTracks {
    QList<PlaylistTrack> found;
    int leftOut = 0;
};

Result<LocalTracks> LocalTracksOf(AppState& state, const std::vector<qint64>& trackIds) {
    const Lookup<std::vector<PickedTrack>> picked = ReadPickedTracks(state.catalog, trackIds);
    if (!picked)
        return Result<LocalTracks>::failed(
            QStringLiteral("The tracks could not be read from the catalog: ") + picked.error);
    LocalTracks tracks;
    const Files& files = state.services.files;
    for (const PickedTrack& track : picked.value) {
        const QString local = state.pathMap.toLocal(track.path) + track.file;
        if (track.file.isEmpty() || !IsAbsolutePath(local) || !files.exists(local) ||
            files.isDir(local)) {
            ++tracks.leftOut;
            continue;
        }
        tracks.found.append({local, track.artist, track.title, track.seconds});
    }
    return tracks;
}

QString Tracks(qsizetype n) {
    return n == 1 ? QStringLiteral("1 track") : QStringLiteral("%1 tracks").arg(n);
}

QString AddedSentence(const LocalTracks& tracks, const QString& fileName) {
    QString sentence = QStringLiteral("Added %1 to %2.").arg(Tracks(tracks.found.size()), fileName);
    if (tracks.leftOut > 0)
        sentence += QStringLiteral(" %1 left out: not on this machine (a disc not in its drive?).")
                        .arg(Tracks(tracks.leftOut));
    return sentence;
}

} // namespace

Result<PlaylistAdded> AddToPlaylist(AppState& state, const QString& recent,
                                    const std::vector<qint64>& trackIds) {
    using Added = Result<PlaylistAdded>;
    if (trackIds.empty())
        return Added::failed(QStringLiteral("Select the tracks to add to the playlist first."));
    if (state.importRunning)
        return Added::failed(QStringLiteral("An import is writing to the catalog: add the tracks "
                                            "to the playlist once it is done."));
    const Result<QString> folder = ReadyPlaylistsFolder(state);
    if (!folder)
        return Added::failed(folder.error);
    const Result<std::optional<Target>> target = ChooseTarget(state, folder.value, recent);
    if (!target)
        return Added::failed(target.error);
    if (!target.value)
        return PlaylistAdded{};
    const QString fileName = target.value->fileName;
    const QString path = folder.value + fileName;

    const Result<LocalTracks> tracks = LocalTracksOf(state, trackIds);
    if (!tracks)
        return Added::failed(tracks.error);
    if (tracks.value.found.isEmpty())
        return Added::failed(QStringLiteral("None of the tracks is on this machine (a disc not in "
                                            "its drive?): nothing was added to %1.")
                                 .arg(fileName));
    if (const Result<> written = WritePlaylist(path, tracks.value.found, target.value->append);
        !written)
        return Added::failed(written.error);
    RememberPlaylist(state.settings, fileName);

    if (const Result<> filed =
            FilePlaylist(state.catalog, state.services.drives, state.pathMap, path);
        !filed)
        return Added::failed(QStringLiteral("%1 was written, but the catalog could not file it: %2")
                                 .arg(AddedSentence(tracks.value, fileName), filed.error));
    return PlaylistAdded{AddedSentence(tracks.value, fileName), true};
}

} // namespace tarl
