#include "scan/SoundFormats.h"

#include <QStringList>

namespace tarl {

void SoundFormats::set(AudioFormat format, bool on) {
    bits_ = on ? bits_ | Bit(format) : bits_ & ~Bit(format);
}

bool SoundFormats::matches(const QString& fileName) const {
    const std::optional<AudioFormat> format = FormatOfFileName(fileName);
    return format && has(*format);
}

QString SoundFormats::keys() const {
    QStringList keys;
    for (const AudioFormat format : SoundFormatOrder)
        if (has(format))
            keys << FormatKey(format);
    return keys.isEmpty() ? QStringLiteral("none") : keys.join(u',');
}

Result<SoundFormats> SoundFormats::FromKeys(const QString& keys) {
    if (keys.trimmed().compare(QLatin1String("none"), Qt::CaseInsensitive) == 0)
        return None();
    SoundFormats formats = None();
    for (const QString& key : keys.split(u',', Qt::SkipEmptyParts)) {
        const std::optional<AudioFormat> format = FormatOfKey(key.trimmed());
        if (!format)
            return Result<SoundFormats>::failed(
                QStringLiteral("unknown sound format \"%1\" (known: %2)")
                    .arg(key.trimmed(), All().keys()));
        formats.set(*format, true);
    }
    return formats;
}

} // namespace tarl
