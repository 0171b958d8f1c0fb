#pragma once

#include "tags/AudioFormat.h"
#include "text/Result.h"

#include <QString>

namespace tarl {

// The sound formats a walk collects, as one value for the scan window's check boxes ("Mp3",
// "Wav", "Wma", "Flac", "Ogg", "M4a"), the settings file and `tarl-catalog import --formats`.
// Written as a list of keys in the order above, "mp3,wav,wma,flac,ogg,m4a"; "none" when no box
// is checked (an empty value means the default, which is every format).
class SoundFormats {
public:
    // Every format: the default.
    SoundFormats() = default;
    static SoundFormats All() { return {}; }
    static SoundFormats None() { return SoundFormats(0); }

    bool has(AudioFormat format) const { return (bits_ & Bit(format)) != 0; }
    void set(AudioFormat format, bool on);
    bool isEmpty() const { return bits_ == 0; }
    // Whether a file of this name is one the walk collects (by its extension).
    bool matches(const QString& fileName) const;

    QString keys() const;
    // The formats a list of keys names (commas between, spaces and case ignored, "none" for
    // none); failed, naming it, at the first key that names no format.
    static Result<SoundFormats> FromKeys(const QString& keys);

    bool operator==(const SoundFormats&) const = default;

private:
    explicit SoundFormats(unsigned bits) : bits_(bits) {}
    static unsigned Bit(AudioFormat format) { return 1U << static_cast<unsigned>(format); }

    unsigned bits_ = (1U << 6) - 1; // one bit for each of the six formats
};

// Every format, in the order the check boxes show them.
inline constexpr AudioFormat SoundFormatOrder[] = {AudioFormat::Mp3, AudioFormat::Wav,
                                                   AudioFormat::Wma, AudioFormat::Flac,
                                                   AudioFormat::Ogg, AudioFormat::M4a};

} // namespace tarl
