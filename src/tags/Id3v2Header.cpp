#include "tags/Id3v2Header.h"

namespace tarl {

quint32 Id3BigEndian(QByteArrayView bytes, bool syncsafe) {
    quint32 value = 0;
    for (const char c : bytes)
        value = (value << (syncsafe ? 7 : 8)) |
                (static_cast<unsigned char>(c) & (syncsafe ? 0x7F : 0xFF));
    return value;
}

std::optional<Id3v2Header> Id3v2Header::Parse(QByteArrayView bytes) {
    if (bytes.size() < kBytes || !bytes.startsWith("ID3"))
        return std::nullopt;
    Id3v2Header header;
    header.version = static_cast<quint8>(bytes[3]);
    header.revision = static_cast<quint8>(bytes[4]);
    header.flags = static_cast<quint8>(bytes[5]);
    if (header.version < 2 || header.version > 4 || header.revision == 0xFF)
        return std::nullopt;
    const QByteArrayView size = bytes.sliced(6, 4);
    for (const char c : size) {
        if (static_cast<unsigned char>(c) & 0x80)
            return std::nullopt;
    }
    header.size = Id3BigEndian(size, true);
    return header;
}

} // namespace tarl
