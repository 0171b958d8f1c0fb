#include "catalog/SearchIndex.h"

#include "catalog/engine/SearchIndexSchema.h"

#include "catalog/engine/BoundQuery.h"
#include "catalog/engine/Connection.h"
#include "catalog/engine/EngineText.h"
#include "catalog/engine/StatementFailure.h"
#include "text/AccentFold.h"

#include <array>
#include <memory>
#include <sqlite3.h>
#include <vector>

namespace tarl {

namespace {

constexpr int kTrackKind = 1;
constexpr int kListKind = 2;
// Rows indexed per transaction: large enough that commits cost little, small enough that the
// progress moves and an interrupted build loses little.
constexpr int kBatchRows = 4000;

} // namespace

namespace {

struct Finalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, Finalizer>;

// One kind of row: the table it comes from, its folded columns and the index table.
struct Kind {
    int kind;
    // ?1 the last id done, ?2 the batch size: the noted id, the folded columns, then the row's
    // own id (null when the row is gone), ids ascending.
    const char* select;
    const char* unindex;
    const char* insert;
    int columns;
};

constexpr Kind kKinds[] = {
    {kTrackKind,
     "SELECT s.id, t.file, t.path, t.album, t.title, t.artist, t.genre, t.year, t.comments, "
     "t.rating, t.id FROM SearchStale s LEFT JOIN Mp3 t ON t.id = s.id WHERE s.kind = 1 AND s.id > "
     "?1 "
     "ORDER BY s.id LIMIT ?2",
     "DELETE FROM SearchTrackText WHERE rowid = ?1",
     "INSERT INTO SearchTrackText (rowid, file, path, album, title, artist, genre, year, comments, "
     "rating) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)",
     9},
    {kListKind,
     "SELECT s.id, m.file, m.id FROM SearchStale s LEFT JOIN M3u m ON m.id = s.id "
     "WHERE s.kind = 2 AND s.id > ?1 ORDER BY s.id LIMIT ?2",
     "DELETE FROM SearchListText WHERE rowid = ?1",
     "INSERT INTO SearchListText (rowid, file) VALUES (?1, ?2)", 1},
};

// The raw engine's side of one refresh, each failure kept as the user's sentence.
class Engine {
public:
    explicit Engine(Connection& connection) : connection_(connection), db_(connection.handle()) {}

    bool exec(const char* statement) {
        if (sqlite3_exec(db_, statement, nullptr, nullptr, nullptr) == SQLITE_OK)
            return true;
        // A read of a result holder kept this connection on an older view of the file.
        if (sqlite3_extended_errcode(db_) == SQLITE_BUSY_SNAPSHOT &&
            connection_.releaseHeldReads() &&
            sqlite3_exec(db_, statement, nullptr, nullptr, nullptr) == SQLITE_OK)
            return true;
        return fail(statement);
    }
    Statement prepare(const char* statement) {
        sqlite3_stmt* prepared = nullptr;
        if (sqlite3_prepare_v2(db_, statement, -1, &prepared, nullptr) != SQLITE_OK) {
            sqlite3_finalize(prepared);
            fail(statement);
            return nullptr;
        }
        return Statement(prepared);
    }
    // The statement run to its end.
    bool finish(sqlite3_stmt* statement) {
        const int rc = sqlite3_step(statement);
        sqlite3_reset(statement);
        if (rc == SQLITE_DONE || rc == SQLITE_ROW)
            return true;
        return fail(sqlite3_sql(statement));
    }
    // A one-number question; none when it failed.
    std::optional<qint64> number(const char* statement) {
        const Statement prepared = prepare(statement);
        if (!prepared)
            return std::nullopt;
        const int rc = sqlite3_step(prepared.get());
        if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
            fail(statement);
            return std::nullopt;
        }
        return rc == SQLITE_ROW ? sqlite3_column_int64(prepared.get(), 0) : 0;
    }
    bool fail(const char* statement) {
        if (error_.isEmpty()) {
            error_ = DescribeStatementFailure(sqlite3_errcode(db_) & 0xff, connection_.fileName(),
                                              QString::fromUtf8(sqlite3_errmsg(db_)),
                                              QString::fromUtf8(statement));
        }
        return false;
    }
    void rollback() { sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr); }
    Result<> result() const { return error_.isEmpty() ? Result<>{} : Result<>::failed(error_); }

private:
    Connection& connection_;
    sqlite3* db_;
    QString error_;
};

