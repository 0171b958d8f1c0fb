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
        TagFields fields = ReadId3(file);
        fields.seconds = AudioSeconds(*format, file);
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
