#pragma once

#include "text/Result.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace tarl {

// A whole catalog copied between engines: a file to a server and back, or file to file, server
// to server. The four tables are copied row by row with their ids, in id order, in steps that
// keep memory bounded; `progress` gets the rows copied and the rows in all after each step.
//
// The destination is made when it is not there (a new file, or the tables in an empty database
// on a server). One that already holds rows is refused unless `replace` is set; its rows are then
// replaced. The copy is written in one transaction (a file beside the destination, renamed over
// it at the end), so a copy that fails leaves the destination as it was.
//
// A server's columns have types; a catalog file written by other programs may hold anything. What
// a server cannot hold is changed and said, one sentence per column and kind: a value that is
// not a whole number in a number column is left empty (NULL); a number in a text column is
// stored as its text; bytes are left empty; a text cut at a NUL character. Everything else is
// copied as it is, and the copy back gives the same rows.

using CopyProgress = std::function<void(qint64 rowsCopied, qint64 rowCount)>;

struct CopyReport {
    qint64 rows = 0;     // every row copied, of the four tables
    QStringList changes; // what the destination could not hold as it was; empty for most
};

Result<CopyReport> CopyCatalog(const QString& source, const QString& destination, bool replace,
                               const CopyProgress& progress = {});

} // namespace tarl
