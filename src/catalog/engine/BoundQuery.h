#pragma once

#include <QString>
#include <QVariantList>

class QSqlQuery;

namespace tarl {

// Runs `statement` on `query` with `values` bound to its "?" placeholders in order, so a value
// is never read as part of the statement whatever it holds; with no values the statement is run
// as it stands. False with the query's lastError() on failure.
bool RunBound(QSqlQuery& query, const QString& statement, const QVariantList& values);

// A text as the catalog stores and looks it up: cut at its first NUL (a catalog written before
// values were bound ended every text there), and a lone surrogate (half of a UTF-16 pair, not a
// character) as U+FFFD. Every text value bound to a statement goes through it, so a look-up finds
// what a write stored.
QString SqlTextValue(const QString& text);

} // namespace tarl
