#pragma once

#include "tags/TagFields.h"

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
// False, with the reason in *error, when the file cannot be opened (or is not a regular file);
// the fields then keep their initial values and fileLength is 0.
bool ReadId3(const QString& path, TagFields* fields, QString* error = nullptr);

// The same, for callers that store what they get whatever happens.
TagFields ReadId3(const QString& path);

// The same over an open, random-access device (a file, or bytes in a QBuffer).
TagFields ReadId3(QIODevice& device);

} // namespace tarl
