#pragma once

#include "tags/AudioFormat.h"
#include "tags/TagFields.h"
#include "text/Result.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace tarl {

// Reads the tags and the length of a FLAC, Ogg or MP4 file through TagLib; the MP3 side stays
// with ReadId3 and Mp3Length.
//
// - FLAC: the Vorbis comment, else an ID3v2 or ID3v1 tag around the stream; length from
//   STREAMINFO.
// - Ogg: Vorbis, Opus or FLAC inside, told apart by the first page, not the extension; length
//   from the last page's position.
// - MP4 (.m4a, .mp4): the iTunes atoms; length from the movie header.
// Fields, from TagLib's property names: TITLE, ARTIST, ALBUM, DATE, GENRE, COMMENT (else
// DESCRIPTION, where some Vorbis taggers put it). Several values of a name are joined with "/"
// and empty ones dropped, as the ID3v2.4 reader joins its values; the year is the first run of
// four digits in the date ("2003-05-01" gives "2003"), the date as written when it holds none. A
// field no tag supplies stays " ". fileLength is the file's size; seconds is the length rounded
// to the nearest second, 0 when the file does not state it.
//
// TagLib reads in its Average style, which reads only the headers and the pages or atoms it
// needs (for these formats the same bytes as Fast), never the whole stream. Where TagLib would
// search a whole file, it is kept from it: a .flac file must open with "fLaC" (after an ID3v2 tag
// if there is one) before TagLib sees it, and a device is read through DeviceStream, which stops
// after 32 MiB.
//
// Failed, with a short reason, when TagLib cannot read the file as `format` (or the format is
// not one of these three): the fields are then their defaults with fileLength set.
Result<TagFields> ReadOtherTags(AudioFormat format, QIODevice& device);

// The same over a file's bytes in memory (tests, fuzzing).
Result<TagFields> ReadOtherTags(AudioFormat format, const QByteArray& bytes);

// The length in seconds, rounded to the nearest, of a WAV or WMA file as TagLib reads it from the
// format's header; 0 when TagLib cannot read it or for any other format.
qint64 AudioSeconds(AudioFormat format, QIODevice& device);

// For a WAV or WMA file: the tags kept in the format's own places (a WAV's "id3 " chunk and
// LIST INFO, a WMA's ASF attributes), as TagLib reads them, over `fields` (a field they leave
// empty keeps its value), and the length. Nothing for any other format or a file TagLib cannot
// read.
void ReadContainerTags(AudioFormat format, QIODevice& device, TagFields& fields);

} // namespace tarl
