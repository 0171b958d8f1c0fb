#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <deque>
#include <memory>
#include <vector>

class QSqlQuery;

namespace tarl {

class Connection;

// One result holder: the rows of the last statement run into it, read forward.
// Each statement run into a holder replaces what it held.
class Recordset {
public:
    Recordset();
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // True when there is no current row (no rows, past the last, or nothing run yet).
    bool eof() const;
    // The current row's value by position or by column name (names match without regard to
    // case). A null QVariant for SQL NULL, an invalid position or no current row.
    QVariant field(int position) const;
    QVariant field(const QString& name) const;
    int fieldCount() const;
    void moveNext();
    // Releases the rows.
    void clear();

private:
    friend class Connection;
    // Lets go of the statement once the rows are read, keeping the column names.
    void finish();
    // Reads the rows not yet read into memory and lets go of the statement, whose read would
    // otherwise hold the connection to the file as it was before another program's write.
    void detach();

    std::unique_ptr<QSqlQuery> query_;
    bool eof_ = true;
    QStringList names_;
    // The connection whose statement query_ runs; it clears this holder when it closes.
    Connection* owner_ = nullptr;
    // A detached holder's rows, the current one first; its statement is gone.
    std::deque<std::vector<QVariant>> kept_;
};

} // namespace tarl
