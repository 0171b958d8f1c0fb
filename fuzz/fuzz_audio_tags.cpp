// Reads the input, after its first byte, as a sound file of the format that byte picks (by
// AudioFormat's order): MP3 through Mp3Length; WAV and WMA through AudioSeconds and
// ReadContainerTags; FLAC, Ogg and MP4 through ReadOtherTags, over the bytes and over a device.
// Any crash, hang, leak or undefined behaviour is a finding, as is a result that breaks the
// readers' promises.
#include "FuzzCheck.h"
#include "tags/Mp3Length.h"
#include "tags/ReadOtherTags.h"

#include <QBuffer>
#include <QByteArray>
#include <cstddef>
#include <cstdint>

namespace {

using tarl::AudioFormat;
using tarl::fuzz::Check;

constexpr int kFormats = static_cast<int>(AudioFormat::M4a) + 1;

void CheckRead(const tarl::Result<tarl::TagFields>& read, qint64 size) {
    Check(read.value.fileLength == size, "fileLength is the file's size");
    Check(read.value.seconds >= 0, "a length is never negative");
    Check(read.ok || !read.error.isEmpty(), "a failure says why");
    Check(read.ok || read.value.title == QStringLiteral(" "), "a failure gives the defaults");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const auto format = static_cast<AudioFormat>(data[0] % kFormats);
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data + 1),
                                               static_cast<qsizetype>(size - 1));
    QBuffer device(&bytes);
    if (!device.open(QIODevice::ReadOnly))
        return 0;
    switch (format) {
    case AudioFormat::Mp3:
        Check(tarl::Mp3Length(device) >= 0, "a length is never negative");
        break;
    case AudioFormat::Wav:
    case AudioFormat::Wma: {
        Check(tarl::AudioSeconds(format, device) >= 0, "a length is never negative");
        tarl::TagFields fields;
        tarl::ReadContainerTags(format, device, fields);
        Check(fields.seconds >= 0, "a length is never negative");
        break;
    }
    case AudioFormat::Flac:
    case AudioFormat::Ogg:
    case AudioFormat::M4a: {
        const tarl::Result<tarl::TagFields> fromBytes = tarl::ReadOtherTags(format, bytes);
        CheckRead(fromBytes, bytes.size());
        const tarl::Result<tarl::TagFields> fromDevice = tarl::ReadOtherTags(format, device);
        CheckRead(fromDevice, bytes.size());
        Check(fromBytes.value == fromDevice.value, "the bytes and the device read the same");
        break;
    }
    }
    return 0;
}
