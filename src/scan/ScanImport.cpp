#include "scan/ScanImport.h"

#include "catalog/CatalogInsert.h"
#include "catalog/ImportStatements.h"
#include "catalog/ImportTransaction.h"
#include "catalog/engine/Connection.h"
#include "platform/Drives.h"
#include "platform/PathRules.h"
#include "platform/VolumeLabelText.h"
#include "scan/PlaylistImport.h"
#include "scan/ScanNode.h"
#include "scan/ScanTree.h"
#include "scan/ScanWalker.h"
#include "scan/TagPrefetch.h"
#include "tags/TagFields.h"
#include "text/PathText.h"

#include <QElapsedTimer>
#include <QHash>
#include <utility>

namespace tarl {

namespace {

const QString kHardDiscMarker = QStringLiteral("EOF");
constexpr int kErrorsKept = 10;

void Note(ScanImportResult& result, const QString& why) {
    ++result.errorCount;
    if (result.errors.size() < kErrorsKept)
        result.errors << why;
}

// The drives' answers kept for the length of one import: every track asks for the drive root of
// its folder (twice), and the same folders come back for every track they hold. Each question is
// asked of the system once; the import's answers then stay the same, as its kept ids do.
class KeptDrives : public Drives {
public:
    explicit KeptDrives(const Drives& drives) : drives_(drives) {}

    QString driveRoot(const QString& path) const override {
        // The tracks of a folder ask about the same folder, several times each.
        if (!lastPath_.isNull() && path == lastPath_)
            return lastRoot_;
        lastRoot_ = kept(roots_, path, [&] { return drives_.driveRoot(path); });
        lastPath_ = path;
        return lastRoot_;
    }
    DriveType driveType(const QString& root) const override {
        return kept(types_, root, [&] { return drives_.driveType(root); });
    }
    QString volumeLabel(const QString& root) const override {
        return kept(labels_, root, [&] { return drives_.volumeLabel(root); });
    }

private:
    template <typename T, typename Ask>
    static T kept(QHash<QString, T>& answers, const QString& question, const Ask& ask) {
        const auto found = answers.constFind(question);
        if (found != answers.constEnd())
            return found.value();
        const T answer = ask();
        answers.insert(question, answer);
        return answer;
    }

    const Drives& drives_;
    mutable QHash<QString, QString> roots_;
    mutable QString lastPath_;
    mutable QString lastRoot_;
    mutable QHash<QString, DriveType> types_;
    mutable QHash<QString, QString> labels_;
};

// The open transaction of an import, committed in batches. A statement the catalog refuses ends
// the import: the open batch is rolled back, with every id kept from it, and `failure` holds the
// first reason. `nodesWritten` and the row counts are those of committed batches.
class Batches {
public:
    Batches(Catalog& catalog, ImportStatements& statements, const ScanImportBatching& batching,
            ScanImportResult& result)
        : catalog_(catalog), statements_(statements), transaction_(catalog), batching_(batching),
          result_(result) {}

