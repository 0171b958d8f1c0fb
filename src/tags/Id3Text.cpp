#include "tags/Id3Text.h"

#include "text/Windows1252.h"

#include <QStringDecoder>

namespace tarl {

namespace {

bool IsWide(quint8 encoding) {
    return encoding == kId3Utf16 || encoding == kId3Utf16Be;
}

// Latin text in UTF-16 has its zero bytes at odd offsets when little-endian, even when big-endian.
bool LooksBigEndian(QByteArrayView bytes) {
    qsizetype evenZeros = 0;
    qsizetype oddZeros = 0;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        evenZeros += bytes[i] == 0;
        oddZeros += bytes[i + 1] == 0;
    }
    return evenZeros > oddZeros;
}

// Qt's UTF-16 decoder keeps unpaired surrogates; they would turn into "?" in the UTF-8 the
// catalog stores, so they become U+FFFD here, as invalid UTF-8 does.
QString ReplaceLoneSurrogates(QString text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

QString DecodeUtf16(QByteArrayView bytes, bool bigEndian) {
    bytes = bytes.first(bytes.size() & ~qsizetype(1));
    if (bytes.size() >= 2) {
        const auto first = static_cast<unsigned char>(bytes[0]);
        const auto second = static_cast<unsigned char>(bytes[1]);
        if (first == 0xFF && second == 0xFE) {
            bigEndian = false;
            bytes = bytes.sliced(2);
        } else if (first == 0xFE && second == 0xFF) {
            bigEndian = true;
            bytes = bytes.sliced(2);
        }
    }
    QStringDecoder decoder(bigEndian ? QStringConverter::Utf16BE : QStringConverter::Utf16LE,
                           QStringConverter::Flag::Stateless);
    return ReplaceLoneSurrogates(decoder.decode(bytes));
}

QString DecodeUtf8(QByteArrayView bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    // Stateless: a sequence cut off at the end is an error, not pending input.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return DecodeWindows1252(bytes);
    return text;
}

} // namespace

bool IsKnownId3Encoding(quint8 encoding) {
    return encoding <= kId3Utf8;
}

int Id3TerminatorWidth(quint8 encoding) {
    return IsWide(encoding) ? 2 : 1;
}

qsizetype FindId3Terminator(quint8 encoding, QByteArrayView bytes, qsizetype from) {
    if (!IsWide(encoding))
        return from < bytes.size() ? bytes.indexOf('\0', from) : -1;
    for (qsizetype i = from; i + 1 < bytes.size(); i += 2) {
        if (bytes[i] == 0 && bytes[i + 1] == 0)
            return i;
    }
    return -1;
}

QString DecodeId3String(quint8 encoding, QByteArrayView bytes) {
    switch (encoding) {
    case kId3Utf16:
        return DecodeUtf16(bytes, LooksBigEndian(bytes));
    case kId3Utf16Be:
        return DecodeUtf16(bytes, true);
    case kId3Utf8:
        return DecodeUtf8(bytes);
    default:
        return DecodeWindows1252(bytes);
    }
}

} // namespace tarl
