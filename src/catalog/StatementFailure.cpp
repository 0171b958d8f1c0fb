#include "catalog/StatementFailure.h"

#include <sqlite3.h>

namespace tarl {

namespace {

QString Shorten(const QString& statement) {
    constexpr int kShown = 300;
    if (statement.size() <= kShown)
        return statement;
    return statement.left(kShown) + QStringLiteral("...");
}

} // namespace

QString DescribeStatementFailure(int code, const QString& file, const QString& engineText,
                                 const QString& statement) {
    switch (code) {
    case SQLITE_READONLY:
        return QStringLiteral("The catalog file %1 is read-only; it cannot be changed "
                              "(statement: %2).")
            .arg(file, Shorten(statement));
    case SQLITE_BUSY:
        return DescribeBusyCatalog(file);
    case SQLITE_LOCKED:
        return QStringLiteral("The catalog file %1 is locked by another program; the statement "
                              "was not run (statement: %2).")
            .arg(file, Shorten(statement));
    case SQLITE_FULL:
        return QStringLiteral("The disc holding the catalog file %1 is full; the statement was "
                              "not run (statement: %2).")
            .arg(file, Shorten(statement));
    default:
        return QStringLiteral("The catalog could not run a statement: %1 (statement: %2).")
            .arg(engineText, Shorten(statement));
    }
}

QString DescribeFullDiscOnOpen(int extendedCode, const QString& file) {
    constexpr int kPrimary = 0xff; // the primary code is the extended code's low byte
    if (extendedCode != SQLITE_IOERR_SHMSIZE && (extendedCode & kPrimary) != SQLITE_FULL)
        return {};
    return QStringLiteral("The disc is full: the catalog file %1 cannot be opened, even to read "
                          "it, until there is room on that disc for its companion file %1-shm. "
                          "Nothing in it is lost; free some space and open it again.")
        .arg(file);
}

QString DescribeBusyCatalog(const QString& file) {
    return QStringLiteral("The catalog file %1 is busy: another program is writing to it; try "
                          "again when it has finished.")
        .arg(file);
}

} // namespace tarl
