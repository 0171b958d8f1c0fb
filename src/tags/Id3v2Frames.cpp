#include "tags/Id3v2Frames.h"

#include "tags/GenreText.h"
#include "tags/Id3Text.h"
#include "tags/Id3v2Header.h"
#include "tags/TagStream.h"

#include <QBuffer>
#include <QStringList>
#include <algorithm>
#include <array>
#include <optional>
#include <span>

namespace tarl {

namespace {

// No text the catalog keeps is this long; larger frames are skipped, not read.
constexpr qint64 kMaxFrameBytes = 1 << 20;

// Frame format flags (second flag byte).
constexpr quint8 kV23Compressed = 0x80;
constexpr quint8 kV23Encrypted = 0x40;
constexpr quint8 kV23Grouped = 0x20;
constexpr quint8 kV24Grouped = 0x40;
constexpr quint8 kV24Compressed = 0x08;
constexpr quint8 kV24Encrypted = 0x04;
constexpr quint8 kV24Unsynchronised = 0x02;
constexpr quint8 kV24DataLength = 0x01;

enum class Kind {
    None,
    Title,
    Artist,
    OriginalArtist,
    Album,
    Year,
    RecordingTime,
    Genre,
    Comment,
};
constexpr int kKinds = static_cast<int>(Kind::Comment) + 1;

Kind KindOf(QByteArrayView id, quint8 version) {
    struct Entry {
        const char* id;
        Kind kind;
    };
    static const Entry kV22[] = {
        {"TT2", Kind::Title},   {"TP1", Kind::Artist}, {"TOA", Kind::OriginalArtist},
        {"TAL", Kind::Album},   {"TYE", Kind::Year},   {"TCO", Kind::Genre},
        {"COM", Kind::Comment},
    };
    static const Entry kV23[] = {
        {"TIT2", Kind::Title},   {"TPE1", Kind::Artist},        {"TALB", Kind::Album},
        {"TYER", Kind::Year},    {"TDRC", Kind::RecordingTime}, {"TCON", Kind::Genre},
        {"COMM", Kind::Comment},
    };
    const std::span<const Entry> table = version == 2 ? std::span(kV22) : std::span(kV23);
    for (const Entry& e : table) {
        if (id == QByteArrayView(e.id))
            return e.kind;
    }
    return Kind::None;
}

// What the frames supplied, by kind, before it is laid over the fields.
struct Found {
    std::array<std::optional<QString>, kKinds> values;
    bool commentWithoutDescription = false;

    std::optional<QString>& operator[](Kind kind) { return values[static_cast<int>(kind)]; }
    const std::optional<QString>& operator[](Kind kind) const {
        return values[static_cast<int>(kind)];
    }

    // The first frame of a kind counts; a comment without a description beats earlier ones.
    bool wants(Kind kind) const {
        if (kind == Kind::None)
            return false;
        if (kind == Kind::Comment)
            return !commentWithoutDescription;
        return !(*this)[kind].has_value();
    }
};

bool IsFrameIdChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool IsFrameId(QByteArrayView id) {
    for (const char c : id) {
        if (!IsFrameIdChar(c))
            return false;
    }
    return true;
}

QByteArray Deunsynchronise(const QByteArray& data) {
    QByteArray out;
    out.reserve(data.size());
    bool afterFF = false;
    for (const char c : data) {
        if (afterFF && c == 0) {
            afterFF = false;
            continue;
        }
        out.append(c);
        afterFF = static_cast<unsigned char>(c) == 0xFF;
    }
    return out;
}

// Whether a frame may end `ahead` bytes on: at the tag's end, at padding (zeros), or at another
// frame id.
bool FrameBoundaryAt(TagStream& stream, qint64 ahead) {
    const qint64 left = stream.rawRemaining() - ahead;
    if (left == 0)
        return true;
    if (left < 0)
        return false;
    QByteArray next;
    if (!stream.peek(ahead, std::min<qint64>(10, left), &next))
        return false;
    if (next.count('\0') == next.size())
        return true;
    return next.size() >= 4 && IsFrameId(QByteArrayView(next).first(4));
}

// A v2.4 frame size: syncsafe as the standard says, unless its bytes cannot be syncsafe or only
// the plain reading lands on the next frame (tags from iTunes' early v2.4 writer).
qint64 V24FrameSize(QByteArrayView bytes, TagStream& stream) {
    const qint64 plain = Id3BigEndian(bytes);
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) & 0x80)
            return plain;
    }
    const qint64 syncsafe = Id3BigEndian(bytes, true);
    if (syncsafe == plain || FrameBoundaryAt(stream, syncsafe))
        return syncsafe;
    return FrameBoundaryAt(stream, plain) ? plain : syncsafe;
}

