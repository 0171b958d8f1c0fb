#include "catalog/CatalogInsert.h"

#include "catalog/ImportStatements.h"
#include "catalog/ScanNodeValues.h"
#include "catalog/engine/BoundQuery.h"
#include "catalog/engine/Connection.h"
#include "catalog/engine/FirstRow.h"
#include "catalog/engine/UnicodeNoCase.h"
#include "platform/PathRules.h"
#include "tags/FormatFileSize.h"
#include "tags/TagFields.h"
#include "text/PathMap.h"
#include "text/PathText.h"

#include <QElapsedTimer>

namespace tarl {

namespace {

const QString kHardDiscMarker = QStringLiteral("EOF");
// How often AddPlaylistEntries looks whether the import was stopped.
constexpr int kEntriesPerYield = 500;
constexpr qint64 kMillisecondsPerYield = 20;

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

// A track row with its tag values and size text. An empty tag value is stored as a single space.
Result<> InsertTrackWithTags(ImportStatements& statements, const QString& folder,
                             const QString& file, qint64 listId, const TagFields& tags) {
    const auto stored = [](const QString& value) {
        const QString text = SqlTextValue(value);
        return text.isEmpty() ? QStringLiteral(" ") : text;
    };
    return statements.insertTrack({folder, file, QString::number(listId), stored(tags.title),
                                   stored(tags.artist), stored(tags.album), stored(tags.year),
                                   stored(tags.genre), stored(tags.comments),
                                   FormatFileSize(tags.fileLength)},
                                  tags.seconds);
}

} // namespace

Result<> AddFolderVolume(Catalog& catalog, const QString& folder, QString& currentLabel) {
    const QString name = SqlTextValue(folder);
    const Lookup<bool> there =
        HasRow(catalog.connection, "SELECT id, name From CD WHERE (((name)=?))", {name});
    if (!there.ok)
        return Result<>::failed(there.error);
    currentLabel = kHardDiscMarker;
    if (there.value)
        return {};
    // The constants stay in the text: a server reads a quoted '0' as its boolean isCd.
    return Ran(catalog.connection,
               catalog.connection.execute("INSERT INTO CD (name,m3us,label,isCd) VALUES (?,'0','" +
                                              kHardDiscMarker + "','0')",
                                          {name}));
}

Result<> AddFolderTrack(const Drives& drives, const ScanNodeValues& track, const TagFields& tags,
                        qint64 volumeId, ImportStatements& statements) {
    const ListPathParts list = FolderTrackList(drives, track);
    const Lookup<qint64> listId = statements.listOnVolume(list, volumeId);
    if (!listId.ok)
        return Result<>::failed(listId.error);
    const QString folder = list.path + (list.file == QLatin1String(".") ? QString() : list.file);
    const Lookup<bool> there = statements.hasTrack(listId.value, folder, track.text);
    if (!there.ok)
        return Result<>::failed(there.error);
    if (there.value)
        return {};
    return InsertTrackWithTags(statements, folder, track.text, listId.value, tags);
}

Result<> AddPlaylistList(const ScanNodeValues& playlist, qint64 volumeId,
                         ImportStatements& statements) {
    const Lookup<qint64> listId = statements.listOnVolume(PlaylistList(playlist), volumeId);
    if (!listId.ok)
        return Result<>::failed(listId.error);
    return {};
}

Result<> AddPlaylistEntries(Catalog& catalog, ImportStatements& statements,
                            const QList<PlaylistEntryPath>& entries, qint64 listId,
                            PlaylistTracksRun& run) {
    run.refused = false;
    if (entries.isEmpty())
        return {};

    // One commit for the whole playlist instead of one per track (each waits for the disc); a
    // savepoint, so it nests inside the transaction of an import that has one. A server takes a
    // savepoint only inside a transaction: outside one, the playlist gets a transaction of its own.
    Connection& connection = catalog.connection;
    bool ownTransaction = false;
    if (!connection.execute(QStringLiteral("SAVEPOINT AddPlaylistTracks"))) {
        ownTransaction = connection.engine() == CatalogEngine::Postgres &&
                         connection.execute(QStringLiteral("BEGIN"));
        if (!ownTransaction) {
            run.refused = true;
            return Result<>::failed(connection.lastError());
        }
    }
    QString failure;
    QElapsedTimer sinceYield;
    sinceYield.start();
    int entriesSinceYield = 0;
    for (const PlaylistEntryPath& entry : entries) {
        if (run.yield && (++entriesSinceYield > kEntriesPerYield ||
                          sinceYield.elapsed() >= kMillisecondsPerYield)) {
            if (!run.yield()) {
                run.stopped = true;
                break;
            }
            entriesSinceYield = 1;
            sinceYield.restart();
        }
        const QString& file = entry.file;
        const QString localPath = entry.folder + file;
        const QString folder = run.pathMap ? run.pathMap->toStored(entry.folder) : entry.folder;
        const Lookup<bool> there = statements.hasTrack(listId, folder, file);
        if (!there.ok) {
            failure = there.error;
            break;
        }
        if (there.value)
            continue;
        // An entry whose file is here gets the tags and length its folder's track gets.
        const std::optional<TagFields> tags = run.tagsOf ? run.tagsOf(localPath) : std::nullopt;
        const Result<> inserted = tags
                                      ? InsertTrackWithTags(statements, folder, file, listId, *tags)
                                      : statements.insertEntry(folder, file, listId);
        if (!inserted.ok) {
            failure = inserted.error;
            break;
        }
    }
    // The tracks added before a failure or a stop stay, as they would have one by one. A server
    // cannot go on after a refused statement: there the playlist's tracks are undone with it.
    if (ownTransaction) {
        if (!connection.execute(QStringLiteral("COMMIT"))) {
            if (failure.isEmpty())
                failure = connection.lastError();
            connection.execute(QStringLiteral("ROLLBACK"));
        }
    } else if (!connection.execute(QStringLiteral("RELEASE AddPlaylistTracks"))) {
        if (failure.isEmpty())
            failure = connection.lastError();
        // Never leave the catalog inside an open transaction.
        connection.execute(QStringLiteral("ROLLBACK TO AddPlaylistTracks"));
        connection.execute(QStringLiteral("RELEASE AddPlaylistTracks"));
    }
    if (!failure.isEmpty()) {
        run.refused = true;
        return Result<>::failed(failure);
    }
    return {};
}

Result<StyleAdded> AddStyle(Catalog& catalog, const QString& name) {
    const QString stored = SqlTextValue(name);
    const Lookup<bool> there = HasRow(catalog.connection,
                                      "SELECT Nick.nick FROM Nick WHERE (((Nick.nick)=?" +
                                          QString::fromLatin1(UnicodeNoCase::kCollate) + " ))",
                                      {stored});
    if (!there.ok)
        return Result<StyleAdded>::failed(there.error);
    if (there.value)
        return {
            {StyleAdded::AlreadyThere, QStringLiteral("This Style already exist in Data Base ")}};
    if (!catalog.connection.execute("INSERT INTO nick (nick) VALUES (?)", {stored}))
        return Result<StyleAdded>::failed(catalog.connection.lastError());
    return {StyleAdded{}};
}

} // namespace tarl
