#include "tags/Mp3Length.h"

#include "tags/Id3v1Trailer.h"
#include "tags/Id3v2Header.h"
#include "tags/MpegFrameHeader.h"

#include <QtEndian>
#include <optional>

namespace tarl {

namespace {

// Where the first frame may start, after the ID3v2 tags; encoders and taggers leave some junk.
// Most files start their audio right there, so a small read first (it holds a frame of up to
// 320 kbit/s and the header after it, and tells a tag from audio), a larger window when it holds
// no frame that can be checked, and the whole one when that holds none either. An import reads
// every file: each byte and each read saved counts.
constexpr qint64 kFirstReadBytes = 2 * 1024;
constexpr qint64 kSecondSearchBytes = 4 * 1024;
constexpr qint64 kSearchBytes = 64 * 1024;
// Read past the window, so the frame found at its end and the header after it are in the buffer
// (the largest frame, MPEG 2 layer II at 160 kbit/s and 8 kHz, is 2881 bytes).
constexpr qint64 kFrameMargin = 4096;
// Some files carry more than one ID3v2 tag in a row; a few are stepped over, never an endless
// chain.
constexpr int kMostTags = 4;

constexpr int kApeFooterBytes = 32;
constexpr quint32 kApeHasHeader = 0x80000000u;

// The first kFirstReadBytes after the ID3v2 tags that open the file, and where they start: each
// read both looks for a tag header and holds the start of the audio when there is none.
struct AfterTags {
    qint64 at = 0;
    QByteArray bytes;
};

std::optional<AfterTags> ReadAfterId3v2Tags(QIODevice& device, qint64 fileSize) {
    AfterTags after;
    for (int i = 0; i <= kMostTags; ++i) {
        if (!device.seek(after.at))
            return std::nullopt;
        after.bytes = device.read(kFirstReadBytes);
        const std::optional<Id3v2Header> header =
            i < kMostTags ? Id3v2Header::Parse(after.bytes.left(Id3v2Header::kBytes))
                          : std::nullopt;
        if (!header)
            return after;
        qint64 end = after.at + Id3v2Header::kBytes + qint64(header->size);
        if (header->version == 4 && (header->flags & Id3v2Header::kFooterV24))
            end += Id3v2Header::kBytes; // the footer, which the size leaves out
        if (end > fileSize)             // a size the file cannot hold: the bytes are not a tag
            return after;
        after.at = end;
    }
    return after;
}

struct FirstFrame {
    qint64 offset = 0; // in the file
    MpegFrameHeader header;
    QByteArrayView bytes; // the frame as far as the buffer holds it
};

// The first frame in `window` (read from `windowAt`) whose successor lines up with it; a frame
// whose successor would start past the end of the file is taken alone.
std::optional<FirstFrame> FindFirstFrame(const QByteArray& window, qint64 windowAt, qint64 fileSize,
                                         qint64 searchBytes) {
    const QByteArrayView bytes(window);
    const qsizetype searchEnd = std::min<qsizetype>(bytes.size(), searchBytes);
    for (qsizetype i = 0; i + MpegFrameHeader::kBytes <= searchEnd; ++i) {
        if (static_cast<quint8>(bytes[i]) != 0xFF)
            continue;
        const std::optional<MpegFrameHeader> header = MpegFrameHeader::Parse(bytes.sliced(i));
        if (!header)
            continue;
        const qsizetype next = i + header->frameBytes();
        if (next + MpegFrameHeader::kBytes <= bytes.size()) {
            const std::optional<MpegFrameHeader> following =
                MpegFrameHeader::Parse(bytes.sliced(next));
            if (!following || !header->sameStream(*following))
                continue;
        } else if (windowAt + next + MpegFrameHeader::kBytes <= fileSize) {
            continue; // cannot be checked: the window holds it unless the file ends
        }
        return FirstFrame{windowAt + i, *header, bytes.sliced(i)};
    }
    return std::nullopt;
}

quint32 BigEndianAt(QByteArrayView bytes, qsizetype at) {
    return qFromBigEndian<quint32>(bytes.data() + at);
}

// The frame count of a Xing or Info header (layer III), else of a VBRI header; nothing when the
// frame holds neither, or one without a count.
std::optional<qint64> FrameCount(const FirstFrame& frame) {
    const QByteArrayView bytes = frame.bytes;
    if (frame.header.layer == 3) {
        const qsizetype at = frame.header.xingOffset();
        if (bytes.size() >= at + 12) {
            const QByteArrayView id = bytes.sliced(at, 4);
            const bool xing = id == QByteArrayView("Xing") || id == QByteArrayView("Info");
            constexpr quint32 kFramesFlag = 1;
            if (xing && (BigEndianAt(bytes, at + 4) & kFramesFlag))
                return BigEndianAt(bytes, at + 8);
        }
    }
    constexpr qsizetype kVbriAt = 36;
    constexpr qsizetype kVbriFrames = 14; // after id, version, delay, quality and byte count
    if (bytes.size() >= kVbriAt + kVbriFrames + 4 &&
        bytes.sliced(kVbriAt, 4) == QByteArrayView("VBRI"))
        return BigEndianAt(bytes, kVbriAt + kVbriFrames);
    return std::nullopt;
}

// The end of the audio: the file's end less an ID3v1 trailer and an APE tag before or without
// it. `audioStart` bounds what can be taken away.
qint64 AudioEnd(QIODevice& device, qint64 fileSize, qint64 audioStart) {
    const qint64 tailBytes = std::min<qint64>(fileSize - audioStart, kId3v1Bytes + kApeFooterBytes);
    if (tailBytes <= 0 || !device.seek(fileSize - tailBytes))
        return fileSize;
    const QByteArray tail = device.read(tailBytes);
    if (tail.size() != tailBytes)
        return fileSize;
    qint64 end = fileSize;
    qsizetype tailEnd = tail.size();
    if (tailEnd >= kId3v1Bytes && tail.sliced(tailEnd - kId3v1Bytes).startsWith("TAG")) {
        end -= kId3v1Bytes;
        tailEnd -= kId3v1Bytes;
    }
    if (tailEnd >= kApeFooterBytes) {
        const QByteArrayView footer = QByteArrayView(tail).sliced(tailEnd - kApeFooterBytes);
        if (footer.startsWith("APETAGEX")) {
            // The size counts the items and the footer; the flags say whether a header precedes.
            qint64 apeBytes = qFromLittleEndian<quint32>(footer.data() + 12);
            if (qFromLittleEndian<quint32>(footer.data() + 20) & kApeHasHeader)
                apeBytes += kApeFooterBytes;
            if (apeBytes <= end - audioStart)
                end -= apeBytes;
        }
    }
    return end;
}

qint64 RoundedDivision(qint64 numerator, qint64 denominator) {
    return (numerator + denominator / 2) / denominator;
}

// Where a constant bit rate is checked: a frame is looked for at these fractions of the audio.
constexpr int kBitRateSamples = 2;
constexpr qint64 kSampleBytes = 4096;
// The frames are counted in reads of this size when the bit rate varies.
constexpr qint64 kCountChunkBytes = 256 * 1024;

// Whether the frames found a third and two thirds into the audio have the first frame's bit
// rate: a stream that varies its rate without saying so in a header (an encoder asked for no
// Xing frame) would otherwise be timed by its first frames, often silence at the lowest rate.
bool ConstantBitRate(QIODevice& device, qint64 fileSize, const FirstFrame& first, qint64 audioEnd) {
    const qint64 audioBytes = audioEnd - first.offset;
    for (int i = 1; i <= kBitRateSamples; ++i) {
        const qint64 at = first.offset + audioBytes * i / (kBitRateSamples + 1);
        if (!device.seek(at))
            return true;
        const QByteArray window = device.read(kSampleBytes + kFrameMargin);
        const std::optional<FirstFrame> frame = FindFirstFrame(window, at, fileSize, kSampleBytes);
        if (frame && frame->header.sameStream(first.header) &&
            frame->header.bitRate != first.header.bitRate)
            return false;
    }
    return true;
}

// The frames of the stream from `from` to `end`, each found where the one before it ends; bytes
// between frames that are none (a broken frame, junk) are passed over to the next frame header of
// the same stream.
qint64 CountFrames(QIODevice& device, qint64 from, qint64 end, const MpegFrameHeader& first) {
    qint64 frames = 0;
    qint64 at = from;
    QByteArray chunk;
    qint64 chunkAt = from;
    while (at + MpegFrameHeader::kBytes <= end) {
        if (at < chunkAt || at + MpegFrameHeader::kBytes > chunkAt + chunk.size()) {
            if (!device.seek(at))
                break;
            chunk = device.read(std::min(kCountChunkBytes, end - at));
            chunkAt = at;
            if (chunk.size() < MpegFrameHeader::kBytes)
                break;
        }
        const QByteArrayView here = QByteArrayView(chunk).sliced(at - chunkAt);
        const std::optional<MpegFrameHeader> header = MpegFrameHeader::Parse(here);
        if (header && header->sameStream(first) && header->frameBytes() > 0) {
            ++frames;
            at += header->frameBytes();
            continue;
        }
        ++at; // not a frame here: look further
    }
    return frames;
}

} // namespace

qint64 Mp3Length(QIODevice& device) {
    if (!device.isOpen() || device.isSequential())
        return 0;
    const qint64 fileSize = device.size();
    std::optional<AfterTags> after = ReadAfterId3v2Tags(device, fileSize);
    if (!after)
        return 0;
    const qint64 windowAt = after->at;
    // The frame found points into the window it was found in, which must outlive it.
    QByteArray window = std::move(after->bytes);
    std::optional<FirstFrame> frame = FindFirstFrame(window, windowAt, fileSize, window.size());
    for (const qint64 searchBytes : {kSecondSearchBytes, kSearchBytes}) {
        if (frame || window.size() < kFirstReadBytes)
            break;
        if (!device.seek(windowAt))
            return 0;
        window = device.read(searchBytes + kFrameMargin);
        frame = FindFirstFrame(window, windowAt, fileSize, searchBytes);
        if (window.size() < searchBytes + kFrameMargin)
            break;
    }
    if (!frame)
        return 0;
    const MpegFrameHeader& header = frame->header;
    if (const std::optional<qint64> frames = FrameCount(*frame); frames && *frames > 0)
        return RoundedDivision(*frames * header.samplesPerFrame(), header.sampleRate);
    const qint64 audioEnd = AudioEnd(device, fileSize, frame->offset);
    if (!ConstantBitRate(device, fileSize, *frame, audioEnd)) {
        const qint64 frames = CountFrames(device, frame->offset, audioEnd, header);
        return RoundedDivision(frames * header.samplesPerFrame(), header.sampleRate);
    }
    const qint64 audioBytes = audioEnd - frame->offset;
    return RoundedDivision(audioBytes * 8, qint64(header.bitRate) * 1000);
}

} // namespace tarl
