#include "catalog/maintenance/CatalogCopy.h"

#include "catalog/engine/BoundQuery.h"
#include "catalog/engine/CatalogAddress.h"
#include "catalog/engine/CatalogFile.h"
#include "catalog/engine/Connection.h"
#include "catalog/engine/EngineFile.h"
#include "catalog/engine/FirstRow.h"
#include "catalog/engine/NewFile.h"
#include "catalog/engine/Recordset.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRandomGenerator>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

namespace tarl {

namespace {

// How the server keeps a column; a catalog file takes any value anywhere.
enum class Kind { Number, Flag, Text };

struct Column {
    const char* name;
    Kind kind;
};

struct CopiedTable {
    const char* name;
    std::vector<Column> columns; // the id first
};

const CopiedTable kTables[] = {
    {"CD",
     {{"id", Kind::Number},
      {"name", Kind::Text},
      {"m3us", Kind::Number},
      {"label", Kind::Text},
      {"isCd", Kind::Flag},
      {"labelcd", Kind::Text}}},
    {"M3u",
     {{"id", Kind::Number},
      {"path", Kind::Text},
      {"file", Kind::Text},
      {"cd_id", Kind::Number},
      {"mp3s", Kind::Number},
      {"nick", Kind::Number}}},
    {"Mp3",
     {{"id", Kind::Number},
      {"file", Kind::Text},
      {"path", Kind::Text},
      {"m3u_id", Kind::Number},
      {"title", Kind::Text},
      {"artist", Kind::Text},
      {"album", Kind::Text},
      {"year", Kind::Text},
      {"genre", Kind::Text},
      {"comments", Kind::Text},
      {"size", Kind::Text},
      {"time", Kind::Number},
      {"rating", Kind::Text}}},
    {"Nick", {{"id", Kind::Number}, {"nick", Kind::Text}}},
};

// Rows read per statement, rows written per statement.
constexpr int kReadRows = 2000;
constexpr int kWriteRows = 200;

// What the destination could not hold as it was, counted per column and kind of change.
class Changes {
public:
    void note(const char* table, const Column& column, const char* what) {
        ++counts_[QStringLiteral("%1.%2: %3")
                      .arg(QLatin1String(table), QLatin1String(column.name), QLatin1String(what))];
    }
    void noteLeftOut(const char* table, const QString& column) {
        leftOut_ << QStringLiteral("%1.%2: a column Tarl does not know, not copied")
                        .arg(QLatin1String(table), column);
    }
    QStringList sentences() const {
        QStringList all = leftOut_;
        for (auto it = counts_.cbegin(); it != counts_.cend(); ++it)
            all << QStringLiteral("%1 (%2 values)").arg(it.key()).arg(it.value());
        return all;
    }

private:
    QMap<QString, qint64> counts_;
    QStringList leftOut_;
};

bool IsWholeNumber(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

// A text as it is copied: cut at a NUL, which neither engine kept in a catalog written before.
// Bytes of a file's text that were not UTF-8 were read as U+FFFD, which is what is copied.
QVariant TextValue(const QString& text, const char* table, const Column& column, Changes& changes) {
    if (text.contains(QChar(u'\0')))
        changes.note(table, column, "texts cut at a NUL character");
    if (text.contains(QChar::ReplacementCharacter))
        changes.note(table, column,
                     "texts holding U+FFFD (bytes that were not UTF-8 are copied as it)");
    return SqlTextValue(text);
}

// A value as a catalog file stores it: the same type, the server's flags as 1 and 0, a real
// that is no number as NULL.
QVariant FileValue(const QVariant& value, const char* table, const Column& column,
                   Changes& changes) {
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::Bool)
        return qint64(value.toBool() ? 1 : 0);
    if (IsWholeNumber(value))
        return value.toLongLong();
    if (value.typeId() == QMetaType::Double) {
        const double real = value.toDouble();
        if (std::isnan(real))
            return {};
        return real;
    }
    if (value.typeId() == QMetaType::QByteArray)
        return value.toByteArray();
    return TextValue(value.toString(), table, column, changes);
}

// A value as a server column of `column.kind` holds it, or NULL with the change noted.
QVariant ServerValue(const QVariant& value, const char* table, const Column& column,
                     Changes& changes) {
    if (value.isNull())
        return {};
    const bool bytes = value.typeId() == QMetaType::QByteArray;
    if (bytes) {
        changes.note(table, column, "bytes left empty");
        return {};
    }
    const bool real = value.typeId() == QMetaType::Double;
    const bool text = value.typeId() == QMetaType::QString;
    const bool number = IsWholeNumber(value) || value.typeId() == QMetaType::Bool;
    switch (column.kind) {
    case Kind::Text:
        if (number || real) {
            changes.note(table, column, "numbers stored as their text");
            return SqlTextValue(value.toString());
        }
        return TextValue(value.toString(), table, column, changes);
    case Kind::Number:
    case Kind::Flag: {
        bool whole = number;
        qint64 n = value.toLongLong(&whole);
        if (real) {
            const double d = value.toDouble();
            whole = std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 9.2e18;
            n = whole ? qint64(d) : 0;
        }
        if (!whole) {
            changes.note(table, column, "values that are not whole numbers left empty");
            return {};
        }
        if (text)
            changes.note(table, column, "texts of whole numbers stored as numbers");
        if (column.kind == Kind::Number)
            return n;
        if (n != 0 && n != 1)
            changes.note(table, column, "numbers other than 0 and 1 taken as 1");
        return n != 0;
    }
    }
    return {};
}

class Copier {
public:
    Copier(Catalog& from, Catalog& to, const CopyProgress& progress)
        : from_(from), to_(to), progress_(progress),
          toServer_(to.connection.engine() == CatalogEngine::Postgres) {}