    // Opens a batch; false when the catalog refused (the import has failed).
    bool begin() {
        if (!transaction_.begin()) {
            fail(catalog_.connection.lastError());
            return false;
        }
        clock_.start();
        nodes_ = 0;
        return true;
    }
    // One node is done; `written` when the pass running is the one that writes it. Commits when
    // the batch is full or old enough; false when the catalog refused.
    bool nodeDone(bool written) {
        ++nodes_;
        if (written)
            ++nodesInBatch_;
        if (nodes_ < batching_.nodes && clock_.elapsed() < batching_.milliseconds)
            return true;
        return commit() && begin();
    }
    bool commit() {
        if (!transaction_.isOpen())
            return !result_.failed();
        // Taken before the COMMIT: a refused one rolls the batch back, and its rows with it.
        const ImportedRows rows = statements_.takeInserted();
        if (!transaction_.commit()) {
            fail(catalog_.connection.lastError());
            return false;
        }
        result_.nodesWritten += nodesInBatch_;
        nodesInBatch_ = 0;
        result_.volumes += rows.volumes;
        result_.lists += rows.lists;
        result_.tracks += rows.tracks;
        return true;
    }
    // The catalog refused a statement: nothing of the open batch stays, and no id found or made
    // in it is used again.
    void fail(const QString& why) {
        if (result_.failure.isEmpty())
            result_.failure = why.isEmpty() ? QStringLiteral("The catalog refused a change.") : why;
        // A failed COMMIT leaves the transaction open.
        transaction_.rollback();
        nodesInBatch_ = 0;
        statements_.takeInserted(); // rows that are no longer there
        statements_.forgetKeptIds();
    }

private:
    Catalog& catalog_;
    ImportStatements& statements_;
    ImportTransaction transaction_;
    const ScanImportBatching& batching_;
    ScanImportResult& result_;
    QElapsedTimer clock_;
    int nodes_ = 0;
    int nodesInBatch_ = 0;
};

// The volume of a folder node: looked up by name (and disc name on a CD), added when missing.
// Failed when the catalog refused a statement.
Result<> ImportFolderNode(const Drives& drives, const ScanNode& node, QString& currentLabel,
                          const QString& pathScan, ImportStatements& statements,
                          const PathMap& pathMap) {
    const QString& key = node.key();
    // A folder of sound files is a list of the volume named after its parent; a drive root is
    // its own volume.
    QString name = key;
    if (node.kind() == ScanNodeKind::SoundFolder && !IsDriveRootText(key, drives))
        name = FolderOf(key.left(key.size() - 1));
    name = pathMap.toStored(name);
    const bool onCd = IsCdDrive(key, drives);
    if (!onCd)
        currentLabel = kHardDiscMarker;
    const Lookup<bool> there = statements.hasVolume(name, onCd ? &currentLabel : nullptr);
    if (!there.ok)
        return Result<>::failed(there.error);
    if (there.value)
        return {};
    const QString labelcd = onCd ? VolumeLabelOf(drives, drives.driveRoot(pathScan)) : QString();
    return statements.insertVolume(name, node.childCount(), currentLabel,
                                   onCd ? &labelcd : nullptr);
}

// What the catalog is told of a node: its paths in their stored form.
ScanNodeValues StoredValues(const ScanNode& node, const PathMap& pathMap) {
    ScanNodeValues values = node.values();
    values.key = pathMap.toStored(values.key);
    values.parentKey = pathMap.toStored(values.parentKey);
    return values;
}

// A sound file: its list and its track, with the tag read from the file. A tag that cannot be
// read is a counted error; failed when the catalog refused a statement.
Result<> ImportSoundFile(const Drives& drives, const ScanNode& node, const QString& currentLabel,
                         ImportStatements& statements, ScanImportResult& result,
                         TagPrefetch& tagsAhead, const PathMap& pathMap) {
    // Taken first, whatever happens next: the reader hands out one result per sound file.
    const Result<TagFields> tags = tagsAhead.takeNext();
    // The volume is named after the parent of the track's folder, or the folder itself when it
    // is a drive root.
    QString folder = FolderOf(node.key());
    if (!IsDriveRootText(folder, drives))
        folder = FolderOf(folder.left(folder.size() - 1));
    folder = pathMap.toStored(folder);
    const Lookup<qint64> volumeId =
        statements.volumeOfList(drives, folder + QLatin1Char('/'), currentLabel);
    if (!volumeId.ok)
        return Result<>::failed(volumeId.error);
    // An unreadable file still gets its row, with the fields no tag supplied.
    if (!tags)
        Note(result, node.key() + ": " + tags.error);
    return AddFolderTrack(drives, StoredValues(node, pathMap), tags.value, volumeId.value,
                          statements);
}

} // namespace

ScanImportResult ImportScanTree(Catalog& catalog, const Drives& systemDrives, const ScanTree& tree,
                                const QString& currentLabel, const QString& pathScan,
                                const ScanImportHooks& hooks, const ScanImportBatching& batching,
                                const PathMap& pathMap) {
    ScanImportResult result;
    result.currentLabel = currentLabel;
    // The label as the import goes: a hard-disc folder turns it into "EOF".
    QString& label = result.currentLabel;
    const KeptDrives drives(systemDrives);
    const std::vector<ScanNode*> nodes = tree.nodesInOrder();
    const int count = static_cast<int>(nodes.size());
    result.nodes = count;
    const auto finish = [&](const QString& text) {
        if (hooks.status)
            hooks.status(text);
        return result;
    };
    if (count == 0)
        return finish("Added " + QString::number(0) + " files");

    if (hooks.progress)
        hooks.progress(count, 0);
    ImportCacheSize cacheSize(catalog);

    ImportStatements statements(catalog.connection);
    // The playlists' volume, found again for each folder node.
    QString lastParentKey;
    qint64 volumeId = 0;
    Batches batches(catalog, statements, batching, result);
    const auto going = [&] { return !result.stopped && !result.failed(); };

    // Ends one node of either pass: a batch boundary, progress and the event loop's turn.
    // `written`: this pass is the one that writes the node (the second writes the playlists).
    const auto nodeDone = [&](int index, bool written) {
        ++result.nodesDone;
        if (!batches.nodeDone(written))
            return;
        if (hooks.progress)
            hooks.progress(count, index);
        if (hooks.yield && !hooks.yield())
            result.stopped = true;
    };

    QStringList soundFiles;
    for (const ScanNode* node : nodes) {
        if (node->kind() == ScanNodeKind::SoundFile)
            soundFiles.append(node->key());
    }
    TagPrefetch tagsAhead(std::move(soundFiles));

    batches.begin();
    for (int index = 1; index <= count && going(); ++index) {
        const ScanNode& node = *nodes[static_cast<size_t>(index - 1)];
        Result<> written;
        if (node.isFolder())
            written = ImportFolderNode(drives, node, label, pathScan, statements, pathMap);
        else if (node.kind() == ScanNodeKind::SoundFile)
            written = ImportSoundFile(drives, node, label, statements, result, tagsAhead, pathMap);
        // A statement the catalog refused ends the import.
        if (!written) {
            batches.fail(written.error);
            break;
        }
        if (hooks.status)
            hooks.status("Adding files to Data Base... " + QString::number(index) + " files");
        nodeDone(index, node.kind() != ScanNodeKind::Playlist);
    }

    // Inside a huge playlist the import lets the windows run as it does after every node.
    PlaylistTracksRun playlistRun;
    if (hooks.yield)
        playlistRun.yield = hooks.yield;
    playlistRun.pathMap = &pathMap;
    // An entry whose file reads as a sound file is stored with the same tags and length as its
    // folder's track, so both show and find alike.
    playlistRun.tagsOf = PlaylistEntryTags;
    for (int index = 1; index <= count && going(); ++index) {
        const ScanNode& node = *nodes[static_cast<size_t>(index - 1)];
        const bool playlist = node.kind() == ScanNodeKind::Playlist && node.parent();
        if (playlist) {
            // Playlists of one folder node share its volume. The node's key tells folder nodes
            // apart; their texts do not (on a disc every one shows the disc's name).
            const QString& parentKey = node.parent()->key();
            if (parentKey != lastParentKey) {
                const Lookup<qint64> found =
                    statements.volumeOfList(drives, pathMap.toStored(node.key()), label);
                if (!found.ok) {
                    batches.fail(found.error);
                    break;
                }
                volumeId = found.value;
                lastParentKey = parentKey;
            }
            // The list of this volume: another disc mounted on the same folder has a list at
            // the same path.
            const Result<> listed =
                AddPlaylistList(StoredValues(node, pathMap), volumeId, statements);
            const Lookup<qint64> listId =
                listed ? statements.listAt(drives, pathMap.toStored(node.key()), volumeId)
                       : Lookup<qint64>::failed(listed.error);
            if (!listId.ok) {
                batches.fail(listId.error);
                break;
            }
            const Result<> added =
                listId.value != 0
                    ? AddPlaylistTracks(catalog, statements, node.key(), listId.value, playlistRun)
                    : Result<>();
            if (!added) {
                if (playlistRun.refused) {
                    batches.fail(added.error);
                    break;
                }
                // A playlist file that cannot be read is counted; the import goes on.
                Note(result, node.key() + ": " + added.error);
            }
            // A stop inside the playlist keeps its entries added so far (a second run adds the
            // rest) and ends the import there; the open batch is committed.
            if (playlistRun.stopped) {
                result.stopped = true;
                break;
            }
        }
        nodeDone(index, node.kind() == ScanNodeKind::Playlist);
    }
    batches.commit();
    cacheSize.restore();
    if (result.stopped || result.failed())
        return result;
    return finish("Added " + QString::number(count) + " files");
}

} // namespace tarl
