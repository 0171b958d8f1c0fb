#pragma once

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

namespace tarl {

// The text encodings an ID3v2 frame names in its first byte.
enum Id3Encoding : quint8 {
    kId3Latin1 = 0,  // read as Windows-1252, the system's code page
    kId3Utf16 = 1,   // each string opens with its own byte order mark
    kId3Utf16Be = 2, // ID3v2.4
    kId3Utf8 = 3,    // ID3v2.4
};

bool IsKnownId3Encoding(quint8 encoding);

// Where the first string terminator of `encoding` at or after `from` begins: a 0x00 byte, or for
// UTF-16 a 0x00 0x00 pair on a character boundary (counted from `from`); -1 when there is none.
qsizetype FindId3Terminator(quint8 encoding, QByteArrayView bytes, qsizetype from = 0);

// 1 or 2: the width of a terminator in `encoding`.
int Id3TerminatorWidth(quint8 encoding);

// One string, without its terminator, as text. UTF-16 follows its byte order mark; without one
// the byte order is guessed from where the zero bytes sit (little-endian, as Windows taggers
// write, when nothing tells). An odd last byte is dropped. UTF-8 that is not valid UTF-8 is read
// as Windows-1252, the way the system reads playlists. A leading byte order mark is never text.
QString DecodeId3String(quint8 encoding, QByteArrayView bytes);

} // namespace tarl
