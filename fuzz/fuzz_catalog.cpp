// Catalogs written by other programs or by hand: the input is a list of rows for the four
// tables, each value NULL, a number (negative and huge ones among them), a real, text (long,
// invalid UTF-8) or bytes, whatever the column's type, with ids that may point nowhere. The rows
// go into a fresh catalog file; then everything the windows run on a catalog runs on it: the
// tree by paths, the tree by style, the track rows of every node of both trees, and a search of
// one field (the input picks which, and whether accents count). Crashes, hangs and sanitizer
// reports are the findings; failures reported in words are fine. At most 48 rows of at most 4,096
// bytes a value keep a run fast. Most runs start from a catalog whose search index exists (the
// rows then reach it through its triggers); one in eight from one without (the first search
// builds it: the same batches, after statements that do not depend on the rows). One run in
// eight adds another program's trigger, view or table to the schema: the open must refuse it.
#include "FuzzCheck.h"
#include "browser/LibraryTree.h"
#include "browser/TrackRows.h"
#include "browser/TreeBuild.h"
#include "catalog/SearchIndex.h"
#include "catalog/engine/CatalogFile.h"
#include "catalog/engine/Connection.h"
#include "platform/Drives.h"
#include "platform/LocalFiles.h"
#include "search/SearchHits.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <sqlite3.h>
#include <string>

