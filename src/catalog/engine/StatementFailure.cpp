#include "catalog/engine/StatementFailure.h"

#include "catalog/engine/CatalogAddress.h"

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

FailureKind SqliteFailureKind(int primaryCode) {
    switch (primaryCode) {
    case SQLITE_READONLY:
        return FailureKind::ReadOnly;
    case SQLITE_BUSY:
        return FailureKind::Busy;
    case SQLITE_LOCKED:
        return FailureKind::Locked;
    case SQLITE_FULL:
        return FailureKind::Full;
    default:
        return FailureKind::Other;
    }
}

FailureKind ServerFailureKind(const QString& sqlState) {
    // 25006 a read-only transaction, 42501 a role without the right to write; 40001 and 40P01
    // conflicts the server broke off, 55P03 a lock not granted in time; 53100 a full disc.
    if (sqlState == QLatin1String("25006") || sqlState == QLatin1String("42501"))
        return FailureKind::ReadOnly;
    if (sqlState == QLatin1String("40001") || sqlState == QLatin1String("40P01") ||
        sqlState == QLatin1String("55P03"))
        return FailureKind::Busy;
    if (sqlState == QLatin1String("53100"))
        return FailureKind::Full;
    return FailureKind::Other;
}

QString CatalogPlace(const QString& place) {
    if (IsServerAddress(place))
        return QStringLiteral("catalog ") + place;
    return QStringLiteral("catalog file ") + place;
}

QString DescribeStatementFailure(FailureKind kind, const QString& place, const QString& engineText,
                                 const QString& statement) {
    const QString where = CatalogPlace(place);
    switch (kind) {
    case FailureKind::ReadOnly:
        return QStringLiteral("The %1 is read-only; it cannot be changed (statement: %2).")
            .arg(where, Shorten(statement));
    case FailureKind::Busy:
        return DescribeBusyCatalog(place);
    case FailureKind::Locked:
        return QStringLiteral("The %1 is locked by another program; the statement was not run "
                              "(statement: %2).")
            .arg(where, Shorten(statement));
    case FailureKind::Full:
        return QStringLiteral("The disc holding the %1 is full; the statement was not run "
                              "(statement: %2).")
            .arg(where, Shorten(statement));
    case FailureKind::Other:
        break;
    }
    return QStringLiteral("The catalog could not run a statement: %1 (statement: %2).")
        .arg(engineText, Shorten(statement));
}

QString DescribeStatementFailure(int code, const QString& place, const QString& engineText,
                                 const QString& statement) {
    return DescribeStatementFailure(SqliteFailureKind(code), place, engineText, statement);
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

QString DescribeBusyCatalog(const QString& place) {
    return QStringLiteral("The %1 is busy: another program is writing to it; try again when it "
                          "has finished.")
        .arg(CatalogPlace(place));
}

} // namespace tarl
