#pragma once

#include <QStringList>
#include <QTextStream>

namespace tarl::tool {

// tarl-catalog search CATALOG TEXT [--field File|Path|Album|Title|Artist|Genre|Year|Comments|
// Rating]: the rows the search window lists for that text and field (File unless told), one a
// line: the icon number, then the twelve columns, separated by tabs and escaped as `list` does.
// The status ("Found N results." or "No results found") goes to stderr. A text shorter than two
// characters exits 1 with the window's warning.
int RunSearch(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace tarl::tool
