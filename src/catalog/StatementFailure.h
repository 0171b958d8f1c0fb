#pragma once

#include <QString>

namespace tarl {

// Why the catalog file `file` did not run `statement`, as a sentence for the user. `code` is the
// engine's primary result code, `engineText` its own message. A read-only file, a lock held by
// another program and a full disc are named as such; anything else quotes the engine. The
// statement is quoted, cut to its first 300 characters, except after a lock: the user can do
// nothing with it then.
QString DescribeStatementFailure(int code, const QString& file, const QString& engineText,
                                 const QString& statement);

// Why the catalog file `file` could not be opened, when the engine's extended result code
// `extendedCode` says its disc is full: a write-ahead catalog is read through its "-shm"
// companion, which needs room on the disc even for reading. "" for any other code.
QString DescribeFullDiscOnOpen(int extendedCode, const QString& file);

// The catalog file `file` stayed locked by another program's write for the whole busy timeout.
QString DescribeBusyCatalog(const QString& file);

} // namespace tarl
