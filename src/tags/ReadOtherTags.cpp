#include "tags/ReadOtherTags.h"

#include "tags/DeviceStream.h"
#include "tags/Id3v2Header.h"

#include <QRegularExpression>
#include <QStringList>
#include <asffile.h>
#include <flacfile.h>
#include <id3v2framefactory.h>
#include <mp4file.h>
#include <oggflacfile.h>
#include <opusfile.h>
#include <tbytevectorstream.h>
#include <tpropertymap.h>
#include <vorbisfile.h>
#include <wavfile.h>

#include <algorithm>
#include <memory>
#include <optional>

namespace tarl {

namespace {

constexpr auto kStyle = TagLib::AudioProperties::Average;

// Whether the FLAC stream starts at the start of the file or right after an ID3v2 tag there.
// TagLib looks for it through the whole file otherwise, so a large file named .flac that is
// something else would be read to its end.
bool OpensFlacStream(TagLib::IOStream& stream) {
    stream.seek(0);
    const TagLib::ByteVector head = stream.readBlock(Id3v2Header::kBytes);
    long at = 0;
    if (const auto tag = Id3v2Header::Parse(QByteArrayView(head.data(), head.size()))) {
        const bool footer = tag->version == 4 && (tag->flags & Id3v2Header::kFooterV24);
        at = Id3v2Header::kBytes * (footer ? 2 : 1) + static_cast<long>(tag->size);
    }
    stream.seek(at);
    const bool flac = stream.readBlock(4) == TagLib::ByteVector("fLaC", 4);
    stream.seek(0);
    return flac;
}

// TagLib's reader for `format` over `stream`; nothing when the stream is not such a file.
std::unique_ptr<TagLib::File> OpenTagLibFile(AudioFormat format, TagLib::IOStream* stream) {
    std::unique_ptr<TagLib::File> file;
    switch (format) {
    case AudioFormat::Flac:
        if (!OpensFlacStream(*stream))
            break;
        file = std::make_unique<TagLib::FLAC::File>(stream, TagLib::ID3v2::FrameFactory::instance(),
                                                    true, kStyle);
        break;
    case AudioFormat::Ogg:
        // The extension says Ogg, not what is inside: the first page does.
        if (TagLib::Ogg::Vorbis::File::isSupported(stream))
            file = std::make_unique<TagLib::Ogg::Vorbis::File>(stream, true, kStyle);
        else if (TagLib::Ogg::Opus::File::isSupported(stream))
            file = std::make_unique<TagLib::Ogg::Opus::File>(stream, true, kStyle);
        else if (TagLib::Ogg::FLAC::File::isSupported(stream))
            file = std::make_unique<TagLib::Ogg::FLAC::File>(stream, true, kStyle);
        break;
    case AudioFormat::M4a:
        file = std::make_unique<TagLib::MP4::File>(stream, true, kStyle);
        break;
    case AudioFormat::Wav:
        file = std::make_unique<TagLib::RIFF::WAV::File>(stream, true, kStyle);
        break;
    case AudioFormat::Wma:
        file = std::make_unique<TagLib::ASF::File>(stream, true, kStyle);
        break;
    case AudioFormat::Mp3:
        break;
    }
    if (file && !file->isValid())
        file.reset();
    return file;
}

QString ToQString(const TagLib::String& text) {
    const std::string utf8 = text.to8Bit(true);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// The non-empty values of `key` joined with "/"; nothing when there are none.
std::optional<QString> Joined(const TagLib::PropertyMap& map, const char* key) {
    const auto found = map.find(key);
    if (found == map.end())
        return std::nullopt;
    QStringList values;
    for (const TagLib::String& value : found->second) {
        if (!value.isEmpty())
            values << ToQString(value);
    }
    if (values.isEmpty())
        return std::nullopt;
    return values.join(u'/');
}

QString YearOf(const QString& date) {
    static const QRegularExpression fourDigits(QStringLiteral("[0-9]{4}"));
    const QRegularExpressionMatch match = fourDigits.match(date);
    return match.hasMatch() ? match.captured() : date;
}

void ReadProperties(const TagLib::PropertyMap& map, TagFields& fields) {
    auto set = [&map](const char* key, QString& field) {
        if (std::optional<QString> value = Joined(map, key))
            field = std::move(*value);
    };
    set("TITLE", fields.title);
    set("ARTIST", fields.artist);
    set("ALBUM", fields.album);
    set("GENRE", fields.genre);
    set("COMMENT", fields.comments);
    if (!map.contains("COMMENT"))
        set("DESCRIPTION", fields.comments);
    if (const std::optional<QString> date = Joined(map, "DATE"))
        fields.year = YearOf(*date);
}

qint64 SecondsOf(const TagLib::File& file) {
    const TagLib::AudioProperties* audio = file.audioProperties();
    if (!audio)
        return 0;
    return (std::max(audio->lengthInMilliseconds(), 0) + 500) / 1000;
}

QString FailureFor(AudioFormat format) {
    switch (format) {
    case AudioFormat::Flac:
        return QStringLiteral("not a FLAC file");
    case AudioFormat::Ogg:
        return QStringLiteral("not an Ogg Vorbis, Opus or FLAC file");
    case AudioFormat::M4a:
        return QStringLiteral("not an MP4 file");
    default:
        return QStringLiteral("not read through TagLib");
    }
}

bool ReadHere(AudioFormat format) {
    return format == AudioFormat::Flac || format == AudioFormat::Ogg || format == AudioFormat::M4a;
}

Result<TagFields> ReadStream(AudioFormat format, TagLib::IOStream& stream) {
    TagFields fields;
    fields.fileLength = stream.length();
    const std::unique_ptr<TagLib::File> file =
        ReadHere(format) ? OpenTagLibFile(format, &stream) : nullptr;
    if (!file) {
        Result<TagFields> failed = Result<TagFields>::failed(FailureFor(format));
        failed.value = std::move(fields);
        return failed;
    }
    ReadProperties(file->properties(), fields);
    fields.seconds = SecondsOf(*file);
    return fields;
}

} // namespace

Result<TagFields> ReadOtherTags(AudioFormat format, QIODevice& device) {
    DeviceStream stream(device);
    return ReadStream(format, stream);
}

Result<TagFields> ReadOtherTags(AudioFormat format, const QByteArray& bytes) {
    const TagLib::ByteVector data(bytes.constData(), static_cast<unsigned int>(bytes.size()));
    TagLib::ByteVectorStream stream(data);
    return ReadStream(format, stream);
}

void ReadContainerTags(AudioFormat format, QIODevice& device, TagFields& fields) {
    if (format != AudioFormat::Wav && format != AudioFormat::Wma)
        return;
    DeviceStream stream(device);
    const std::unique_ptr<TagLib::File> file = OpenTagLibFile(format, &stream);
    if (!file)
        return;
    ReadProperties(file->properties(), fields);
    fields.seconds = SecondsOf(*file);
}

qint64 AudioSeconds(AudioFormat format, QIODevice& device) {
    if (format != AudioFormat::Wav && format != AudioFormat::Wma)
        return 0;
    DeviceStream stream(device);
    const std::unique_ptr<TagLib::File> file = OpenTagLibFile(format, &stream);
    return file ? SecondsOf(*file) : 0;
}

} // namespace tarl
