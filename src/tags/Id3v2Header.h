#pragma once

#include <QByteArrayView>
#include <QtGlobal>
#include <optional>

namespace tarl {

// The 10-byte header that opens an ID3v2 tag: "ID3", major version, revision, flags and the size
// of what follows it as a 28-bit syncsafe integer (7 bits per byte).
struct Id3v2Header {
    static constexpr int kBytes = 10;
    // Flags of the tag header.
    static constexpr quint8 kUnsynchronised = 0x80;
    static constexpr quint8 kExtendedHeader = 0x40; // ID3v2.3 and v2.4
    static constexpr quint8 kCompressedV22 = 0x40;  // ID3v2.2: no scheme was ever defined
    static constexpr quint8 kFooterV24 = 0x10;      // ID3v2.4: a copy of the header ends the tag

    quint8 version = 0;
    quint8 revision = 0;
    quint8 flags = 0;
    quint32 size = 0; // bytes after the header, without a v2.4 footer

    // The header at the start of `bytes`; nothing when they do not open a tag of major version 2, 3
    // or 4 (a later version may change the layout, so it is not guessed at) or when the size is
    // not syncsafe.
    static std::optional<Id3v2Header> Parse(QByteArrayView bytes);
};

// A big-endian integer of `bytes`, 7 bits from each when `syncsafe`, else 8.
quint32 Id3BigEndian(QByteArrayView bytes, bool syncsafe = false);

} // namespace tarl
