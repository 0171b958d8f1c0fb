#pragma once

#include <QByteArray>
#include <QString>

namespace tarl::test {

// Tests that build input files (tags, playlists) hand them to the fuzzers as seeds: when
// TARL_FUZZ_SEEDS names a folder, the bytes are written to <folder>/<target>/<name>.
// Does nothing otherwise.
void SaveFuzzSeed(const QString& target, const QString& name, const QByteArray& bytes);

} // namespace tarl::test
