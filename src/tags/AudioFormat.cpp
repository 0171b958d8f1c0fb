#include "tags/AudioFormat.h"

#include <array>

namespace tarl {

namespace {

struct Extension {
    const char* suffix;
    AudioFormat format;
};

constexpr std::array kExtensions{
    Extension{".mp3", AudioFormat::Mp3},  Extension{".wav", AudioFormat::Wav},
    Extension{".wma", AudioFormat::Wma},  Extension{".flac", AudioFormat::Flac},
    Extension{".ogg", AudioFormat::Ogg},  Extension{".oga", AudioFormat::Ogg},
    Extension{".opus", AudioFormat::Ogg}, Extension{".m4a", AudioFormat::M4a},
    Extension{".mp4", AudioFormat::M4a},
};

struct Key {
    const char* key;
    AudioFormat format;
};

constexpr std::array kKeys{
    Key{"mp3", AudioFormat::Mp3},   Key{"wav", AudioFormat::Wav}, Key{"wma", AudioFormat::Wma},
    Key{"flac", AudioFormat::Flac}, Key{"ogg", AudioFormat::Ogg}, Key{"m4a", AudioFormat::M4a},
};

} // namespace

std::optional<AudioFormat> FormatOfFileName(const QString& name) {
    for (const Extension& e : kExtensions) {
        if (name.endsWith(QLatin1String(e.suffix), Qt::CaseInsensitive))
            return e.format;
    }
    return std::nullopt;
}

QString FormatKey(AudioFormat format) {
    for (const Key& k : kKeys) {
        if (k.format == format)
            return QString::fromLatin1(k.key);
    }
    return {};
}

std::optional<AudioFormat> FormatOfKey(const QString& key) {
    for (const Key& k : kKeys) {
        if (key.compare(QLatin1String(k.key), Qt::CaseInsensitive) == 0)
            return k.format;
    }
    return std::nullopt;
}

} // namespace tarl
