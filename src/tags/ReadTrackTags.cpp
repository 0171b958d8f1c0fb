#include "tags/ReadTrackTags.h"

#include "tags/AudioFormat.h"
#include "tags/Mp3Length.h"
#include "tags/ReadId3.h"
#include "tags/ReadOtherTags.h"
#include "tags/TagFile.h"

namespace tarl {

Result<TagFields> ReadTrackTags(const QString& path) {
    const Result<std::unique_ptr<TagFile>> opened = TagFile::open(path);
    if (!opened)
        return Result<TagFields>::failed(opened.error);
    TagFile& file = *opened.value;
    const std::optional<AudioFormat> format = FormatOfFileName(path);
    if (!format)
        return ReadId3(file);
    switch (*format) {
    case AudioFormat::Mp3: {
        TagFields fields = ReadId3(file);
        fields.seconds = Mp3Length(file);
        return fields;
    }
    case AudioFormat::Wav:
    case AudioFormat::Wma: {
        // An ID3 tag at either end of the file, then what the format's own chunks hold.
        TagFields fields = ReadId3(file);
        ReadContainerTags(*format, file, fields);
        return fields;
    }
    case AudioFormat::Flac:
    case AudioFormat::Ogg:
    case AudioFormat::M4a:
        break;
    }
    return ReadOtherTags(*format, file);
}

} // namespace tarl
