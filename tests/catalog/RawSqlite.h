#pragma once

#include <QString>
#include <QStringList>
#include <sqlite3.h>

namespace tarl::test {

// A plain SQLite connection beside the catalog's own: makes files the way older catalogs or
// other programs would, and holds locks on them.
class RawSqlite {
public:
    explicit RawSqlite(const QString& path) { sqlite3_open(path.toUtf8().constData(), &db_); }
    ~RawSqlite() { sqlite3_close_v2(db_); }
    RawSqlite(const RawSqlite&) = delete;
    RawSqlite& operator=(const RawSqlite&) = delete;

    // Runs the statements in order; "" when all ran, else the engine's reason.
    QString exec(const QStringList& statements) {
        for (const QString& statement : statements) {
            if (sqlite3_exec(db_, statement.toUtf8().constData(), nullptr, nullptr, nullptr))
                return QString::fromUtf8(sqlite3_errmsg(db_));
        }
        return {};
    }

    // Every row of `table` in rowid order, each value quoted as a statement writes it: equal
    // dumps hold equal rows.
    QString dump(const QString& table) {
        QString rows;
        const QString statement = QStringLiteral("SELECT * FROM ") + table + " ORDER BY rowid";
        sqlite3_stmt* select = nullptr;
        if (sqlite3_prepare_v2(db_, statement.toUtf8().constData(), -1, &select, nullptr))
            return QString::fromUtf8(sqlite3_errmsg(db_));
        while (sqlite3_step(select) == SQLITE_ROW) {
            for (int column = 0; column < sqlite3_column_count(select); ++column) {
                const QByteArray value(
                    static_cast<const char*>(sqlite3_column_blob(select, column)),
                    sqlite3_column_bytes(select, column));
                rows += QString::number(sqlite3_column_type(select, column)) + ':' +
                        QString::fromLatin1(value.toHex()) + ',';
            }
            rows += '\n';
        }
        sqlite3_finalize(select);
        return rows;
    }

private:
    sqlite3* db_ = nullptr;
};

} // namespace tarl::test