bool HasIndex(Engine& engine) {
    const std::optional<qint64> found =
        engine.number("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN "
                      "('SearchTrackText', 'SearchListText', 'SearchStale')");
    return found && *found == 3;
}

// The text a LIKE of the catalog compares for a value (the engine's own conversion to UTF-16),
// folded.
QString FoldedColumn(sqlite3_stmt* statement, int column) {
    thread_local EngineText decoded;
    return FoldAccents(decoded.of(statement, column).toString());
}

// One batch of one kind, after the id `last`: the rows re-indexed (or dropped when gone) and
// their notes removed, in one transaction. The number of rows done, none on failure.
std::optional<int> IndexBatch(Engine& engine, const Kind& kind, qint64& last) {
    if (!engine.exec("BEGIN IMMEDIATE"))
        return std::nullopt;
    const Statement select = engine.prepare(kind.select);
    const Statement unindex = engine.prepare(kind.unindex);
    const Statement insert = engine.prepare(kind.insert);
    const Statement unnote = engine.prepare("DELETE FROM SearchStale WHERE kind = ?1 AND id = ?2");
    if (!select || !unindex || !insert || !unnote) {
        engine.rollback();
        return std::nullopt;
    }
    // The batch is read whole before the index and the notes change under the read.
    struct Row {
        qint64 id = 0;
        bool exists = false;
        std::vector<QString> folded;
    };
    std::vector<Row> rows;
    sqlite3_bind_int64(select.get(), 1, last);
    sqlite3_bind_int(select.get(), 2, kBatchRows);
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(select.get())) == SQLITE_ROW) {
        Row row;
        row.id = sqlite3_column_int64(select.get(), 0);
        // A row deleted since it was noted is only dropped from the index.
        row.exists = sqlite3_column_type(select.get(), kind.columns + 1) != SQLITE_NULL;
        for (int c = 0; row.exists && c < kind.columns; ++c)
            row.folded.push_back(FoldedColumn(select.get(), c + 1));
        rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE)
        engine.fail(kind.select);
    sqlite3_reset(select.get());
    for (const Row& row : rows) {
        if (!engine.result())
            break;
        last = row.id;
        sqlite3_bind_int64(unindex.get(), 1, row.id);
        sqlite3_bind_int(unnote.get(), 1, kind.kind);
        sqlite3_bind_int64(unnote.get(), 2, row.id);
        if (!engine.finish(unindex.get()) || !engine.finish(unnote.get()) || !row.exists)
            continue;
        sqlite3_bind_int64(insert.get(), 1, row.id);
        for (int c = 0; c < kind.columns; ++c) {
            const QString& text = row.folded[static_cast<size_t>(c)];
            sqlite3_bind_text16(insert.get(), c + 2, text.utf16(),
                                static_cast<int>(text.size() * 2), SQLITE_STATIC);
        }
        engine.finish(insert.get());
    }
    if (!engine.result() || !engine.exec("COMMIT")) {
        engine.rollback();
        return std::nullopt;
    }
    return static_cast<int>(rows.size());
}

} // namespace

Result<> RefreshSearchIndex(Catalog& catalog, const SearchIndexProgress& progress) {
    Connection& connection = catalog.connection;
    if (connection.handle() == nullptr)
        return Result<>::failed(QStringLiteral("The catalog is not open."));
    Engine engine(connection);
    if (!HasIndex(engine)) {
        if (!engine.result())
            return engine.result();
        if (connection.isReadOnly())
            return Result<>::failed(
                QStringLiteral("The catalog can only be read: it is searched without its index."));
        if (!engine.exec("BEGIN IMMEDIATE"))
            return engine.result();
        for (const char* statement : SearchIndexBuildStatements()) {
            if (!engine.exec(statement)) {
                engine.rollback();
                return engine.result();
            }
        }
        if (!engine.exec("COMMIT")) {
            engine.rollback();
            return engine.result();
        }
    }
    const std::optional<qint64> total = engine.number("SELECT count(*) FROM SearchStale");
    if (!total)
        return engine.result();
    if (*total == 0)
        return {};
    if (connection.isReadOnly())
        return Result<>::failed(
            QStringLiteral("The catalog can only be read: it is searched without its index."));
    qint64 done = 0;
    if (progress)
        progress(0, *total);
    for (const Kind& kind : kKinds) {
        qint64 last = std::numeric_limits<qint64>::min();
        for (;;) {
            const std::optional<int> batch = IndexBatch(engine, kind, last);
            if (!batch)
                return engine.result();
            if (*batch == 0)
                break;
            done += *batch;
            if (progress)
                progress(std::min(done, *total), *total);
        }
    }
    return {};
}

