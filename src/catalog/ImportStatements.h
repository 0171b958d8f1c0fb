#pragma once

#include "catalog/Lookup.h"
#include "catalog/PathParts.h"

#include <QHash>
#include <QString>

#include <array>

struct sqlite3_stmt;

namespace tarl {

class Connection;

// The statements an import runs for every track, prepared once and run with bound values, and the
// ids of the lists found, both for the length of one import. Each statement is the literal one
// with its values bound: quoted texts are bound as the texts the literal stores (SqlTextValue),
// bare numbers as numbers, so every row written and every row found is the same. A list id is kept
// only once found: an import never deletes a list. Destroy it before the connection closes.
class ImportStatements {
public:
    explicit ImportStatements(Connection& connection);
    ~ImportStatements();
    ImportStatements(const ImportStatements&) = delete;
    ImportStatements& operator=(const ImportStatements&) = delete;

    // The id of list `list` on volume `volumeId`, added first when the volume lacks it.
    Lookup<qint64> listOnVolume(const ListPathParts& list, qint64 volumeId);
    // Whether list `listId` has the track (folder, file); values raw.
    Lookup<bool> hasTrack(qint64 listId, const QString& folder, const QString& file);
    // Inserts a track row; `values` are the raw texts of path, file, m3u_id, title, artist,
    // album, year, genre, comments and size, in that order.
    bool insertTrack(const std::array<QString, 10>& values);

private:
    enum Which { FindList, InsertList, FindTrack, InsertTrack, Count };
    struct Bound {
        QString text;
        qint64 number = 0;
        bool isText = true;
    };
    sqlite3_stmt* statement(Which which);
    // Runs statement `which` with `values`; *row tells whether it gave a row and *first holds
    // that row's first column as a number (0 when null).
    bool run(Which which, const Bound* values, int count, bool* row, qint64* first);
    bool fail(const char* what);

    Connection& connection_;
    std::array<sqlite3_stmt*, Count> statements_{};
    QHash<QString, qint64> listIds_;
};

} // namespace tarl