    Result<qint64> countRows() {
        qint64 rows = 0;
        for (const CopiedTable& table : kTables) {
            const Result<qint64> count = rowsOf(from_, table.name);
            if (!count)
                return count;
            rows += count.value;
        }
        total_ = rows;
        return rows;
    }

    // Columns another program added to a catalog file's table are not copied: said, by name.
    void noteColumnsLeftOut(const CopiedTable& table) {
        if (from_.connection.engine() != CatalogEngine::Sqlite)
            return;
        Recordset rows;
        if (!from_.connection.execute(QStringLiteral("SELECT name FROM pragma_table_info(?)"),
                                      {QString::fromLatin1(table.name)}, rows))
            return;
        for (; !rows.eof(); rows.moveNext()) {
            const QString name = rows.field(0).toString();
            const bool known = std::any_of(
                table.columns.begin(), table.columns.end(), [&name](const Column& column) {
                    return name.compare(QLatin1String(column.name), Qt::CaseInsensitive) == 0;
                });
            if (!known)
                changes_.noteLeftOut(table.name, name);
        }
    }

    Result<> copyTable(const CopiedTable& table) {
        noteColumnsLeftOut(table);
        QStringList names;
        for (const Column& column : table.columns)
            names << QLatin1String(column.name);
        const QString select = QStringLiteral("SELECT %1 FROM %2 WHERE id > ? ORDER BY id LIMIT %3")
                                   .arg(names.join(u','), QLatin1String(table.name))
                                   .arg(kReadRows);
        const QString insert = QStringLiteral("INSERT INTO %1 (%2) VALUES ")
                                   .arg(QLatin1String(table.name), names.join(u','));
        // One row's placeholders: "(?,?,?)".
        const QString placeholders = QLatin1Char('(') +
                                     QStringList(names.size(), QStringLiteral("?")).join(u',') +
                                     QLatin1Char(')');
        qint64 last = std::numeric_limits<qint64>::min();
        for (;;) {
            Recordset rows;
            if (!from_.connection.execute(select, {last}, rows))
                return Result<>::failed(from_.connection.lastError());
            if (rows.eof())
                return {};
            Batch batch;
            for (; !rows.eof(); rows.moveNext()) {
                for (int i = 0; i < int(table.columns.size()); ++i) {
                    const Column& column = table.columns[size_t(i)];
                    batch.values << (toServer_
                                         ? ServerValue(rows.field(i), table.name, column, changes_)
                                         : FileValue(rows.field(i), table.name, column, changes_));
                }
                last = rows.field(0).toLongLong();
                batch.rows << placeholders;
                if (batch.rows.size() == kWriteRows) {
                    if (const Result<> written = write(insert, batch); !written)
                        return written;
                }
            }
            if (const Result<> written = write(insert, batch); !written)
                return written;
        }
    }

