#include "catalog/engine/ForeignSchema.h"

#include "catalog/engine/Schema.h"
#include "catalog/engine/SearchIndexSchema.h"

#include <QRegularExpression>
#include <sqlite3.h>

namespace tarl {

namespace {

struct SchemaRow {
    QString type;
    QString name;
    QString statement;
};

// A statement with its spaces made single, for comparing texts written on one line or several.
QString Spaced(const QString& statement) {
    return statement.simplified();
}

// The name a CREATE statement of the search index makes, and the kind of what it makes.
bool IsIndexStatement(const SchemaRow& row) {
    static const QStringList made = [] {
        QStringList spaced;
        for (const QString& statement : SearchIndexSchema())
            spaced << Spaced(statement);
        return spaced;
    }();
    return made.contains(Spaced(row.statement));
}

// The tables the full-text engine makes for each of the index's tables.
bool IsIndexShadowTable(const QString& name) {
    static const QRegularExpression shadow(
        QStringLiteral("^Search(Track|List)Text_(data|idx|content|docsize|config)$"));
    return shadow.match(name).hasMatch();
}

bool IsOwn(const SchemaRow& row) {
    if (row.type == QLatin1String("index"))
        return true;
    const bool virtualTable =
        row.statement.simplified().startsWith(QLatin1String("CREATE VIRTUAL"), Qt::CaseInsensitive);
    if (row.type == QLatin1String("table") && !virtualTable) {
        if (Schema::TableNames().contains(row.name, Qt::CaseInsensitive) ||
            row.name.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive) ||
            IsIndexShadowTable(row.name))
            return true;
    }
    // The index's own tables and triggers, by the statement that made them (a trigger of the
    // same name doing something else is someone else's).
    return (row.type == QLatin1String("table") || row.type == QLatin1String("trigger")) &&
           IsIndexStatement(row);
}

Result<std::vector<SchemaRow>> ReadSchema(sqlite3* db) {
    sqlite3_stmt* select = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT type, name, sql FROM sqlite_schema", -1, &select, nullptr) !=
        SQLITE_OK)
        return Result<std::vector<SchemaRow>>::failed(QString::fromUtf8(sqlite3_errmsg(db)));
    std::vector<SchemaRow> rows;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(select)) == SQLITE_ROW) {
        const auto text = [select](int column) {
            return QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(select, column)));
        };
        rows.push_back({text(0), text(1), text(2)});
    }
    sqlite3_finalize(select);
    if (rc != SQLITE_DONE)
        return Result<std::vector<SchemaRow>>::failed(QString::fromUtf8(sqlite3_errmsg(db)));
    return rows;
}

QString Shown(const SchemaRow& row) {
    return row.type + u' ' + row.name;
}

// "DROP TRIGGER "name"" and the like, the name quoted as an identifier.
QByteArray DropStatement(const SchemaRow& row) {
    QString name = row.name;
    name.replace(u'"', QStringLiteral("\"\""));
    return QStringLiteral("DROP %1 IF EXISTS \"%2\"").arg(row.type.toUpper(), name).toUtf8();
}

bool Run(sqlite3* db, const char* statement) {
    return sqlite3_exec(db, statement, nullptr, nullptr, nullptr) == SQLITE_OK;
}

} // namespace

Result<QStringList> ForeignSchemaObjects(sqlite3* db) {
    const Result<std::vector<SchemaRow>> schema = ReadSchema(db);
    if (!schema)
        return Result<QStringList>::failed(schema.error);
    QStringList foreign;
    for (const SchemaRow& row : schema.value) {
        if (!IsOwn(row))
            foreign << Shown(row);
    }
    return foreign;
}

QString DescribeForeignSchema(const QString& path, const QStringList& objects) {
    return QStringLiteral("The catalog file %1 holds what Tarl did not put there: %2. Someone "
                          "else's trigger or view would run its own statements on your data, so "
                          "the catalog is not used; \"tarl-catalog check --strip-foreign %1\" "
                          "removes them (after a backup).")
        .arg(path, objects.join(QStringLiteral(", ")));
}

Result<QStringList> DropForeignSchemaObjects(sqlite3* db) {
    const Result<std::vector<SchemaRow>> schema = ReadSchema(db);
    if (!schema)
        return Result<QStringList>::failed(schema.error);
    if (!Run(db, "BEGIN IMMEDIATE"))
        return Result<QStringList>::failed(QString::fromUtf8(sqlite3_errmsg(db)));
    QStringList dropped;
    // Triggers and views first: a table dropped first could leave them referring to nothing.
    for (const char* kind : {"trigger", "view", "table"}) {
        for (const SchemaRow& row : schema.value) {
            if (row.type != QLatin1String(kind) || IsOwn(row))
                continue;
            if (!Run(db, DropStatement(row).constData())) {
                const QString why = QString::fromUtf8(sqlite3_errmsg(db));
                Run(db, "ROLLBACK");
                return Result<QStringList>::failed(
                    QStringLiteral("%1 could not be removed: %2").arg(Shown(row), why));
            }
            dropped << Shown(row);
        }
    }
    if (!Run(db, "COMMIT")) {
        const QString why = QString::fromUtf8(sqlite3_errmsg(db));
        Run(db, "ROLLBACK");
        return Result<QStringList>::failed(why);
    }
    return dropped;
}

Result<> GuardCatalogConnection(sqlite3* db) {
    int defensive = 0;
    int trusted = 1;
    if (sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, &defensive) != SQLITE_OK ||
        sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, &trusted) != SQLITE_OK ||
        defensive != 1 || trusted != 0)
        return Result<>::failed(
            QStringLiteral("the engine's guards against a hostile catalog cannot be set"));
    return {};
}

} // namespace tarl