// The values of a text frame's strings: the first one only before v2.4, where a terminator ended
// the text; every non-empty one in v2.4, where it separates values.
QStringList TextValues(quint8 encoding, QByteArrayView text, quint8 version) {
    QStringList values;
    const int width = Id3TerminatorWidth(encoding);
    qsizetype from = 0;
    while (from <= text.size()) {
        const qsizetype stop = FindId3Terminator(encoding, text, from);
        const qsizetype end = stop < 0 ? text.size() : stop;
        const QString value = DecodeId3String(encoding, text.sliced(from, end - from));
        if (version < 4)
            return {value};
        if (!value.isEmpty())
            values << value;
        if (stop < 0)
            break;
        from = stop + width;
    }
    return values;
}

void ReadComment(quint8 encoding, QByteArrayView payload, Found& found) {
    // Language (3 bytes), a described-by string with its terminator, then the text.
    if (payload.size() < 3)
        return;
    const QByteArrayView rest = payload.sliced(3);
    const qsizetype stop = FindId3Terminator(encoding, rest);
    QString description;
    QByteArrayView text = rest;
    if (stop >= 0) {
        description = DecodeId3String(encoding, rest.first(stop));
        text = rest.sliced(stop + Id3TerminatorWidth(encoding));
    }
    if (description.startsWith(QLatin1String("iTun")))
        return;
    const qsizetype textStop = FindId3Terminator(encoding, text);
    const QString value = DecodeId3String(encoding, textStop < 0 ? text : text.first(textStop));
    if (description.isEmpty()) {
        found[Kind::Comment] = value;
        found.commentWithoutDescription = true;
        return;
    }
    if (!found[Kind::Comment])
        found[Kind::Comment] = value;
}

// The frame's content after its header, as stored; `formatFlags` is its second flag byte.
void ReadFrame(Kind kind, QByteArray data, quint8 formatFlags, quint8 version, quint8 tagFlags,
               Found& found) {
    if (version == 3) {
        if (formatFlags & (kV23Compressed | kV23Encrypted))
            return;
        if (formatFlags & kV23Grouped)
            data.remove(0, 1);
    }
    if (version == 4) {
        if (formatFlags & (kV24Compressed | kV24Encrypted))
            return;
        if ((formatFlags & kV24Unsynchronised) || (tagFlags & Id3v2Header::kUnsynchronised))
            data = Deunsynchronise(data);
        // The added bytes come in the order of their flags.
        if (formatFlags & kV24Grouped)
            data.remove(0, 1);
        if (formatFlags & kV24DataLength)
            data.remove(0, 4);
    }
    if (data.isEmpty())
        return;
    const auto encoding = static_cast<quint8>(data[0]);
    if (!IsKnownId3Encoding(encoding))
        return;
    const QByteArrayView payload = QByteArrayView(data).sliced(1);
    if (kind == Kind::Comment) {
        ReadComment(encoding, payload, found);
        return;
    }
    const QStringList values = TextValues(encoding, payload, version);
    found[kind] = kind == Kind::Genre ? ResolveGenreValues(values) : values.join(u'/');
}

