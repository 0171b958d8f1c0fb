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

private:
    sqlite3* db_ = nullptr;
};

} // namespace tarl::test
