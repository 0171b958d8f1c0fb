#include "support/Id3Builder.h"

namespace tarl::test {

namespace {

QByteArray Fit(const QByteArray& value, int width, char pad) {
    QByteArray out = value.left(width);
    out.append(width - out.size(), pad);
    return out;
}

} // namespace

Id3Builder::Id3Builder(int version) : version_(version) {}

QByteArray Id3Builder::encode(const QString& value, Id3Enc encoding) {
    switch (encoding) {
    case Id3Enc::Latin1:
        return value.toLatin1();
    case Id3Enc::Utf16: {
        QByteArray out("\xFF\xFE", 2);
        for (const QChar c : value) {
            out.append(char(c.unicode() & 0xFF));
            out.append(char(c.unicode() >> 8));
        }
        return out;
    }
    case Id3Enc::Utf16Be: {
        QByteArray out;
        for (const QChar c : value) {
            out.append(char(c.unicode() >> 8));
            out.append(char(c.unicode() & 0xFF));
        }
        return out;
    }
    case Id3Enc::Utf8:
        return value.toUtf8();
    }
    return {};
}

QByteArray Id3Builder::terminator(Id3Enc encoding) {
    const bool wide = encoding == Id3Enc::Utf16 || encoding == Id3Enc::Utf16Be;
    return QByteArray(wide ? 2 : 1, '\0');
}

QByteArray Id3Builder::syncsafe(quint32 value) {
    QByteArray out(4, '\0');
    for (int i = 3; i >= 0; --i) {
        out[i] = char(value & 0x7F);
        value >>= 7;
    }
    return out;
}

QByteArray Id3Builder::bigEndian(quint32 value, int bytes) {
    QByteArray out(bytes, '\0');
    for (int i = bytes - 1; i >= 0; --i) {
        out[i] = char(value & 0xFF);
        value >>= 8;
    }
    return out;
}

QByteArray Id3Builder::unsynchronised(const QByteArray& bytes) {
    QByteArray out;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        out.append(bytes[i]);
        if (static_cast<unsigned char>(bytes[i]) != 0xFF)
            continue;
        const bool last = i + 1 == bytes.size();
        const auto next = last ? 0 : static_cast<unsigned char>(bytes[i + 1]);
        if (last || next == 0x00 || next >= 0xE0)
            out.append('\0');
    }
    return out;
}

QByteArray Id3Builder::v1Trailer(const Id3v1Fields& f) {
    QByteArray out("TAG");
    out += Fit(f.title, 30, f.pad);
    out += Fit(f.artist, 30, f.pad);
    out += Fit(f.album, 30, f.pad);
    out += Fit(f.year, 4, f.pad);
    if (f.track > 0) {
        out += Fit(f.comment, 28, f.pad);
        out += '\0';
        out += char(f.track);
    } else {
        out += Fit(f.comment, 30, f.pad);
    }
    out += char(f.genre);
    return out;
}

QByteArray Id3Builder::mpegFrames(int count) {
    // 144 * 128000 / 44100 = 417 bytes a frame, unpadded; silent side info and data.
    QByteArray frame("\xFF\xFB\x90\x64", 4);
    frame.append(417 - 4, '\0');
    return frame.repeated(count);
}

Id3Builder& Id3Builder::text(const QByteArray& id, const QString& value, Id3Enc encoding,
                             bool terminated) {
    QByteArray content(1, char(encoding));
    content += encode(value, encoding);
    if (terminated)
        content += terminator(encoding);
    return frame(id, content);
}

Id3Builder& Id3Builder::texts(const QByteArray& id, const QStringList& values, Id3Enc encoding) {
    QByteArray content(1, char(encoding));
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0)
            content += terminator(encoding);
        content += encode(values[i], encoding);
    }
    return frame(id, content);
}

Id3Builder& Id3Builder::comment(const QString& description, const QString& value, Id3Enc encoding,
                                const QByteArray& language) {
    QByteArray content(1, char(encoding));
    content += Fit(language, 3, ' ');
    content += encode(description, encoding) + terminator(encoding);
    content += encode(value, encoding);
    return frame(version_ == 2 ? "COM" : "COMM", content);
}

Id3Builder& Id3Builder::picture(int bytes) {
    QByteArray image("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00", 11);
    for (int i = 0; image.size() < bytes; ++i)
        image.append(i % 5 == 0 ? char(0xFF) : char((i * 37) & 0xFF));
    image.truncate(bytes);
    QByteArray content(1, '\0');
    content += version_ == 2 ? QByteArray("JPG") : QByteArray("image/jpeg", 11);
    content += '\x03'; // front cover
    content += QByteArray("cover", 6);
    content += image;
    return frame(version_ == 2 ? "PIC" : "APIC", content);
}

