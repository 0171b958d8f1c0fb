#pragma once

#include "text/Result.h"

#include <QString>

namespace tarl::bench {

// Writes `tracks` tagged MP3 files under `folder` as a collection is laid out: artist folders
// holding album folders of 12 tracks, 4 albums an artist. The tags follow the mix of real
// collections: ID3v1 only, v2.3 Latin-1, v2.3 UTF-16, v2.4 UTF-8, every v2 tag with an ID3v1
// trailer too, and a cover picture before the text frames in half of the v2 tags. With `mixed`,
// every second track is a FLAC, Ogg Vorbis, Opus or M4A file instead (in turn), 3 seconds of a
// tone made and tagged once by the encoders' own tools (flac, oggenc, opusenc, ffmpeg; sox for
// the tone). Failed, with the reason, when a tool is missing or a file cannot be written.
Result<> MakeMp3Corpus(const QString& folder, int tracks, bool mixed = false);

} // namespace tarl::bench
