#include "catalog/engine/SearchIndexSchema.h"

#include "catalog/engine/EngineText.h"
#include "text/AccentFold.h"

#include <sqlite3.h>

namespace tarl {

namespace {

// Tables, triggers and the noting of every row already stored, in one transaction. The trigram
// tables are case-sensitive: the text they hold is folded already. detail=column keeps them
// small; the query ANDs single trigrams, which needs no positions.
constexpr const char* kCreate[] = {
    // What is left of an index that lost a part (a table dropped by another tool) goes first: a
    // trigger without its table would refuse every change of the tracks.
    "DROP TRIGGER IF EXISTS SearchTrackInserted",
    "DROP TRIGGER IF EXISTS SearchTrackChanged",
    "DROP TRIGGER IF EXISTS SearchTrackDeleted",
    "DROP TRIGGER IF EXISTS SearchListInserted",
    "DROP TRIGGER IF EXISTS SearchListChanged",
    "DROP TRIGGER IF EXISTS SearchListDeleted",
    "DROP TABLE IF EXISTS SearchTrackText",
    "DROP TABLE IF EXISTS SearchListText",
    "DROP TABLE IF EXISTS SearchStale",
    "CREATE VIRTUAL TABLE SearchTrackText USING fts5(file, path, album, title, artist, genre, "
    "year, comments, rating, tokenize = 'trigram case_sensitive 1', detail = column)",
    "CREATE VIRTUAL TABLE SearchListText USING fts5(file, tokenize = 'trigram case_sensitive 1', "
    "detail = column)",
    "CREATE TABLE SearchStale (kind INTEGER NOT NULL, id INTEGER NOT NULL, PRIMARY KEY (kind, id)) "
    "WITHOUT ROWID",
    "CREATE TRIGGER SearchTrackInserted AFTER INSERT ON Mp3 BEGIN "
    "INSERT OR IGNORE INTO SearchStale VALUES (1, new.id); END",
    "CREATE TRIGGER SearchTrackChanged AFTER UPDATE OF id, file, path, album, title, artist, "
    "genre, "
    "year, comments, rating ON Mp3 BEGIN INSERT OR IGNORE INTO SearchStale VALUES (1, old.id); "
    "INSERT OR IGNORE INTO SearchStale VALUES (1, new.id); END",
    "CREATE TRIGGER SearchTrackDeleted AFTER DELETE ON Mp3 BEGIN "
    "INSERT OR IGNORE INTO SearchStale VALUES (1, old.id); END",
    "CREATE TRIGGER SearchListInserted AFTER INSERT ON M3u BEGIN "
    "INSERT OR IGNORE INTO SearchStale VALUES (2, new.id); END",
    "CREATE TRIGGER SearchListChanged AFTER UPDATE OF id, file ON M3u BEGIN "
    "INSERT OR IGNORE INTO SearchStale VALUES (2, old.id); "
    "INSERT OR IGNORE INTO SearchStale VALUES (2, new.id); END",
    "CREATE TRIGGER SearchListDeleted AFTER DELETE ON M3u BEGIN "
    "INSERT OR IGNORE INTO SearchStale VALUES (2, old.id); END",
    "INSERT OR IGNORE INTO SearchStale SELECT 1, id FROM Mp3 WHERE id IS NOT NULL",
    "INSERT OR IGNORE INTO SearchStale SELECT 2, id FROM M3u WHERE id IS NOT NULL",
};

} // namespace

const std::vector<const char*>& SearchIndexBuildStatements() {
    static const std::vector<const char*> statements(std::begin(kCreate), std::end(kCreate));
    return statements;
}

QStringList SearchIndexSchema() {
    QStringList made;
    for (const char* statement : kCreate) {
        if (qstrncmp(statement, "CREATE ", 7) == 0)
            made << QString::fromLatin1(statement);
    }
    return made;
}

namespace {

void FoldAccentsFunction(sqlite3_context* context, int /*argc*/, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    thread_local EngineText decoded;
    const QString folded = FoldAccents(decoded.of(argv[0]).toString());
    sqlite3_result_text16(context, folded.utf16(), static_cast<int>(folded.size() * 2),
                          SQLITE_TRANSIENT);
}

} // namespace

Result<> InstallFoldAccents(sqlite3* db) {
    const int rc =
        sqlite3_create_function_v2(db, "fold_accents", 1, SQLITE_UTF16 | SQLITE_DETERMINISTIC,
                                   nullptr, FoldAccentsFunction, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return Result<>::failed(QString::fromUtf8(sqlite3_errmsg(db)));
    return {};
}

QString ServerSearchKey(const QString& column) {
    return QStringLiteral("translate(lower(%1 COLLATE \"C\"), '\u017F\u212A', 'sk')").arg(column);
}

QStringList ServerSearchIndexStatements() {
    QStringList statements{QStringLiteral("CREATE EXTENSION IF NOT EXISTS pg_trgm")};
    const auto index = [&statements](const QString& table, const QString& column) {
        statements << QStringLiteral("CREATE INDEX %1_%2_trigrams ON %1 USING gin (%3 "
                                     "gin_trgm_ops)")
                          .arg(table, column.toLower(), ServerSearchKey(column));
    };
    index(QStringLiteral("M3u"), QStringLiteral("file"));
    for (const char* field :
         {"File", "Path", "Album", "Title", "Artist", "Genre", "Year", "Comments", "Rating"})
        index(QStringLiteral("Mp3"), QString::fromLatin1(field).toLower());
    return statements;
}

} // namespace tarl