bool SearchIndexIsCurrent(Catalog& catalog) {
    if (catalog.connection.handle() == nullptr)
        return false;
    Engine engine(catalog.connection);
    if (!HasIndex(engine))
        return false;
    const std::optional<qint64> stale = engine.number("SELECT EXISTS (SELECT 1 FROM SearchStale)");
    return stale && *stale == 0;
}

std::optional<QString> TrigramQuery(const QString& pattern, const QString& column, bool foldRuns) {
    QStringList terms;
    const auto addRun = [&](const QString& run) {
        const QList<uint> points = (foldRuns ? FoldAccents(run) : run).toUcs4();
        for (qsizetype i = 0; i + 3 <= points.size(); ++i) {
            QString trigram = QString::fromUcs4(reinterpret_cast<const char32_t*>(&points[i]), 3);
            terms << QLatin1Char('"') + trigram.replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
                         QLatin1Char('"');
        }
    };
    QString run;
    for (const QChar c : pattern) {
        if (c == u'%' || c == u'_') {
            addRun(run);
            run.clear();
        } else {
            run += c;
        }
    }
    addRun(run);
    if (terms.isEmpty())
        return std::nullopt;
    terms.removeDuplicates();
    return QLatin1Char('{') + column + QStringLiteral("} : (") +
           terms.join(QStringLiteral(" AND ")) + QLatin1Char(')');
}

namespace {

// The runs of a LIKE pattern between its wildcards, folded, as a GLOB pattern holding them in
// order: "_" stands for one character of the value, which may fold to none or to several, so it
// becomes "*" too. GLOB's own special characters are written as one-character classes.
QString FoldedGlob(const QString& pattern, bool foldRuns) {
    QString glob = QStringLiteral("*");
    QString run;
    const auto addRun = [&] {
        for (const QChar c : foldRuns ? FoldAccents(run) : run) {
            if (c == u'*' || c == u'?' || c == u'[')
                glob += QLatin1Char('[') + c + QLatin1Char(']');
            else
                glob += c;
        }
        run.clear();
        if (!glob.endsWith(QLatin1Char('*')))
            glob += QLatin1Char('*');
    };
    for (const QChar c : pattern) {
        if (c == u'%' || c == u'_')
            addRun();
        else
            run += c;
    }
    addRun();
    return glob;
}

} // namespace

Candidates IndexCandidates(IndexedTable table, int column, const QString& pattern, bool foldRuns) {
    static const QStringList kTrackColumns = {"file",  "path", "album",    "title", "artist",
                                              "genre", "year", "comments", "rating"};
    const bool tracks = table == IndexedTable::Tracks;
    const QString index =
        tracks ? QStringLiteral("SearchTrackText") : QStringLiteral("SearchListText");
    const QString name = tracks ? kTrackColumns.value(column) : QStringLiteral("file");
    if (const std::optional<QString> trigrams = TrigramQuery(pattern, name, foldRuns)) {
        return {"(SELECT rowid AS id, " + name + " AS folded FROM " + index + "(?)) x",
                {SqlTextValue(*trigrams)}};
    }
    const QString stored = QLatin1Char('c') + QString::number(column);
    return {"(SELECT id, " + stored + " AS folded FROM " + index + "_content WHERE " + stored +
                " GLOB ?) x",
            {SqlTextValue(FoldedGlob(pattern, foldRuns))}};
}

} // namespace tarl
