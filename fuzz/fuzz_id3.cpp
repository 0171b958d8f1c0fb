// Reads the input as a whole MP3 file, and its tail as the body of a tag of each version, with
// the first byte as the tag's flags. Any crash, hang, leak or undefined behaviour is a finding.
#include "tags/Id3v2Frames.h"
#include "tags/ReadId3.h"

#include <QBuffer>
#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer file(&bytes);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const tarl::TagFields fields = tarl::ReadId3(file);
    if (fields.fileLength != static_cast<qint64>(size))
        __builtin_trap();
    if (size < 1)
        return 0;
    const auto flags = static_cast<quint8>(data[0]);
    const QByteArray body = bytes.mid(1);
    for (quint8 version = 2; version <= 4; ++version) {
        tarl::TagFields fromBody;
        tarl::ReadId3v2Frames(body, version, fromBody, flags);
    }
    return 0;
}
