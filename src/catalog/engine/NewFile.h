#pragma once

#include "text/Result.h"

#include <QString>

namespace tarl {

// New files beside a catalog, for copies that take the catalog's name or a backup's once they are
// complete.
//
// A catalog's folder may be one that other people can write (a shared or a network folder), so a
// fixed name there can be planted beforehand: as a link to any file the user may write, which a
// copy would then overwrite, or as a journal the engine would play into the new copy. A new file
// is therefore made under a name no one can guess, "NAME.partial.HOST.PID.RANDOM", and created
// with O_EXCL and O_NOFOLLOW, so that it is this program's own and no link: a name that is taken
// in any form fails rather than being written through. The name also keeps several programs
// copying to one destination at once out of each other's way.

// A fresh name for a new file beside `destination`; nothing is made yet.
QString PartialName(const QString& destination);

// Makes the empty file `path`, readable and writable as the user's umask allows. Fails with the
// system's reason when the name exists in any form, a link included.
Result<> CreateNewFile(const QString& path);

// Removes the partial files of `destination` (and their companions) that a program of this
// machine left when it was killed: those whose program is gone. Others are left alone: they may
// be another machine's copy under way.
void RemoveLeftoverPartials(const QString& destination);

// The file `a` and the file `b` are one file (the same device and inode; a link or another hard
// link of it counts); false when either is missing.
bool IsSameFile(const QString& a, const QString& b);

// `a` and `b` hold the same bytes.
bool SameBytes(const QString& a, const QString& b);

} // namespace tarl