Id3Builder& Id3Builder::frame(const QByteArray& id, const QByteArray& content, quint16 flags) {
    frames_.append({id, content, flags, std::nullopt, false});
    return *this;
}

Id3Builder& Id3Builder::frameClaiming(const QByteArray& id, quint32 claimedSize,
                                      const QByteArray& content) {
    frames_.append({id, content, 0, claimedSize, false});
    return *this;
}

Id3Builder& Id3Builder::raw(const QByteArray& bytes) {
    frames_.append({{}, bytes, 0, std::nullopt, true});
    return *this;
}

Id3Builder& Id3Builder::unsynchronise() {
    unsync_ = true;
    return *this;
}

Id3Builder& Id3Builder::unsynchroniseFrames() {
    frameUnsync_ = true;
    return *this;
}

Id3Builder& Id3Builder::dataLengthIndicators() {
    dataLength_ = true;
    return *this;
}

Id3Builder& Id3Builder::plainFrameSizes() {
    plainSizes_ = true;
    return *this;
}

Id3Builder& Id3Builder::extendedHeader(bool crc) {
    extended_ = true;
    crc_ = crc;
    return *this;
}

Id3Builder& Id3Builder::padding(int bytes) {
    padding_ = bytes;
    return *this;
}

Id3Builder& Id3Builder::headerFlags(quint8 flags) {
    flags_ = flags;
    return *this;
}

Id3Builder& Id3Builder::claimTagSize(quint32 size) {
    claimedSize_ = size;
    return *this;
}

Id3Builder& Id3Builder::tagSizeBytes(const QByteArray& fourBytes) {
    sizeBytes_ = fourBytes;
    return *this;
}

Id3Builder& Id3Builder::v1(const Id3v1Fields& fields) {
    v1_ = fields;
    return *this;
}

Id3Builder& Id3Builder::audio(int frames) {
    audioFrames_ = frames;
    return *this;
}

QByteArray Id3Builder::frameBytes(const Frame& f) const {
    if (f.raw)
        return f.content;
    QByteArray content = f.content;
    quint16 flags = f.flags;
    if (version_ == 4) {
        if (dataLength_) {
            content.prepend(syncsafe(f.content.size()));
            flags |= 0x0001;
        }
        if (frameUnsync_ || unsync_)
            content = unsynchronised(content);
        if (frameUnsync_)
            flags |= 0x0002;
    }
    const quint32 size = f.claimedSize.value_or(content.size());
    QByteArray out = f.id;
    if (version_ == 2)
        return out + bigEndian(size, 3) + content;
    out += (version_ == 4 && !plainSizes_) ? syncsafe(size) : bigEndian(size, 4);
    out += bigEndian(flags, 2);
    return out + content;
}

QByteArray Id3Builder::body() const {
    QByteArray out;
    if (extended_ && version_ == 3) {
        out += bigEndian(crc_ ? 10 : 6, 4);
        out += crc_ ? QByteArray("\x80\x00", 2) : QByteArray(2, '\0');
        out += bigEndian(padding_, 4);
        if (crc_)
            out += QByteArray("\xFF\x12\xFF\xE4", 4);
    }
    if (extended_ && version_ == 4) {
        out += syncsafe(crc_ ? 12 : 6);
        out += '\x01';
        out += crc_ ? '\x20' : '\0';
        if (crc_)
            out += QByteArray("\x05\x01\x02\x03\x04\x05", 6);
    }
    for (const Frame& f : frames_)
        out += frameBytes(f);
    out.append(padding_, '\0');
    if (unsync_ && version_ < 4)
        out = unsynchronised(out);
    return out;
}

QByteArray Id3Builder::tag() const {
    if (version_ == 0)
        return {};
    const QByteArray content = body();
    const quint8 flags = flags_.value_or(quint8((unsync_ ? 0x80 : 0) | (extended_ ? 0x40 : 0)));
    QByteArray out("ID3");
    out += char(version_);
    out += '\0';
    out += char(flags);
    out += sizeBytes_.value_or(syncsafe(claimedSize_.value_or(content.size())));
    return out + content;
}

QByteArray Id3Builder::build() const {
    QByteArray out = tag() + mpegFrames(audioFrames_);
    if (v1_)
        out += v1Trailer(*v1_);
    return out;
}

} // namespace tarl::test
