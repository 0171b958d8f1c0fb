#pragma once

#include <QString>

namespace tarl::test {

// Writes a WAV file (PCM, 16-bit, mono, 8000 Hz) of `seconds` seconds: silence, or a sine tone
// of `toneHz` when above 0. Small enough to write by the dozen, long enough for a player to
// report a length and a moving position. False when the file cannot be written.
bool WriteWav(const QString& path, double seconds, double toneHz = 0);

} // namespace tarl::test
