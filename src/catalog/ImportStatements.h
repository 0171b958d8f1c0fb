#pragma once

#include "catalog/engine/Lookup.h"
#include "platform/PathRules.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringEncoder>

#include <array>
#include <memory>

struct sqlite3_stmt;
class QSqlQuery;

namespace tarl {

class Connection;
class Drives;

// The rows an import wrote, by table.
struct ImportedRows {
    qint64 volumes = 0; // CD
    qint64 lists = 0;   // M3u
    qint64 tracks = 0;  // Mp3
};

// The statements an import runs, prepared once and run with bound values, the ids of the lists
// found and the rows written, all for the length of one import. Each statement is the catalog's
// statement of the routine named with its values as parameters: texts are bound as the texts a
// quoted literal stores (SqlTextValue), bare numbers as numbers, and the constants stay in the
// statement, so the rows written and found are those the literal statements wrote and found. A list
// id is kept only once found: an import never deletes a list, but it rolls a batch back when the
// catalog refuses a write, and then forgets every id it kept. Destroy it before the connection
// closes.
class ImportStatements {
public:
    explicit ImportStatements(Connection& connection);
    ~ImportStatements();
    ImportStatements(const ImportStatements&) = delete;
    ImportStatements& operator=(const ImportStatements&) = delete;

    // A folder node's volume: whether a volume is named `name` (on a CD, with `label` too).
    Lookup<bool> hasVolume(const QString& name, const QString* label);
    // A folder node's new volume: on the hard disc (isCd '0'), or on a CD (isCd '1' with the
    // disc's volume label `labelcd`, when not null). `children` is the node's child count.
    Result<> insertVolume(const QString& name, int children, const QString& label,
                          const QString* labelcd);
    // FindVolumeId: the volume holding the list at `listPath` (with an empty label, the volume
    // named `listPath`); 0 when there is none. A volume found is kept for the import, as lists
    // are: the tracks of a folder come one after another and ask for the same one.
    Lookup<qint64> volumeOfList(const Drives& drives, const QString& listPath,
                                const QString& label);

    // The id of list `list` on volume `volumeId`, added first when the volume lacks it
    // (a look-up as FindListIdOnVolume's, then the list's insert and the look-up again).
    Lookup<qint64> listOnVolume(const ListPathParts& list, qint64 volumeId);
    // FindListIdOnVolume: the list stored at `listPath` on volume `volumeId`; 0 when none.
    Lookup<qint64> listAt(const Drives& drives, const QString& listPath, qint64 volumeId);
    // Forgets the volume and list ids kept: the rows they name were rolled back.
    void forgetKeptIds();

    // Whether list `listId` has the track (folder, file); values raw.
    Lookup<bool> hasTrack(qint64 listId, const QString& folder, const QString& file);
    // Inserts a track row; `values` are the raw texts of path, file, m3u_id, title, artist,
    // album, year, genre, comments and size, in that order; `seconds` the length the file
    // states, stored as a number (0: not stated, the column stays NULL).
    Result<> insertTrack(const std::array<QString, 10>& values, qint64 seconds);
    // Inserts a playlist entry's track row (path, file and list only); values raw.
    Result<> insertEntry(const QString& folder, const QString& file, qint64 listId);

    // The rows the inserts above wrote since the last call, and the count back to zero. Each
    // insert counts the rows it wrote itself: a trigger's rows, or another writer's, are not the
    // import's, and the tables' sizes say nothing of them. The rows are the import's only once
    // their batch is committed.
    ImportedRows takeInserted();

private:
    enum Which {
        FindVolume,
        FindVolumeWithLabel,
        FindVolumeOfList,
        InsertVolume,
        InsertCdVolume,
        FindList,
        InsertList,
        FindTrack,
        InsertTrack,
        InsertEntry,
        Count
    };
    struct Bound {
        QString text;
        qint64 number = 0;
        bool isText = true;
        bool isNull = false;
    };
    // volumeOfList's look-up, nothing kept.
    Lookup<qint64> findVolumeOfList(const Drives& drives, const QString& listPath,
                                    const QString& label);
    sqlite3_stmt* statement(Which which);
    // Runs statement `which` with `values`; *row tells whether it gave a row and *first holds
    // that row's first column as a number (0 when null).
    bool run(Which which, const Bound* values, int count, bool* row, qint64* first);
    // The same on a server catalog, through the driver's prepared statements.
    bool runOnServer(Which which, const Bound* values, int count, bool* row, qint64* first);
    // Runs insert `which` and adds the rows it wrote to `tally`.
    bool runInsert(Which which, const Bound* values, int count, qint64& tally);
    bool fail(const char* what);
    bool failOnServer(const QSqlQuery& query, const char* what);
    // The result of a write run by run(): failed with the reason fail() gave the connection.
    Result<> written(bool ran) const;
    // Keeps (list, volumeId) as the list found last; gives listId.
    qint64 remember(const ListPathParts& list, qint64 volumeId, qint64 listId);

    Connection& connection_;
    std::array<sqlite3_stmt*, Count> statements_{};
    std::array<std::unique_ptr<QSqlQuery>, Count> serverStatements_;
    // The bound texts in UTF-8, one buffer per parameter (ten at most).
    std::array<QByteArray, 11> utf8_;
    QStringEncoder utf8Encoder_{QStringEncoder::Utf8};
    QHash<QString, qint64> listIds_;
    // The volumes found, by label and list path, and the one found last.
    QHash<QString, qint64> volumeIds_;
    QString lastVolumeLabel_;
    QString lastVolumeListPath_;
    qint64 lastFoundVolumeId_ = 0;
    // The rows the last write wrote itself, as the engine tells them; meaningless after a look-up.
    qint64 changes_ = 0;
    ImportedRows inserted_;
    // The list found last, so the tracks of one folder skip building the key.
    qint64 lastVolumeId_ = 0;
    QString lastPath_;
    QString lastFile_;
    qint64 lastListId_ = 0;
};

} // namespace tarl