bool SkipExtendedHeader(TagStream& stream, quint8 version) {
    QByteArray size;
    if (!stream.read(4, &size))
        return false;
    if (version == 3) // size of what follows the size field
        return stream.skip(Id3BigEndian(size));
    for (const char c : size) {
        if (static_cast<unsigned char>(c) & 0x80)
            return false;
    }
    const qint64 whole = Id3BigEndian(size, true); // v2.4: the whole extended header
    return whole >= 4 && stream.skip(whole - 4);
}

void WalkFrames(TagStream& stream, quint8 version, quint8 tagFlags, Found& found) {
    const int idBytes = version == 2 ? 3 : 4;
    const int headerBytes = version == 2 ? 6 : 10;
    if (version >= 3 && (tagFlags & Id3v2Header::kExtendedHeader) &&
        !SkipExtendedHeader(stream, version))
        return;
    QByteArray header;
    QByteArray data;
    while (stream.rawRemaining() >= headerBytes) {
        if (!stream.read(headerBytes, &header))
            return;
        if (header[0] == 0) // padding
            return;
        const QByteArrayView id = QByteArrayView(header).first(idBytes);
        if (!IsFrameId(id))
            return;
        qint64 size = 0;
        quint8 formatFlags = 0;
        if (version == 2) {
            size = Id3BigEndian(QByteArrayView(header).sliced(3, 3));
        } else {
            const QByteArrayView sizeBytes = QByteArrayView(header).sliced(4, 4);
            size = version == 3 ? Id3BigEndian(sizeBytes) : V24FrameSize(sizeBytes, stream);
            formatFlags = static_cast<quint8>(header[9]);
        }
        if (size > stream.rawRemaining())
            return;
        const Kind kind = KindOf(id, version);
        if (!found.wants(kind) || size == 0 || size > kMaxFrameBytes) {
            if (!stream.skip(size))
                return;
            continue;
        }
        if (!stream.read(size, &data))
            return;
        ReadFrame(kind, data, formatFlags, version, tagFlags, found);
    }
}

void Apply(const Found& found, quint8 version, TagFields& fields) {
    auto set = [](const std::optional<QString>& value, QString& field) {
        if (value)
            field = *value;
    };
    set(found[Kind::Title], fields.title);
    set(found[Kind::Album], fields.album);
    set(found[Kind::Genre], fields.genre);
    set(found[Kind::Comment], fields.comments);
    // v2.2 taggers that wrote no TP1 left the performer in TOA; earlier catalogs read it there.
    set(version == 2 && !found[Kind::Artist] ? found[Kind::OriginalArtist] : found[Kind::Artist],
        fields.artist);
    std::optional<QString> date = found[Kind::RecordingTime];
    if (date)
        date = date->left(4);
    const std::optional<QString>& year = found[Kind::Year];
    // v2.4 replaced TYER by TDRC; each version's own frame comes first.
    const std::optional<QString>& first = version == 4 ? date : year;
    set(first ? first : (version == 4 ? year : date), fields.year);
}

} // namespace

void ReadId3v2Frames(QIODevice& device, qint64 begin, qint64 end, quint8 version, quint8 flags,
                     TagFields& fields) {
    if (version < 2 || version > 4)
        return;
    if (version == 2 && (flags & Id3v2Header::kCompressedV22))
        return;
    // Before v2.4 unsynchronisation covers the whole tag, frame headers included.
    const bool wholeTag = version < 4 && (flags & Id3v2Header::kUnsynchronised);
    TagStream stream(device, begin, end, wholeTag);
    Found found;
    WalkFrames(stream, version, flags, found);
    Apply(found, version, fields);
}

void ReadId3v2Frames(const QByteArray& body, quint8 version, TagFields& fields, quint8 flags) {
    QByteArray bytes = body;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return;
    ReadId3v2Frames(buffer, 0, bytes.size(), version, flags, fields);
}

} // namespace tarl
