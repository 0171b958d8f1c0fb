#pragma once

#include <QStringList>
#include <QTextStream>

namespace tarl::tool {

// tarl-catalog copy SOURCE DEST [--force]: copies a whole catalog between a file and a server
// (or file to file, server to server), with a progress bar; a destination with rows is replaced
// only with --force. What the destination could not hold as it was is listed on stderr.
int RunCopy(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace tarl::tool
