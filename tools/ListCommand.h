#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace tarl::tool {

// tarl-catalog list [--by paths|styles] CATALOG KEY: the rows the track list shows when the
// library tree's node with that key is selected, one row a line, the twelve columns in order
// separated by tabs. The tree is built as the window builds it (by paths unless told), and the
// node's kind decides the rows. A backslash, tab, line feed or carriage return inside a column
// is written as \\, \t, \n or \r, so every row stays one line, and any other control character
// as \xHH (FieldText), so none reaches the terminal.
int RunList(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace tarl::tool