    QStringList changes() const { return changes_.sentences(); }

private:
    static Result<qint64> rowsOf(Catalog& catalog, const char* table) {
        Recordset rows;
        if (!catalog.connection.execute(
                QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table)), rows))
            return Result<qint64>::failed(catalog.connection.lastError());
        return rows.field(0).toLongLong();
    }

    // Rows waiting to be written: their placeholders and the values bound to them.
    struct Batch {
        QStringList rows;
        QVariantList values;
    };

    Result<> write(const QString& insert, Batch& batch) {
        if (batch.rows.isEmpty())
            return {};
        if (!to_.connection.execute(insert + batch.rows.join(u','), batch.values))
            return Result<>::failed(to_.connection.lastError());
        copied_ += batch.rows.size();
        batch = {};
        if (progress_)
            progress_(copied_, total_);
        return {};
    }

    Catalog& from_;
    Catalog& to_;
    const CopyProgress& progress_;
    bool toServer_;
    qint64 total_ = 0;
    qint64 copied_ = 0;
    Changes changes_;
};

Result<> Open(Catalog& catalog, const QString& place) {
    if (catalog.connection.open(place))
        return {};
    return Result<>::failed(catalog.connection.lastError());
}

// Whether the open catalog holds any row.
Result<bool> HoldsRows(Catalog& catalog) {
    Recordset rows;
    if (!catalog.connection.execute(
            QStringLiteral("SELECT EXISTS (SELECT 1 FROM CD) OR EXISTS (SELECT 1 FROM M3u) OR "
                           "EXISTS (SELECT 1 FROM Mp3) OR EXISTS (SELECT 1 FROM Nick)"),
            rows))
        return Result<bool>::failed(catalog.connection.lastError());
    return rows.field(0).toBool();
}

// The highest id `table` ever handed out, deleted rows included (0 when it cannot tell): the copy
// goes on from there, so no id of a deleted row comes back for a new one.
qint64 HighestIdGiven(Catalog& catalog, const char* table) {
    const bool onServer = catalog.connection.engine() == CatalogEngine::Postgres;
    const QString statement =
        onServer ? QStringLiteral("SELECT COALESCE(pg_sequence_last_value(pg_get_serial_sequence("
                                  "'%1', 'id')::regclass), 0)")
                       .arg(QString::fromLatin1(table).toLower())
                 : QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = '%1'")
                       .arg(QLatin1String(table));
    Recordset rows;
    if (!catalog.connection.execute(statement, rows))
        return 0; // a file made by another program may keep no sequence
    return rows.field(0).toLongLong();
}

// Makes the destination hand out ids after both the copied ones and `given`.
bool ContinueIds(Catalog& to, const char* table, qint64 given) {
    const QString name = QLatin1String(table);
    if (to.connection.engine() == CatalogEngine::Postgres)
        return to.connection.execute(
            QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', 'id'), GREATEST((SELECT "
                           "MAX(id) FROM %1), ?, 1), GREATEST((SELECT MAX(id) FROM %1), ?) > 0)")
                .arg(name.toLower()),
            {given, given});
    return to.connection.execute(
               QStringLiteral("UPDATE sqlite_sequence SET seq = MAX(seq, ?) WHERE name = '%1'")
                   .arg(name),
               {given}) &&
           to.connection.execute(QStringLiteral("INSERT INTO sqlite_sequence (name, seq) SELECT "
                                                "'%1', ? WHERE ? > 0 AND NOT EXISTS (SELECT 1 "
                                                "FROM sqlite_sequence WHERE name = '%1')")
                                     .arg(name),
                                 {given, given});
}

