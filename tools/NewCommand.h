#pragma once

#include <QStringList>
#include <QTextStream>

namespace tarl::tool {

// tarl-catalog new FILE: makes a new, empty catalog; refuses an existing file.
int RunNew(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace tarl::tool
