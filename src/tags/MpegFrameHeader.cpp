#include "tags/MpegFrameHeader.h"

namespace tarl {

namespace {

// Bit rates in kbit/s by index 1 to 14: MPEG 1 layers I, II, III; then MPEG 2 and 2.5 layer I,
// and layers II and III, which share a table.
constexpr int kBitRates[5][14] = {
    {32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
    {32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
    {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
    {32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
    {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
};

// Sample rates by index 0 to 2: MPEG 1, 2, 2.5.
constexpr int kSampleRates[3][3] = {
    {44100, 48000, 32000},
    {22050, 24000, 16000},
    {11025, 12000, 8000},
};

int TableOf(MpegFrameHeader::Version version, int layer) {
    if (version == MpegFrameHeader::Version::Mpeg1)
        return layer - 1;
    return layer == 1 ? 3 : 4;
}

} // namespace

std::optional<MpegFrameHeader> MpegFrameHeader::Parse(QByteArrayView bytes) {
    if (bytes.size() < kBytes)
        return std::nullopt;
    const auto b1 = static_cast<quint8>(bytes[1]);
    const auto b2 = static_cast<quint8>(bytes[2]);
    const auto b3 = static_cast<quint8>(bytes[3]);
    if (static_cast<quint8>(bytes[0]) != 0xFF || (b1 & 0xE0) != 0xE0)
        return std::nullopt;
    const int versionBits = (b1 >> 3) & 3;
    const int layerBits = (b1 >> 1) & 3;
    const int rateIndex = b2 >> 4;
    const int sampleIndex = (b2 >> 2) & 3;
    if (versionBits == 1 || layerBits == 0 || rateIndex == 0 || rateIndex == 15 ||
        sampleIndex == 3 || (b3 & 3) == 2)
        return std::nullopt;
    MpegFrameHeader h;
    h.version = versionBits == 3   ? Version::Mpeg1
                : versionBits == 2 ? Version::Mpeg2
                                   : Version::Mpeg25;
    h.layer = 4 - layerBits;
    h.bitRate = kBitRates[TableOf(h.version, h.layer)][rateIndex - 1];
    h.sampleRate = kSampleRates[static_cast<int>(h.version)][sampleIndex];
    h.padded = (b2 >> 1) & 1;
    h.protected_ = (b1 & 1) == 0;
    h.mono = (b3 >> 6) == 3;
    return h;
}

int MpegFrameHeader::samplesPerFrame() const {
    if (layer == 1)
        return 384;
    if (layer == 3 && version != Version::Mpeg1)
        return 576;
    return 1152;
}

int MpegFrameHeader::frameBytes() const {
    if (layer == 1)
        return (12 * bitRate * 1000 / sampleRate + (padded ? 1 : 0)) * 4;
    return samplesPerFrame() / 8 * bitRate * 1000 / sampleRate + (padded ? 1 : 0);
}

int MpegFrameHeader::xingOffset() const {
    const bool mpeg1 = version == Version::Mpeg1;
    const int sideInfo = mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17);
    return kBytes + (protected_ ? 2 : 0) + sideInfo;
}

bool MpegFrameHeader::sameStream(const MpegFrameHeader& other) const {
    return other.version == version && other.layer == layer && other.sampleRate == sampleRate;
}

} // namespace tarl
