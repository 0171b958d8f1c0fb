#pragma once

#include "text/Result.h"

#include <QFile>
#include <QString>
#include <memory>

namespace tarl {

// Opens a track's file for reading the way the import opens every track: one open without
// waiting, so a FIFO cannot block; one question about the file, since only a regular file holds
// a track; unbuffered, since the readers read in windows of their own and a read-ahead would
// pull in audio nobody needs.
//
// Failed, with the reason ("no such file", "not a regular file", the system's words), when the
// file cannot be opened or is not a regular file.
Result<std::unique_ptr<QFile>> OpenTrackFile(const QString& path);

} // namespace tarl
