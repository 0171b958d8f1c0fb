#pragma once

#include <QByteArray>
#include <QString>

struct sqlite3;

namespace tarl {

// What is asked of a catalog file before and as SQLite opens it. Nothing here opens the file:
// a descriptor of our own on the catalog, once closed, would drop every lock this process holds
// on it, those of its other open connections included, and another program would then take the
// catalog as unused and remove its log. Its status is asked of the system; its bytes are read
// through the engine's own descriptor.

// What keeps the file from being a catalog before SQLite opens it; "" when it may be one.
QString CheckFile(const QString& path);
// The first `count` bytes of the file the engine opened; zeros past its end. Empty when the
// engine has no such file.
QByteArray EngineFileHead(sqlite3* handle, int count);
// Why the opened file is no SQLite database; "" when it is one. Read before the first statement,
// so a file that is not SQLite is left untouched.
QString CheckHeader(const QString& path, sqlite3* handle);
// The header says the file is written ahead (its read and write versions are 2).
bool MarkedWriteAhead(sqlite3* handle);
// The file lies on a file system mounted read-only (a CD, a write-protected card).
bool OnReadOnlyMedia(const QString& path);
QString ReadOnlyMediaNote(const QString& path);

} // namespace tarl
