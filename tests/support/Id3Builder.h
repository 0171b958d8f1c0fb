#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>

namespace tarl::test {

// Text encodings of ID3v2 frames, by their byte.
enum class Id3Enc : quint8 { Latin1 = 0, Utf16 = 1, Utf16Be = 2, Utf8 = 3 };

// The fields of an ID3v1 trailer as raw bytes; each is cut or filled with `pad` to its width.
struct Id3v1Fields {
    QByteArray title;
    QByteArray artist;
    QByteArray album;
    QByteArray year;
    QByteArray comment;
    int genre = 255;
    int track = 0; // ID3v1.1: when above 0, a NUL and the track number end the comment
    char pad = '\0';
};

// Builds MP3 files byte by byte: an ID3v2 tag of major version 2, 3 or 4 (or none), a few MPEG
// audio frames and an ID3v1 trailer, so tests can write exactly what a tagger writes, including
// what a bad one writes. Nothing here reads tags; the bytes follow the ID3v2 layouts directly.
class Id3Builder {
public:
    // `version` 2, 3 or 4 gives an ID3v2 tag of that major version; 0 gives none.
    explicit Id3Builder(int version = 3);

    // A text frame: the encoding byte and the value encoded (UTF-16 with a little-endian byte
    // order mark), with a terminator when `terminated`.
    Id3Builder& text(const QByteArray& id, const QString& value, Id3Enc encoding = Id3Enc::Latin1,
                     bool terminated = false);
    // A v2.4 text frame of several values, each encoded on its own, separated by terminators.
    Id3Builder& texts(const QByteArray& id, const QStringList& values,
                      Id3Enc encoding = Id3Enc::Utf8);
    // COMM (COM in v2.2): language, description and text.
    Id3Builder& comment(const QString& description, const QString& value,
                        Id3Enc encoding = Id3Enc::Latin1, const QByteArray& language = "eng");
    // APIC (PIC in v2.2) holding `bytes` of JPEG-looking data full of 0xFF bytes.
    Id3Builder& picture(int bytes);
    // Any frame with the content as given and the two flag bytes (v2.3, v2.4) as given.
    Id3Builder& frame(const QByteArray& id, const QByteArray& content, quint16 flags = 0);
    // A frame whose header claims `claimedSize` whatever content follows.
    Id3Builder& frameClaiming(const QByteArray& id, quint32 claimedSize, const QByteArray& content);
    // Bytes placed as they are among the frames.
    Id3Builder& raw(const QByteArray& bytes);

    // Unsynchronisation: the whole tag after its header in v2.2 and v2.3 (header flag); in v2.4
    // every frame's content, with only the header flag set.
    Id3Builder& unsynchronise();
    // v2.4: every frame's content unsynchronised and flagged in its own header.
    Id3Builder& unsynchroniseFrames();
    // v2.4: a data length indicator before every frame's content.
    Id3Builder& dataLengthIndicators();
    // v2.4: frame sizes as plain 32-bit integers, the way iTunes' first v2.4 writer had them.
    Id3Builder& plainFrameSizes();
    // An extended header (v2.3, v2.4), with a CRC when asked.
    Id3Builder& extendedHeader(bool crc = false);
    Id3Builder& padding(int bytes);
    // The tag header's flags byte, replacing the flags the builder would set.
    Id3Builder& headerFlags(quint8 flags);
    // The tag header claims this size, whatever the tag holds.
    Id3Builder& claimTagSize(quint32 size);
    // The tag header's raw size bytes.
    Id3Builder& tagSizeBytes(const QByteArray& fourBytes);

    Id3Builder& v1(const Id3v1Fields& fields);
    // MPEG-1 Layer III frames (128 kbit/s, 44.1 kHz) between the tag and the trailer.
    Id3Builder& audio(int frames);

    // The ID3v2 tag alone (empty for version 0).
    QByteArray tag() const;
    // The tag's bytes after its 10-byte header.
    QByteArray body() const;
    // Tag, audio and trailer: the whole file.
    QByteArray build() const;

    static QByteArray encode(const QString& value, Id3Enc encoding);
    static QByteArray terminator(Id3Enc encoding);
    static QByteArray syncsafe(quint32 value);
    static QByteArray bigEndian(quint32 value, int bytes);
    static QByteArray unsynchronised(const QByteArray& bytes);
    static QByteArray v1Trailer(const Id3v1Fields& fields);
    static QByteArray mpegFrames(int count);

private:
    struct Frame {
        QByteArray id;
        QByteArray content;
        quint16 flags = 0;
        std::optional<quint32> claimedSize;
        bool raw = false;
    };
    QByteArray frameBytes(const Frame& frame) const;

    int version_;
    QList<Frame> frames_;
    bool unsync_ = false;
    bool frameUnsync_ = false;
    bool dataLength_ = false;
    bool plainSizes_ = false;
    bool extended_ = false;
    bool crc_ = false;
    int padding_ = 0;
    std::optional<quint8> flags_;
    std::optional<quint32> claimedSize_;
    std::optional<QByteArray> sizeBytes_;
    std::optional<Id3v1Fields> v1_;
    int audioFrames_ = 0;
};

} // namespace tarl::test
