#include "catalog/maintenance/CatalogCheck.h"

#include "catalog/engine/EngineFile.h"
#include "catalog/engine/ForeignSchema.h"
#include "catalog/engine/Schema.h"

#include <QRegularExpression>
#include <sqlite3.h>

namespace tarl {

namespace {

// The engine reports at most this many problems; the first ones are enough to judge.
const char* CheckStatement(CheckDepth depth) {
    return depth == CheckDepth::Quick ? "PRAGMA quick_check(100)" : "PRAGMA integrity_check(100)";
}

bool IsDamage(int code) {
    return (code & 0xff) == SQLITE_CORRUPT || (code & 0xff) == SQLITE_NOTADB;
}

// The first column of every row of `statement`; the engine's code and message on failure.
int Rows(sqlite3* db, const char* statement, QStringList* rows, QString* why) {
    sqlite3_stmt* prepared = nullptr;
    int rc = sqlite3_prepare_v2(db, statement, -1, &prepared, nullptr);
    while (rc == SQLITE_OK && (rc = sqlite3_step(prepared)) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(prepared, 0));
        *rows << QString::fromUtf8(text ? text : "");
        rc = SQLITE_OK;
    }
    if (rc == SQLITE_DONE)
        rc = SQLITE_OK;
    if (rc != SQLITE_OK)
        *why = EngineMessage(db);
    sqlite3_finalize(prepared);
    return rc;
}

// Each table's columns as this program's statements name them: "TABLE" -> "a,b,c".
QList<std::pair<QString, QStringList>> WantedColumns() {
    static const QRegularExpression table(QStringLiteral("^CREATE TABLE (\\w+) \\((.*)\\)$"));
    QList<std::pair<QString, QStringList>> wanted;
    for (const QString& statement : Schema::TableStatements()) {
        const QRegularExpressionMatch match = table.match(statement);
        QStringList columns;
        for (const QString& column : match.captured(2).split(u','))
            columns << column.trimmed().section(u' ', 0, 0);
        wanted.push_back({match.captured(1), columns});
    }
    return wanted;
}

// The columns every other verb reads, looked for in each of the four tables.
QStringList MissingColumns(sqlite3* db) {
    QStringList problems;
    for (const auto& [table, columns] : WantedColumns()) {
        QStringList present;
        QString why;
        const QByteArray statement =
            QStringLiteral("SELECT name FROM pragma_table_info('%1')").arg(table).toUtf8();
        if (Rows(db, statement.constData(), &present, &why) != SQLITE_OK)
            continue;
        for (const QString& column : columns) {
            if (!present.contains(column, Qt::CaseInsensitive))
                problems << QStringLiteral("It is not a Tarl catalog: its table %1 has no column "
                                           "%2.")
                                .arg(table, column);
        }
    }
    return problems;
}

} // namespace

Result<QStringList> CheckCatalog(const QString& file, CheckDepth depth) {
    const auto fail = [&file](const QString& why) {
        return Result<QStringList>::failed(
            QStringLiteral("The catalog %1 could not be checked: %2").arg(file, why));
    };
    EngineFile catalog;
    if (const Result<> opened = catalog.openExisting(file); !opened)
        return fail(opened.error);
    // Long enough to wait out another program's short write.
    sqlite3_busy_timeout(catalog.handle(), 5000);

    QStringList rows;
    QString why;
    const int rc = Rows(catalog.handle(), CheckStatement(depth), &rows, &why);
    if (IsDamage(rc))
        return QStringList{QStringLiteral("The engine cannot read it: %1.").arg(why)};
    if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED)
        return fail(QStringLiteral("another program keeps it busy; try again later."));
    if (rc != SQLITE_OK)
        return fail(why + QLatin1Char('.'));
    if (rows != QStringList{QStringLiteral("ok")})
        return rows;

    QStringList tables;
    if (const int read = Rows(catalog.handle(),
                              "SELECT name FROM sqlite_master WHERE type = 'table'", &tables, &why);
        read != SQLITE_OK)
        return IsDamage(read)
                   ? QStringList{QStringLiteral("The engine cannot read it: %1.").arg(why)}
                   : fail(why + QLatin1Char('.'));
    QStringList problems;
    for (const QString& wanted : Schema::TableNames()) {
        if (!tables.contains(wanted, Qt::CaseInsensitive))
            problems << QStringLiteral("It is not a Tarl catalog: it has no table %1.").arg(wanted);
    }
    if (!problems.isEmpty())
        return problems;
    problems << MissingColumns(catalog.handle());
    const Result<QStringList> foreign = ForeignSchemaObjects(catalog.handle());
    if (!foreign)
        return fail(foreign.error + QLatin1Char('.'));
    if (!foreign.value.isEmpty())
        problems << QStringLiteral("It holds what Tarl did not put there: %1 (\"tarl-catalog "
                                   "check --strip-foreign\" removes them).")
                        .arg(foreign.value.join(QStringLiteral(", ")));
    return problems;
}

} // namespace tarl
