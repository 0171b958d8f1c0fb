#pragma once

#include <QString>
#include <QVariantList>

class QSqlQuery;

namespace tarl {

// Runs `statement` on `query` with `values` bound to its "?" placeholders in order, so a value
// is never read as part of the statement whatever it holds; with no values the statement is run
// as it stands. False with the query's lastError() on failure.
bool RunBound(QSqlQuery& query, const QString& statement, const QVariantList& values);

} // namespace tarl