// Copies every table inside one transaction of `to`, replacing its rows, from one view of `from`
// (a program writing to it meanwhile changes neither the rows read nor their count).
Result<qint64> CopyRows(Catalog& from, Catalog& to, const CopyProgress& progress,
                        QStringList& changes) {
    const bool fromServer = from.connection.engine() == CatalogEngine::Postgres;
    if (!from.connection.execute(fromServer ? QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE "
                                                             "READ READ ONLY")
                                            : QStringLiteral("BEGIN")))
        return Result<qint64>::failed(from.connection.lastError());
    struct EndRead {
        Catalog& from;
        ~EndRead() { from.connection.execute(QStringLiteral("ROLLBACK")); }
    } endRead{from};

    Copier copier(from, to, progress);
    const Result<qint64> total = copier.countRows();
    if (!total)
        return total;
    const bool toServer = to.connection.engine() == CatalogEngine::Postgres;
    if (!to.connection.execute(toServer ? QStringLiteral("BEGIN")
                                        : QStringLiteral("BEGIN IMMEDIATE")))
        return Result<qint64>::failed(to.connection.lastError());
    const auto fail = [&to](const QString& why) {
        to.connection.execute(QStringLiteral("ROLLBACK"));
        return Result<qint64>::failed(why);
    };
    // Other machines neither read half a copy nor add rows that a replace would keep.
    if (toServer && !to.connection.execute(
                        QStringLiteral("LOCK TABLE cd, m3u, mp3, nick IN ACCESS EXCLUSIVE MODE")))
        return fail(to.connection.lastError());
    for (const CopiedTable& table : kTables) {
        if (!to.connection.execute(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table.name))))
            return fail(to.connection.lastError());
        if (const Result<> copied = copier.copyTable(table); !copied)
            return fail(copied.error);
        if (!ContinueIds(to, table.name, HighestIdGiven(from, table.name)))
            return fail(to.connection.lastError());
    }
    if (!to.connection.execute(QStringLiteral("COMMIT")))
        return fail(to.connection.lastError());
    changes = copier.changes();
    return total;
}

const QString kSameCatalog = QStringLiteral("The source and the destination are the same catalog.");

// Whether two places name one catalog: one file (links followed), or one database of one server
// named alike.
bool SameCatalog(const QString& a, const QString& b) {
    if (IsServerAddress(a) != IsServerAddress(b))
        return false;
    if (IsServerAddress(a)) {
        const Result<ServerAddress> x = ParseServerAddress(a);
        const Result<ServerAddress> y = ParseServerAddress(b);
        return x && y && x.value.host == y.value.host && x.value.port == y.value.port &&
               x.value.database == y.value.database;
    }
    const QFileInfo x(a);
    const QFileInfo y(b);
    if (x.exists() && y.exists())
        return x.canonicalFilePath() == y.canonicalFilePath();
    return x.absoluteFilePath() == y.absoluteFilePath();
}

Result<CopyReport> Failed(const QString& why) {
    return Result<CopyReport>::failed(why);
}

