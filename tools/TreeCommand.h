#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace tarl {
struct TreeNode;
}

namespace tarl::tool {

// tarl-catalog tree [--by paths|styles] CATALOG: the library tree as the window builds it (by
// paths unless told), depth first, one node a line: two spaces per level of depth, then the
// node's text, key, tag and image index separated by tabs (an empty field where the node has no
// key or tag). The catalog is opened and changed as the window would: the tree by styles deletes
// the lists of volumes that are gone. When that build stops at a failing statement, the nodes
// built so far are printed and the reason goes to `err` with exit code 1.
int RunTree(const QStringList& arguments, QTextStream& out, QTextStream& err);

// The line of one node. A backslash, tab, line feed or carriage return inside a field is written
// as \\, \t, \n or \r, so every node stays one line, and any other control character as \xHH
// (FieldText), so none reaches the terminal.
QString TreeLine(const TreeNode& node, int depth);

} // namespace tarl::tool
