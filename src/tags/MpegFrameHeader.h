#pragma once

#include <QByteArrayView>
#include <QtGlobal>
#include <optional>

namespace tarl {

// The 4-byte header that opens every frame of MPEG audio (MPEG 1, 2 and 2.5; layers I, II and
// III): 11 sync bits, then version, layer, CRC flag, bit rate, sample rate, padding and channels.
struct MpegFrameHeader {
    enum class Version { Mpeg1, Mpeg2, Mpeg25 };
    static constexpr int kBytes = 4;

    Version version = Version::Mpeg1;
    int layer = 3;           // 1, 2 or 3
    int bitRate = 0;         // kbit/s
    int sampleRate = 0;      // Hz
    bool padded = false;     // one slot more than the rate gives
    bool protected_ = false; // a 16-bit CRC follows the header
    bool mono = false;

    // The header at the start of `bytes`; nothing when they do not hold one, or hold one with a
    // reserved value or the free bit rate (whose frames cannot be measured from the header),
    // which is how junk that happens to start with the sync bits is turned away.
    static std::optional<MpegFrameHeader> Parse(QByteArrayView bytes);

    int samplesPerFrame() const;
    // The whole frame's size, header included.
    int frameBytes() const;
    // Where a Xing or Info header starts in a layer III frame: after the header (and CRC) and the
    // side information, whose size depends on the version and the channels.
    int xingOffset() const;
    // Whether `other` can be the next frame of the same stream.
    bool sameStream(const MpegFrameHeader& other) const;
};

} // namespace tarl
