// Layouts of MP3 files the encoders leave behind, built byte by byte: tags around the audio, junk
// before it, the headers that count frames.
#include "tags/Mp3Length.h"
#include "CountingBuffer.h"
#include "support/FuzzSeeds.h"
#include "support/Id3Builder.h"

#include <QBuffer>
#include <QtEndian>
#include <gtest/gtest.h>

namespace tarl {
namespace {

using test::Id3Builder;

// 1000 frames of 1152 samples at 44.1 kHz, 417 bytes each at 128 kbit/s: 26.1 seconds.
constexpr int kFrames = 1000;
constexpr qint64 kSeconds = 26;

QByteArray Frames(int count = kFrames) {
    return Id3Builder::mpegFrames(count);
}

// A first frame holding a frame-counting header 36 bytes in (after a stereo MPEG 1 frame's
// header and side information): Xing, Info or VBRI.
QByteArray CountingFrame(const QByteArray& id, quint32 frames) {
    QByteArray frame = Frames(1);
    QByteArray header = id;
    if (id == "VBRI")
        header += QByteArray(10, '\0') + Id3Builder::bigEndian(frames, 4);
    else
        header += Id3Builder::bigEndian(1, 4) + Id3Builder::bigEndian(frames, 4);
    frame.replace(36, header.size(), header);
    return frame;
}

QByteArray LittleEndian(quint32 value) {
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

// An APE tag of `items` bytes of items, with its footer and, when asked, its header.
QByteArray ApeTag(int items, bool withHeader) {
    constexpr quint32 kHasHeader = 0x80000000u;
    const QByteArray footer = "APETAGEX" + LittleEndian(2000) + LittleEndian(items + 32) +
                              LittleEndian(1) + LittleEndian(withHeader ? kHasHeader : 0) +
                              QByteArray(8, '\0');
    const QByteArray tag = QByteArray(items, 'i') + footer;
    return withHeader ? QByteArray(32, 'h') + tag : tag;
}

qint64 LengthOf(const QByteArray& bytes) {
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return Mp3Length(buffer);
}

TEST(Mp3Length, LayoutsAroundTheAudio) {
    const test::Id3v1Fields v1{"T", "A", "", "", "", 0};
    const QByteArray bigTag = Id3Builder(3).text("TIT2", "T").padding(300000).tag();
    // The sync bits and a header that parses, but no frame where its size says the next one is.
    const QByteArray falseSync = QByteArray("\xFF\xFB\x90\x64", 4) + QByteArray(200, 'j');
    const struct {
        const char* name;
        QByteArray bytes;
        qint64 seconds;
    } cases[] = {
        {"frames-alone", Frames(), kSeconds},
        {"tag-larger-than-the-window", bigTag + Frames(), kSeconds},
        {"two-tags", bigTag + Id3Builder(4).text("TIT2", "T").tag() + Frames(), kSeconds},
        {"v1-trailer", Frames() + Id3Builder::v1Trailer(v1), kSeconds},
        // 10 000 bytes of tags counted as audio would add 0.6 seconds.
        {"ape-and-v1", Frames() + ApeTag(10000, true) + Id3Builder::v1Trailer(v1), kSeconds},
        {"ape-without-header", Frames() + ApeTag(10000, false), kSeconds},
        {"false-sync-in-junk", falseSync + Frames(), kSeconds},
        {"xing-count", CountingFrame("Xing", 2297) + Frames(10), 60}, // "Info" is the same
        {"vbri-count", CountingFrame("VBRI", 2297) + Frames(10), 60},
        {"xing-without-count-uses-the-size", CountingFrame("Xing", 0) + Frames(), kSeconds},
        {"tag-claims-more-than-the-file",
         Id3Builder(3).text("TIT2", "T").claimTagSize(0x0FFFFFFF).tag() + Frames(), kSeconds},
        {"no-frames", QByteArray(100000, '\xFF'), 0},
        {"empty", QByteArray(), 0},
        {"junk-beyond-the-window", QByteArray(70000, 'j') + Frames(), 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LengthOf(c.bytes), c.seconds) << c.name;
        test::SaveFuzzSeed("audio_tags", QStringLiteral("mp3-%1").arg(c.name),
                           QByteArray(1, '\0') + c.bytes.left(256 * 1024 - 1));
    }
}

TEST(Mp3Length, OnlyTagHeadersAWindowAndTheTailAreRead) {
    // 2 KiB where each tag header may be (they hold the first frame when there is no tag), the
    // tail's ID3v1 and APE footer; when they hold no frame, a window of 4 KiB, then one of
    // 64 KiB, each with 4 KiB more for the frame found at its end; and 8 KiB a third and two
    // thirds into the audio, where the bit rate is checked.
    constexpr qint64 kFirstReads = 2 * 2 * 1024;
    constexpr qint64 kBitRateSamples = 2 * (4 + 4) * 1024;
    constexpr qint64 kTail = 128 + 32;
    constexpr qint64 kSmallWindow = (4 + 4) * 1024;
    constexpr qint64 kLargeWindow = (64 + 4) * 1024;
    const struct {
        const char* name;
        QByteArray bytes;
        qint64 seconds;
        qint64 most;
    } cases[] = {
        {"audio-after-the-tag", Id3Builder(3).picture(1000000).tag() + Frames(20 * kFrames),
         20 * kSeconds + 1, kFirstReads + kTail + kBitRateSamples},
        {"audio-after-junk", QByteArray(10000, 'j') + Frames(20 * kFrames), 20 * kSeconds + 1,
         kFirstReads / 2 + kTail + kSmallWindow + kLargeWindow + kBitRateSamples},
        {"no-frames", QByteArray(1000000, 'j'), 0,
         kFirstReads / 2 + kTail + kSmallWindow + kLargeWindow},
    };
    for (const auto& c : cases) {
        test::CountingBuffer device(c.bytes);
        EXPECT_EQ(Mp3Length(device), c.seconds) << c.name;
        EXPECT_LE(device.bytesRead, c.most) << c.name;
    }
}

} // namespace
} // namespace tarl
