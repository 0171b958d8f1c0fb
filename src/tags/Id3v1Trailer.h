#pragma once

#include "tags/TagFields.h"

#include <QByteArrayView>

namespace tarl {

// The ID3v1 trailer: the last 128 bytes of a file, opening with "TAG".
inline constexpr int kId3v1Bytes = 128;

// Reads a trailer into `fields` when `trailer` is one (128 bytes starting "TAG"); false, and
// nothing changed, otherwise. Each text ends at its first NUL (so the ID3v1.1 track number after
// the comment's NUL is not part of it), is read as Windows-1252 and loses leading and trailing
// spaces. The genre byte names a genre of the table; a byte the table does not name (255, the
// format's "no genre", among them) gives no genre, as a file without a trailer.
bool ReadId3v1(QByteArrayView trailer, TagFields& fields);

} // namespace tarl
