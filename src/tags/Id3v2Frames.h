#pragma once

#include "tags/TagFields.h"

#include <QByteArray>
#include <QIODevice>
#include <QtGlobal>

namespace tarl {

// Reads the frames of one ID3v2 tag into `fields`. Each field a frame supplies replaces what the
// field held (the ID3v1 value, when the caller read that first); the others are left alone.
//
// The frames are walked from the start with their full sizes: ID3v2.2 has 3-letter ids and 3-byte
// sizes, v2.3 4-letter ids and 4-byte sizes, v2.4 syncsafe sizes (plain ones, which iTunes once
// wrote, are recognised where only they lead to the next frame). The walk stops at padding, at
// an id that is not upper-case letters and digits, or at a frame that claims more than the tag.
// Unsynchronisation is undone (the whole tag in v2.2 and v2.3, frame by frame in v2.4), an
// extended header is skipped, compressed and encrypted frames are skipped, and a v2.2 tag with
// its compression flag is not read at all. A text frame larger than 1 MiB is skipped.
//
// Fields, from the first frame of each kind:
// - title: TT2 / TIT2; album: TAL / TALB;
// - artist: TP1 / TPE1; in v2.2 TOA (the original artist) when there is no TP1;
// - year: TYE / TYER, else the first four characters of TDRC; in v2.4 TDRC comes first;
// - genre: TCO / TCON through ResolveGenreValues;
// - comments: COM / COMM, the one without a description first, else the first one whose
//   description is not one of iTunes' own ("iTunNORM", ...).
// Text is decoded by its encoding byte (an unknown encoding skips the frame) and ends at its
// first terminator; in v2.4 a terminator separates values, which are joined with "/".
void ReadId3v2Frames(QIODevice& device, qint64 begin, qint64 end, quint8 version, quint8 flags,
                     TagFields& fields);

// The same over `body`, the bytes that follow the tag's 10-byte header as stored.
void ReadId3v2Frames(const QByteArray& body, quint8 version, TagFields& fields, quint8 flags = 0);

} // namespace tarl