namespace {

using tarl::fuzz::Check;

// "/" a hard disc, "/media/cd/" a CD drive holding the disc "DISC7".
class FuzzDrives : public tarl::Drives {
public:
    QString driveRoot(const QString& path) const override {
        if (path.startsWith(QLatin1String("/media/cd/")))
            return QStringLiteral("/media/cd/");
        return path.startsWith(u'/') ? QStringLiteral("/") : QString();
    }
    tarl::DriveType driveType(const QString& root) const override {
        if (root == QLatin1String("/media/cd/"))
            return tarl::DriveType::CdRom;
        return root == QLatin1String("/") ? tarl::DriveType::Fixed : tarl::DriveType::NoRootDir;
    }
    QString volumeLabel(const QString& root) const override {
        return root == QLatin1String("/media/cd/") ? QStringLiteral("DISC7") : QString();
    }
};

struct Table {
    const char* insert;
    int columns;
};
// Every column, the id first, in the order of the catalog's tables.
constexpr Table Tables[] = {
    {"INSERT OR IGNORE INTO CD VALUES (?,?,?,?,?,?)", 6},
    {"INSERT OR IGNORE INTO M3u VALUES (?,?,?,?,?,?)", 6},
    {"INSERT OR IGNORE INTO Mp3 VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)", 13},
    {"INSERT OR IGNORE INTO Nick VALUES (?,?)", 2},
};

// Texts that mean something to the tree and the lists: paths, labels, disc flags, keys; and
// texts shaped as statements, which must stay values.
constexpr const char* Words[] = {"/",
                                 "/media/cd/",
                                 "DISC7",
                                 "1",
                                 "0",
                                 "EOF",
                                 "a.m3u",
                                 "/music/",
                                 "DISC7:>/",
                                 "(CD)",
                                 "x.mp3",
                                 "Unsorted",
                                 "%",
                                 "_",
                                 "'",
                                 "",
                                 "-1 OR 1=1",
                                 "-1 OR \"path\" <> 'path'",
                                 "x' OR '1'='1",
                                 "'); DELETE FROM M3u; --"};

// What another program may add to a catalog's schema; a catalog holding one is refused.
constexpr const char* ForeignSchema[] = {
    "CREATE TRIGGER evil AFTER INSERT ON Mp3 BEGIN DELETE FROM Mp3; END",
    ("CREATE TRIGGER SearchTrackInserted AFTER INSERT ON Mp3 BEGIN UPDATE Mp3 SET path = "
     "'/victim/'; END"),
    "CREATE VIEW seen AS SELECT * FROM Mp3",
    "CREATE TABLE extra (x)",
};

void Bind(sqlite3_stmt* statement, int column, FuzzedDataProvider& input) {
    switch (input.ConsumeIntegralInRange(0, 6)) {
    case 0:
        sqlite3_bind_null(statement, column);
        return;
    case 1:
        sqlite3_bind_int64(statement, column, input.ConsumeIntegralInRange<int64_t>(-2, 8));
        return;
    case 2:
        sqlite3_bind_int64(statement, column, input.ConsumeIntegral<int64_t>());
        return;
    case 3:
        sqlite3_bind_double(statement, column, input.ConsumeFloatingPoint<double>());
        return;
    case 4: {
        const char* word = Words[input.ConsumeIntegralInRange<size_t>(0, std::size(Words) - 1)];
        sqlite3_bind_text(statement, column, word, -1, SQLITE_STATIC);
        return;
    }
    case 5: {
        const std::string text = input.ConsumeRandomLengthString(4096);
        sqlite3_bind_text(statement, column, text.data(), int(text.size()), SQLITE_TRANSIENT);
        return;
    }
    default: {
        const std::string bytes = input.ConsumeRandomLengthString(256);
        sqlite3_bind_blob(statement, column, bytes.data(), int(bytes.size()), SQLITE_TRANSIENT);
        return;
    }
    }
}

// The rows of the input written with the engine itself, as another program would.
void WriteRows(const QString& file, FuzzedDataProvider& input) {
    sqlite3* db = nullptr;
    Check(sqlite3_open(QFile::encodeName(file).constData(), &db) == SQLITE_OK, "raw open");
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    for (int row = 0; row < 48 && input.remaining_bytes() > 0; ++row) {
        const Table& table = Tables[input.ConsumeIntegralInRange<size_t>(0, std::size(Tables) - 1)];
        sqlite3_stmt* statement = nullptr;
        Check(sqlite3_prepare_v2(db, table.insert, -1, &statement, nullptr) == SQLITE_OK,
              "insert prepared");
        for (int column = 1; column <= table.columns; ++column)
            Bind(statement, column, input);
        sqlite3_step(statement); // a text id is refused: the row is not there, as it would not be
        sqlite3_finalize(statement);
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// One run in eight, something of another program's in the schema; true when it was added.
bool AddForeignSchema(const QString& file, FuzzedDataProvider& input) {
    if (input.ConsumeIntegralInRange(0, 7) != 0)
        return false;
    const char* statement =
        ForeignSchema[input.ConsumeIntegralInRange<size_t>(0, std::size(ForeignSchema) - 1)];
    sqlite3* db = nullptr;
    Check(sqlite3_open(QFile::encodeName(file).constData(), &db) == SQLITE_OK, "raw open");
    // The index's own trigger goes first when the foreign one takes its name.
    sqlite3_exec(db, "DROP TRIGGER IF EXISTS SearchTrackInserted", nullptr, nullptr, nullptr);
    const bool added = sqlite3_exec(db, statement, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return added;
}

void TrackRowsOfEveryNode(tarl::Catalog& catalog, const tarl::Drives& drives,
                          const std::vector<std::unique_ptr<tarl::TreeNode>>& nodes) {
    for (const auto& node : nodes) {
        const auto rows = tarl::TrackRowsForNode(catalog, drives, node->key, node->kind());
        if (rows) {
            for (const tarl::TrackRow& row : rows.value)
                Check(row.columns.size() == tarl::TrackColumnCount, "twelve columns");
        }
        TrackRowsOfEveryNode(catalog, drives, node->children);
    }
}

QByteArray EmptyCatalogBytes(const QString& file, bool indexed) {
    Check(tarl::CreateCatalog(file).ok, "an empty catalog");
    if (indexed) {
        tarl::Catalog catalog;
        Check(catalog.connection.open(file), "the empty catalog opened");
        Check(tarl::RefreshSearchIndex(catalog).ok, "the empty catalog indexed");
        catalog.connection.close();
    }
    QFile made(file);
    Check(made.open(QIODevice::ReadOnly), "the empty catalog read");
    return made.readAll();
}

// Two empty catalogs, without and with the search index, made once; each run starts from a copy
// of the bytes of one.
const QByteArray& EmptyCatalog(const QString& folder, bool indexed) {
    static const QByteArray plain = EmptyCatalogBytes(folder + QStringLiteral("/plain.mdb"), false);
    static const QByteArray withIndex =
        EmptyCatalogBytes(folder + QStringLiteral("/indexed.mdb"), true);
    return indexed ? withIndex : plain;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A memory file system where there is one: a run writes a catalog file.
    static QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).exists()
                                    ? QStringLiteral("/dev/shm/tarl-fuzz-XXXXXX")
                                    : QDir::tempPath() + QStringLiteral("/tarl-fuzz-XXXXXX"));
    const QString file = folder.path() + QStringLiteral("/tarl.mdb");
    FuzzedDataProvider input(data, size);
    const std::string search = input.ConsumeRandomLengthString(16);
    const auto field =
        tarl::SearchField(input.ConsumeIntegralInRange(0, int(tarl::SearchField::Rating)));
    tarl::SearchOptions options;
    options.ignoreAccents = input.ConsumeBool();
    const bool indexed = input.ConsumeIntegralInRange(0, 7) != 0;
    {
        QFile::remove(file + QStringLiteral("-wal"));
        QFile::remove(file + QStringLiteral("-shm"));
        QFile out(file);
        Check(out.open(QIODevice::WriteOnly | QIODevice::Truncate), "the catalog written");
        out.write(EmptyCatalog(folder.path(), indexed));
    }
    WriteRows(file, input);
    const bool foreign = AddForeignSchema(file, input);

    tarl::Catalog catalog;
    const bool opened = catalog.connection.open(file);
    if (foreign)
        Check(!opened &&
                  catalog.connection.lastError().contains(QLatin1String("did not put there")),
              "a catalog with another program's schema is refused");
    if (!opened)
        return 0;
    const FuzzDrives drives;
    tarl::LocalFiles files;
    tarl::LibraryTree byPaths;
    tarl::BuildTreeByPaths(byPaths, {catalog, drives, files});
    TrackRowsOfEveryNode(catalog, drives, byPaths.topLevel());
    tarl::LibraryTree byStyle;
    // A failure is a sentence for the user; the nodes built so far are still shown.
    (void)tarl::BuildTreeByStyle(byStyle, {catalog, drives, files});
    TrackRowsOfEveryNode(catalog, drives, byStyle.topLevel());
    const QString text = QString::fromUtf8(search.data(), qsizetype(search.size()));
    const auto found = tarl::RunSearch(catalog, text, field, options);
    if (found)
        Check(!found.value.rows.empty(), "a search shows a row");
    return 0;
}
