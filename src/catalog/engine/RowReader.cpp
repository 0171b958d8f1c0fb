#include "catalog/engine/RowReader.h"

#include "catalog/engine/Connection.h"
#include "catalog/engine/EngineText.h"
#include "catalog/engine/StatementFailure.h"

#include <QByteArray>
#include <algorithm>
#include <memory>
#include <sqlite3.h>

namespace tarl {

namespace {

struct Finalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

bool Fail(Connection& connection, const QString& statement) {
    sqlite3* db = connection.handle();
    connection.setLastError(
        DescribeStatementFailure(sqlite3_errcode(db) & 0xff, connection.fileName(),
                                 QString::fromUtf8(sqlite3_errmsg(db)), statement));
    return false;
}

// Binds each value to its placeholder: a whole number as one, anything else as its text.
bool Bind(sqlite3_stmt* statement, const QVariantList& values) {
    for (int i = 0; i < values.size(); ++i) {
        const QVariant& value = values.at(i);
        int rc = SQLITE_OK;
        if (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int) {
            rc = sqlite3_bind_int64(statement, i + 1, value.toLongLong());
        } else {
            const QString text = value.toString();
            rc = sqlite3_bind_text16(statement, i + 1, text.utf16(),
                                     static_cast<int>(text.size() * 2), SQLITE_TRANSIENT);
        }
        if (rc != SQLITE_OK)
            return false;
    }
    return true;
}

} // namespace

bool RowReader::ForEachRow(Connection& connection, const QString& statement,
                           const QVariantList& values,
                           const std::function<void(const RowReader&)>& onRow) {
    sqlite3* db = connection.handle();
    if (db == nullptr) {
        connection.setLastError(QStringLiteral("The catalog is not open."));
        return false;
    }
    connection.setLastError({});
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare16_v2(db, statement.utf16(), static_cast<int>(statement.size() * 2), &raw,
                             nullptr) != SQLITE_OK) {
        sqlite3_finalize(raw);
        return Fail(connection, statement);
    }
    const std::unique_ptr<sqlite3_stmt, Finalizer> prepared(raw);
    if (!Bind(raw, values))
        return Fail(connection, statement);
    const RowReader row(raw);
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW)
        onRow(row);
    if (rc != SQLITE_DONE)
        return Fail(connection, statement);
    return true;
}

QVariant RowReader::field(int column) const {
    switch (sqlite3_column_type(statement_, column)) {
    case SQLITE_INTEGER:
        return QVariant(static_cast<qlonglong>(sqlite3_column_int64(statement_, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(statement_, column));
    case SQLITE_TEXT:
        return QVariant(text(column));
    case SQLITE_BLOB: {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement_, column));
        return QVariant(QByteArray(bytes, sqlite3_column_bytes(statement_, column)));
    }
    default:
        return {};
    }
}

QString RowReader::text(int column) const {
    switch (sqlite3_column_type(statement_, column)) {
    case SQLITE_INTEGER:
        return QString::number(sqlite3_column_int64(statement_, column));
    case SQLITE_TEXT: {
        // Plain ASCII needs no decoding; anything else reads as the result holders read it.
        const auto* bytes = sqlite3_column_text(statement_, column);
        const int size = sqlite3_column_bytes(statement_, column);
        if (std::all_of(bytes, bytes + size, [](unsigned char c) { return c < 0x80; }))
            return QString::fromLatin1(reinterpret_cast<const char*>(bytes), size);
        thread_local EngineText decoded;
        return decoded.of(statement_, column).toString();
    }
    case SQLITE_NULL:
        return {};
    default:
        return field(column).toString();
    }
}

} // namespace tarl