// A file destination: a new catalog beside it, filled, then renamed over it.
Result<CopyReport> CopyToFile(Catalog& from, const QString& destination, bool replace,
                              const CopyProgress& progress) {
    const QFileInfo info(destination);
    if (info.exists() || info.isSymLink()) {
        Catalog existing;
        const bool isCatalog = Open(existing, destination).ok;
        const Result<bool> rows = isCatalog ? HoldsRows(existing) : Result<bool>{true};
        if (!replace && (!rows.ok || rows.value))
            return Failed(QStringLiteral("The file %1 already exists and was left as it is; with "
                                         "--force its rows are replaced by the copy.")
                              .arg(destination));
    }
    RemoveLeftoverPartials(destination);
    const QString partial = PartialName(destination);
    if (const Result<> made = CreateCatalog(partial); !made)
        return Failed(made.error);
    CopyReport report;
    {
        Catalog to;
        if (const Result<> opened = Open(to, partial); !opened) {
            for (const QString& file : QStringList{partial} + CompanionFiles(partial))
                QFile::remove(file);
            return Failed(opened.error);
        }
        const Result<qint64> rows = CopyRows(from, to, progress, report.changes);
        to.connection.close();
        if (!rows) {
            for (const QString& file : QStringList{partial} + CompanionFiles(partial))
                QFile::remove(file);
            return Failed(rows.error);
        }
        report.rows = rows.value;
    }
    // The companions of a replaced catalog belong to its old pages.
    for (const QString& file : CompanionFiles(destination))
        QFile::remove(file);
    if (std::rename(QFile::encodeName(partial).constData(),
                    QFile::encodeName(destination).constData()) != 0)
        return Failed(QStringLiteral("The copy could not be renamed to %1; it is kept as %2.")
                          .arg(destination, partial));
    return report;
}

// Whether two sessions on servers are in one database, whatever names their addresses gave the
// host: a lock of a key no one else uses, taken by the first, is refused to the second only there
// (such a lock belongs to one database of one server). No when either cannot be asked.
bool OneDatabase(Catalog& first, Catalog& second) {
    const qint64 key = static_cast<qint64>(QRandomGenerator::global()->generate64());
    if (!FirstNumber(first.connection,
                     "SELECT CASE WHEN pg_try_advisory_lock(?::bigint) THEN 1 ELSE 0 END", {key})
             .value)
        return false;
    const Lookup<qint64> taken =
        FirstNumber(second.connection,
                    "SELECT CASE WHEN pg_try_advisory_lock(?::bigint) THEN 1 ELSE 0 END", {key});
    if (taken.ok && taken.value)
        second.connection.execute("SELECT pg_advisory_unlock(?::bigint)", {key});
    first.connection.execute("SELECT pg_advisory_unlock(?::bigint)", {key});
    return taken.ok && taken.value == 0;
}

Result<CopyReport> CopyToServer(Catalog& from, const QString& destination, bool replace,
                                const CopyProgress& progress) {
    Catalog to;
    if (!Open(to, destination)) {
        // A database without the catalog's tables gets them; any other failure is said.
        if (!CreateCatalog(destination))
            return Failed(to.connection.lastError());
        if (const Result<> opened = Open(to, destination); !opened)
            return Failed(opened.error);
    }
    // Two addresses may reach one database (another name of the host, its number).
    if (from.connection.engine() == CatalogEngine::Postgres && OneDatabase(from, to))
        return Failed(kSameCatalog);
    const Result<bool> rows = HoldsRows(to);
    if (!rows)
        return Failed(rows.error);
    if (rows.value && !replace)
        return Failed(QStringLiteral("The catalog %1 already holds rows and was left as it is; "
                                     "with --force its rows are replaced by the copy.")
                          .arg(destination));
    CopyReport report;
    const Result<qint64> copied = CopyRows(from, to, progress, report.changes);
    if (!copied)
        return Failed(copied.error);
    report.rows = copied.value;
    return report;
}

} // namespace

Result<CopyReport> CopyCatalog(const QString& source, const QString& destination, bool replace,
                               const CopyProgress& progress) {
    const bool destinationOnServer = IsServerAddress(destination);
    if (SameCatalog(source, destination))
        return Failed(kSameCatalog);
    Catalog from;
    if (const Result<> opened = Open(from, source); !opened)
        return Failed(opened.error);
    return destinationOnServer ? CopyToServer(from, destination, replace, progress)
                               : CopyToFile(from, destination, replace, progress);
}

} // namespace tarl
