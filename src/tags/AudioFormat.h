#pragma once

#include <QString>
#include <optional>

namespace tarl {

// The kinds of sound file the import knows, told apart by the file name's extension alone (the
// walker picks files by name before anything is opened).
enum class AudioFormat { Mp3, Wav, Wma, Flac, Ogg, M4a };

// The format of a file named `name` (a bare name or a path), by its extension compared without
// case: .mp3; .wav; .wma; .flac; .ogg, .oga and .opus (Ogg: Vorbis, Opus or FLAC inside);
// .m4a and .mp4 (MP4 files). Nothing for any other extension or none: a ".aac" file is mostly a
// raw AAC stream (ADTS), with neither tags nor a header giving its length, so it is not taken.
std::optional<AudioFormat> FormatOfFileName(const QString& name);

// The short lower-case key of a format ("mp3", "wav", "wma", "flac", "ogg", "m4a"), as a
// command-line list or a settings key names it.
QString FormatKey(AudioFormat format);

// The format a key names, without case; nothing for an unknown key.
std::optional<AudioFormat> FormatOfKey(const QString& key);

} // namespace tarl
