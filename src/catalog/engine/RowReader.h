#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <functional>

struct sqlite3_stmt;

namespace tarl {

class Connection;

// Rows read straight from the engine, for reads of very many rows (a search's hits): each value
// as the connection's result holders give it (a whole number, a real, a text, bytes or null), but
// without the holders' copy of every row. A failure is the connection's lastError(), worded as
// Connection::execute words it.
class RowReader {
public:
    // Runs `statement` with `values` (texts and whole numbers) bound to its "?" placeholders in
    // order, handing each row to `onRow`. False on failure.
    static bool ForEachRow(Connection& connection, const QString& statement,
                           const QVariantList& values,
                           const std::function<void(const RowReader&)>& onRow);

    // The value of a column of the current row, as Recordset::field gives it.
    QVariant field(int column) const;
    // The same as text: field(column).toString() without the QVariant.
    QString text(int column) const;

private:
    explicit RowReader(sqlite3_stmt* statement) : statement_(statement) {}
    sqlite3_stmt* statement_;
};

} // namespace tarl
