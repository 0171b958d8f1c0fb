#include "tags/ReadId3.h"

#include "tags/Id3v1Trailer.h"
#include "tags/Id3v2Frames.h"
#include "tags/Id3v2Header.h"
#include "tags/TrackFile.h"

#include <optional>

namespace tarl {

TagFields ReadId3(QIODevice& device) {
    TagFields fields;
    if (!device.isOpen() || device.isSequential())
        return fields;
    fields.fileLength = device.size();

    std::optional<Id3v2Header> header;
    if (device.seek(0))
        header = Id3v2Header::Parse(device.read(Id3v2Header::kBytes));
    if (header && header->size > fields.fileLength - Id3v2Header::kBytes)
        header.reset();

    if (fields.fileLength >= kId3v1Bytes && device.seek(fields.fileLength - kId3v1Bytes))
        ReadId3v1(device.read(kId3v1Bytes), fields);

    if (header) {
        ReadId3v2Frames(device, Id3v2Header::kBytes, Id3v2Header::kBytes + qint64(header->size),
                        header->version, header->flags, fields);
    }
    return fields;
}

Result<TagFields> ReadId3(const QString& path) {
    const Result<std::unique_ptr<QFile>> file = OpenTrackFile(path);
    if (!file)
        return Result<TagFields>::failed(file.error);
    // The fields are moved into the result, never copied.
    return ReadId3(*file.value);
}

} // namespace tarl
