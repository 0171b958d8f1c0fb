#pragma once

#include "text/Result.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

struct stat;

namespace tarl {

// What tells one version of a file on disc from another without reading it: which file the name
// leads to, its size and the time it was last written.
struct FileStamp {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedSeconds = 0;
    qint64 modifiedNanoseconds = 0;
    bool operator==(const FileStamp&) const = default;
};

FileStamp StampOf(const struct stat& st);

// Replacing a small file whole (the settings, the history, the temporary playlist) so that a
// crash, a kill or a full disc leaves either the old file or the new one, never an empty or a
// partial one.
//
// The bytes go to a new file beside the old one, "NAME.partial.PID.N", made with O_CREAT | O_EXCL
// | O_NOFOLLOW (never an existing file, never through a link), each write checked, so a write
// the disc refuses is seen at once; they are synced to the disc before the new file takes the
// old one's name, and the folder is synced after. The name is replaced, not what it leads to: a
// link in the file's place becomes the new file and its target stays as it was. The new file
// keeps the old one's permissions (a link's are not taken). Any failure removes the new file and
// leaves the old one as it was. A new file a killed program left behind is removed by the next
// replacement of the same file: one whose program is gone, or older than a minute.

// Replaces `file` with `bytes`; fails with WriteFailureText's sentence.
Result<> ReplaceFile(const QString& file, const QByteArray& bytes);
// The same, giving the stamp of the file written, so a caller keeping the bytes can tell later
// whether the file on disc is still what it wrote.
Result<FileStamp> ReplaceFileStamped(const QString& file, const QByteArray& bytes);

// The sentence for a write of `file` the system refused with `error` (an errno value): "The disc
// is full: ..." when the disc (or the user's quota on it) is full, else "Cannot write ...".
QString WriteFailureText(const QString& file, int error);

} // namespace tarl
