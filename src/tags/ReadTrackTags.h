#pragma once

#include "tags/TagFields.h"
#include "text/Result.h"

#include <QString>

namespace tarl {

// The tags and length of one track's file, by the format its name gives (FormatOfFileName), in
// one open of the file (TagFile::open):
// - MP3: ReadId3 for the tags, Mp3Length for the length;
// - WAV and WMA: ReadId3 for the tags, as the import has always read every file, and the length
//   TagLib reads from the format's header;
// - FLAC, Ogg and MP4: ReadOtherTags;
// - any other name: ReadId3, without a length.
//
// Failed, with the reason, when the file cannot be opened (fields their defaults, fileLength 0),
// or when TagLib cannot read a FLAC, Ogg or MP4 file (defaults with fileLength). A caller that
// stores what it gets whatever happens reads `value` alone.
Result<TagFields> ReadTrackTags(const QString& path);

} // namespace tarl
