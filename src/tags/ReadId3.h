#pragma once

#include "tags/TagFields.h"
#include "text/Result.h"

#include <QIODevice>
#include <QString>

namespace tarl {

// Reads the tags of one MP3 file: the ID3v1 trailer first, then the ID3v2 tag at the start of
// the file, whose frames replace the trailer's values field by field (a tagger that writes both
// keeps the richer v2 tag current; the trailer fills what v2 lacks). A field no tag supplies stays
// " "; fileLength is the file's size.
//
// Only the tag bytes are read: the 10-byte header, the ID3v2 tag through a bounded window, and the
// last 128 bytes; never the audio. A v2 tag whose header claims more than the file holds, or that
// is not a tag of version 2.2 to 2.4, is ignored and the trailer is still read.
//
// Failed, with the reason, when the file cannot be opened (or is not a regular file); the fields
// are then their initial values and fileLength is 0, so a caller that stores what it gets
// whatever happens reads `value` alone.
Result<TagFields> ReadId3(const QString& path);

// The same over an open, random-access device (a file, or bytes in a QBuffer).
TagFields ReadId3(QIODevice& device);

} // namespace tarl
