#include "catalog/CatalogInsert.h"

#include "catalog/CatalogFind.h"
#include "catalog/Connection.h"
#include "catalog/FirstRow.h"
#include "catalog/ImportStatements.h"
#include "catalog/QuoteSql.h"
#include "catalog/ScanNodeValues.h"
#include "catalog/UnicodeNoCase.h"
#include "platform/PathRules.h"
#include "tags/FormatFileSize.h"
#include "tags/TagFields.h"
#include "text/PathText.h"
#include "text/PlaylistText.h"

#include <QElapsedTimer>

namespace tarl {

namespace {

const QString kHardDiscMarker = QStringLiteral("EOF");
// How often AddPlaylistTracks lets an import's windows run.
constexpr int kEntriesPerYield = 500;
constexpr qint64 kMillisecondsPerYield = 20;

// A tag value as stored: quoted, and a single space when there is nothing left.
QString StoredTag(const QString& value) {
    const QString quoted = QuoteSql(value);
    return quoted.isEmpty() ? QStringLiteral(" ") : quoted;
}

// The end of a routine that reports its reason through *error.
bool Finish(bool ok, const QString& why, QString* error) {
    if (!ok && error)
        *error = why;
    return ok;
}

// Adds the list (path, file) to volume `volumeId` unless the volume has it.
bool AddListOnce(Catalog& catalog, const ListPathParts& list, qint64 volumeId) {
    const QString path = QuoteSql(list.path);
    const QString file = QuoteSql(list.file);
    const QString volume = QString::number(volumeId);
    const Lookup<bool> there =
        HasRow(catalog.connection, catalog.general,
               "SELECT M3u.cd_id, M3u.path, M3u.file FROM M3u WHERE " +
                   QStringLiteral("(((M3u.cd_id)=") + volume + " ) AND " + "((M3u.path)='" + path +
                   "') AND " + "((M3u.file)='" + file + "'))");
    if (!there.ok)
        return false;
    if (there.value)
        return true;
    return catalog.connection.execute("INSERT INTO m3u (path,file,cd_id,mp3s) VALUES " +
                                          QStringLiteral("('") + path + "','" + file + "','" +
                                          volume + "','" + "0" + "')",
                                      catalog.general);
}

// AddFolderTrack's statements, run prepared with the same values.
bool AddTrackPrepared(ImportStatements& statements, const ListPathParts& list,
                      const ScanNodeValues& track, const TagFields& tags, qint64 volumeId) {
    const Lookup<qint64> listId = statements.listOnVolume(list, volumeId);
    if (!listId.ok)
        return false;
    const QString folder = list.path + (list.file == QLatin1String(".") ? QString() : list.file);
    const Lookup<bool> there = statements.hasTrack(listId.value, folder, track.text);
    if (!there.ok)
        return false;
    if (there.value)
        return true;
    const auto stored = [](const QString& value) {
        const QString text = SqlTextValue(value);
        return text.isEmpty() ? QStringLiteral(" ") : text;
    };
    return statements.insertTrack({folder, track.text, QString::number(listId.value),
                                   stored(tags.title), stored(tags.artist), stored(tags.album),
                                   stored(tags.year), stored(tags.genre), stored(tags.comments),
                                   FormatFileSize(tags.fileLength)});
}

// The list of a sound file's folder: the folder stored under its parent ("/music/", "rock/"); the
// tracks right on a drive root form the root's own list ("/media/cd/", ".").
ListPathParts FolderTrackList(const Drives& drives, const ScanNodeValues& track) {
    const QString& folderKey = track.parentKey;
    ListPathParts list{folderKey, QStringLiteral(".")};
    if (!IsDriveRootText(folderKey, drives)) {
        list.path = FolderOf(folderKey.left(folderKey.size() - 1));
        list.file = folderKey.mid(list.path.size());
    }
    return list;
}

// A playlist's list: the file in its folder.
ListPathParts PlaylistList(const ScanNodeValues& playlist) {
    const QString path = FolderOf(playlist.key);
    return {path, playlist.key.mid(path.size())};
}

} // namespace

bool AddFolderVolume(Catalog& catalog, const QString& folder, QString& currentLabel) {
    const QString name = QuoteSql(folder);
    const Lookup<bool> there =
        HasRow(catalog.connection, catalog.general,
               "SELECT id, name From CD WHERE (((name)=" + QStringLiteral("'") + name + "'" + "))");
    if (!there.ok)
        return false;
    currentLabel = kHardDiscMarker;
    if (there.value)
        return true;
    return catalog.connection.execute("INSERT INTO CD (name,m3us,label,isCd) VALUES " +
                                          QStringLiteral("('") + name + "','" + "0" + "','" +
                                          kHardDiscMarker + "','0')",
                                      catalog.general);
}

bool AddFolderTrack(Catalog& catalog, const Drives& drives, const ScanNodeValues& track,
                    const TagFields& tags, qint64 volumeId) {
    const ListPathParts list = FolderTrackList(drives, track);
    if (!AddListOnce(catalog, list, volumeId))
        return false;
    const Lookup<qint64> listId = FindListIdOnVolume(catalog, list, volumeId);
    if (!listId.ok)
        return false;

    const QString folder =
        QuoteSql(list.path + (list.file == QLatin1String(".") ? QString() : list.file));
    const QString file = QuoteSql(track.text);
    const QString listNumber = QString::number(listId.value);
    const Lookup<bool> there = HasRow(
        catalog.connection, catalog.general,
        "SELECT m3u_id, path, file FROM Mp3 WHERE " + QStringLiteral("(((m3u_id)=") + listNumber +
            " ) AND " + "((path)='" + folder + "') AND " + "((file)='" + file + "'))");
    if (!there.ok)
        return false;
    if (there.value)
        return true;

    const QString sizeText = QuoteSql(FormatFileSize(tags.fileLength));
    return catalog.connection.execute(
        "INSERT INTO Mp3 (path,file,m3u_id,title,artist,album,year,genre,comments,size) VALUES " +
            QStringLiteral("('") + folder + "','" + file + "','" + listNumber + "'," + "'" +
            StoredTag(tags.title) + "','" + StoredTag(tags.artist) + "','" + StoredTag(tags.album) +
            "','" + StoredTag(tags.year) + "','" + StoredTag(tags.genre) + "','" +
            StoredTag(tags.comments) + "','" + sizeText + "')",
        catalog.general);
}

bool AddFolderTrack(const Drives& drives, const ScanNodeValues& track, const TagFields& tags,
                    qint64 volumeId, ImportStatements& statements) {
    return AddTrackPrepared(statements, FolderTrackList(drives, track), track, tags, volumeId);
}

bool AddPlaylistList(Catalog& catalog, const ScanNodeValues& playlist, qint64 volumeId) {
    return AddListOnce(catalog, PlaylistList(playlist), volumeId);
}

bool AddPlaylistList(const ScanNodeValues& playlist, qint64 volumeId,
                     ImportStatements& statements) {
    return statements.listOnVolume(PlaylistList(playlist), volumeId).ok;
}

bool AddPlaylistTracks(Catalog& catalog, const QString& playlistPath, qint64 listId,
                       QString* error) {
    PlaylistTracksRun run;
    return AddPlaylistTracks(catalog, playlistPath, listId, error, run);
}

bool AddPlaylistTracks(Catalog& catalog, const QString& playlistPath, qint64 listId, QString* error,
                       PlaylistTracksRun& run) {
    run.refused = false;
    // A file read only in part still gives its first lines, as reading it line by line would.
    const Result<QStringList> read = ReadPlaylistFile(playlistPath);
    const bool readWhole = read.ok;
    const QString& readError = read.error;
    const QStringList entries = PlaylistEntries(read.value);
    if (entries.isEmpty())
        return Finish(readWhole, readError, error);

    // One commit for the whole playlist instead of one per track (each waits for the disc); a
    // savepoint, so it nests inside the transaction of an import that has one.
    Connection& connection = catalog.connection;
    if (!connection.execute(QStringLiteral("SAVEPOINT AddPlaylistTracks"), catalog.general)) {
        run.refused = true;
        return Finish(false, connection.lastError(), error);
    }
    const QString listNumber = QString::number(listId);
    const QString playlistFolder = FolderOf(playlistPath);
    QString failure;
    QElapsedTimer sinceYield;
    sinceYield.start();
    int entriesSinceYield = 0;
    for (const QString& entry : entries) {
        if (run.yield && (++entriesSinceYield > kEntriesPerYield ||
                          sinceYield.elapsed() >= kMillisecondsPerYield)) {
            if (!run.yield()) {
                run.stopped = true;
                break;
            }
            entriesSinceYield = 1;
            sinceYield.restart();
        }
        QString folder;
        QString file;
        SplitPlaylistEntry(entry, playlistFolder, &folder, &file);
        if (run.statements) {
            const Lookup<bool> there = run.statements->hasTrack(listId, folder, file);
            if (there.ok && there.value)
                continue;
            if (!there.ok || !run.statements->insertEntry(folder, file, listId)) {
                failure = connection.lastError();
                break;
            }
            continue;
        }
        folder = QuoteSql(folder);
        file = QuoteSql(file);
        const Lookup<bool> there =
            HasRow(connection, catalog.general,
                   "SELECT m3u_id, path, file FROM Mp3 WHERE " + QStringLiteral("(((m3u_id)=") +
                       listNumber + " ) AND " + "((path)='" + folder + "') AND " + "((file)='" +
                       file + "'))");
        if (there.ok && there.value)
            continue;
        if (!there.ok || !connection.execute("INSERT INTO Mp3 (path,file,m3u_id) VALUES " +
                                                 QStringLiteral("('") + folder + "','" + file +
                                                 "','" + listNumber + "')",
                                             catalog.general)) {
            failure = connection.lastError();
            break;
        }
    }
    // The tracks added before a failure or a stop stay, as they would have one by one.
    if (!connection.execute(QStringLiteral("RELEASE AddPlaylistTracks"), catalog.general)) {
        if (failure.isEmpty())
            failure = connection.lastError();
        // Never leave the catalog inside an open transaction.
        connection.execute(QStringLiteral("ROLLBACK TO AddPlaylistTracks"), catalog.general);
        connection.execute(QStringLiteral("RELEASE AddPlaylistTracks"), catalog.general);
    }
    if (!failure.isEmpty()) {
        run.refused = true;
        return Finish(false, failure, error);
    }
    return Finish(readWhole, readError, error);
}

AddStyleResult AddStyle(Catalog& catalog, const QString& name) {
    const QString quoted = QuoteSql(name);
    const Lookup<bool> there =
        HasRow(catalog.connection, catalog.general,
               "SELECT Nick.nick FROM Nick WHERE " + QStringLiteral("(((Nick.nick)='") + quoted +
                   "'" + UnicodeNoCase::kCollate + " ))");
    if (!there.ok)
        return {StyleAdded::Failed, {}};
    if (there.value)
        return {StyleAdded::AlreadyThere, QStringLiteral("This Style already exist in Data Base ")};
    if (!catalog.connection.execute("INSERT INTO nick (nick) VALUES " + QStringLiteral("('") +
                                        quoted + "')",
                                    catalog.general))
        return {StyleAdded::Failed, {}};
    return {StyleAdded::Added, {}};
}

} // namespace tarl
