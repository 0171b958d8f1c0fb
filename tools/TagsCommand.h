#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace tarl::tool {

// tarl-catalog tags FILE...: one JSON object per line and file with the values the import stores
// (ReadId3's fields, fileLength and the size text). A file that cannot be read gets a line on
// `err` and exit code 1; the other files are still printed.
int RunTags(const QStringList& arguments, QTextStream& out, QTextStream& err);

// `text` as a JSON string: quotes and backslashes escaped, every control character (C0, DEL and
// C1) as \u00XX.
QString JsonString(const QString& text);

} // namespace tarl::tool
