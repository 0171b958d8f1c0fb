#include "text/PlaylistText.h"

#include "text/HexDigit.h"
#include "text/Windows1252.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QStringDecoder>
#include <QStringView>
#include <utility>

namespace tarl {
namespace {

constexpr auto kDecoderFlags =
    QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom;

QString DecodeUtf8(QByteArrayView bytes, bool* valid) {
    // Stateless: a sequence cut off at the end of the file counts as an error too.
    QStringDecoder decoder(QStringDecoder::Utf8, kDecoderFlags);
    QString text = decoder(bytes);
    *valid = !decoder.hasError();
    return text;
}

// UTF-16 by hand: Qt's decoder lets unpaired surrogates through, and the lines must be
// well-formed text. Those and an odd last byte become U+FFFD.
QString DecodeUtf16(QByteArrayView bytes, bool bigEndian) {
    const qsizetype units = bytes.size() / 2;
    QString text(units + bytes.size() % 2, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0; i < units; ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        out[i] = bigEndian ? char16_t(first << 8 | second) : char16_t(second << 8 | first);
    }
    for (qsizetype i = 0; i < units; ++i) {
        if (QChar::isHighSurrogate(out[i]) && i + 1 < units && QChar::isLowSurrogate(out[i + 1])) {
            ++i;
            continue;
        }
        if (QChar::isSurrogate(out[i]))
            out[i] = QChar::ReplacementCharacter;
    }
    if (bytes.size() % 2)
        out[units] = QChar::ReplacementCharacter;
    return text;
}

QString DecodePlaylistText(const QByteArray& bytes, bool alwaysUtf8) {
    QByteArrayView view(bytes);
    if (view.startsWith("\xFF\xFE"))
        return DecodeUtf16(view.sliced(2), false);
    if (view.startsWith("\xFE\xFF"))
        return DecodeUtf16(view.sliced(2), true);
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    bool valid = false;
    QString text = DecodeUtf8(view, &valid);
    if (valid || alwaysUtf8)
        return text;
    return DecodeWindows1252(view);
}

// Splits at CRLF, LF and CR. Stops after `maxLines` lines, setting *cut when text remained.
QStringList SplitLines(QStringView text, qsizetype maxLines, bool* cut) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        if (lines.size() == maxLines) {
            *cut = true;
            return lines;
        }
        lines.append(text.sliced(start, i - start).toString());
        if (c == u'\r' && i + 1 < size && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start == size)
        return lines;
    if (lines.size() == maxLines) {
        *cut = true;
        return lines;
    }
    lines.append(text.sliced(start).toString());
    return lines;
}

bool IsAsciiLetter(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// "scheme://..." with a scheme of two characters or more, so a drive "C:/" never counts.
bool HasUrlScheme(QStringView s) {
    qsizetype i = 0;
    while (i < s.size()) {
        const QChar c = s[i];
        const bool ok =
            IsAsciiLetter(c) ||
            (i > 0 && ((c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.'));
        if (!ok)
            break;
        ++i;
    }
    return i >= 2 && s.sliced(i).startsWith(u"://");
}

// "C:/..." after the separators were made native.
bool HasDriveLetter(QStringView s) {
    return s.size() >= 3 && IsAsciiLetter(s[0]) && s[1] == u':' && s[2] == u'/';
}

// prefix ("", "/", "C:/" or "//") followed by `rest` with "." and ".." steps and doubled
// separators resolved. ".." never climbs above an absolute prefix; a relative path keeps the
// ".." steps it cannot resolve. A path that ends in a step naming a folder ends in "/".
QString Normalized(const QString& prefix, QStringView rest) {
    const bool relative = prefix.isEmpty();
    QList<QStringView> parts;
    bool endsInFolder = false;
    qsizetype start = 0;
    while (start <= rest.size()) {
        qsizetype end = rest.indexOf(u'/', start);
        if (end < 0)
            end = rest.size();
        const QStringView part = rest.sliced(start, end - start);
        start = end + 1;
        endsInFolder = part.isEmpty() || part == u"." || part == u"..";
        if (part.isEmpty() || part == u".")
            continue;
        if (part != u"..") {
            parts.append(part);
            continue;
        }
        if (!parts.isEmpty() && parts.last() != u"..")
            parts.removeLast();
        else if (relative)
            parts.append(part);
    }
    QString path = prefix;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0)
            path += u'/';
        path += parts[i];
    }
    if (endsInFolder && !parts.isEmpty())
        path += u'/';
    return path;
}

// A native path, told apart by its start: a Windows share, a Windows drive, absolute, relative.
QString NormalizedNative(QStringView path) {
    if (path.startsWith(u"//"))
        return Normalized(QStringLiteral("//"), path.sliced(2));
    if (HasDriveLetter(path))
        return Normalized(path.first(3).toString(), path.sliced(3));
    if (path.startsWith(u'/'))
        return Normalized(QStringLiteral("/"), path.sliced(1));
    return Normalized(QString(), path);
}

// The full path an entry names; see SplitPlaylistEntry.
QString ResolvedEntry(QStringView entry, const QString& playlistFolder) {
    if (HasUrlScheme(entry)) {
        QString local = FileUrlPath(entry.toString());
        if (local.isEmpty())
            return entry.toString();
        // Windows players write "file:///C:/music/a.mp3".
        if (local.startsWith(u'/') && HasDriveLetter(QStringView(local).sliced(1)))
            local.remove(0, 1);
        return NormalizedNative(local);
    }
    const QString native = NativeEntry(entry.toString());
    if (entry.startsWith(u"\\\\"))
        return Normalized(QStringLiteral("//"), QStringView(native).sliced(2));
    if (HasDriveLetter(native))
        return Normalized(native.first(3), QStringView(native).sliced(3));
    // "\rock\a.mp3": a single leading backslash means the playlist's own folder.
    const bool fromOwnFolder = entry.startsWith(u'\\');
    if (!fromOwnFolder && native.startsWith(u'/'))
        return Normalized(QStringLiteral("/"), QStringView(native).sliced(1));
    const QStringView relative = QStringView(native).sliced(fromOwnFolder ? 1 : 0);
    if (playlistFolder.isEmpty())
        return Normalized(QString(), relative);
    QString joined = playlistFolder;
    joined += u'/';
    joined += relative;
    if (joined.startsWith(u'/'))
        return Normalized(QStringLiteral("/"), QStringView(joined).sliced(1));
    return Normalized(QString(), joined);
}

} // namespace

bool IsPlaylistBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f' || c == u'\r' || c == u'\n';
}

QStringView TrimmedBlanks(QStringView s) {
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && IsPlaylistBlank(s[begin]))
        ++begin;
    while (end > begin && IsPlaylistBlank(s[end - 1]))
        --end;
    return s.sliced(begin, end - begin);
}

QStringList PlaylistLines(const QByteArray& bytes, bool alwaysUtf8) {
    bool cut = false;
    return SplitLines(DecodePlaylistText(bytes, alwaysUtf8), kMaxPlaylistLines, &cut);
}

bool IsPlaylistFileName(const QString& name) {
    return name.endsWith(QLatin1String(".m3u"), Qt::CaseInsensitive) ||
           name.endsWith(QLatin1String(".m3u8"), Qt::CaseInsensitive);
}

Result<QStringList> ReadPlaylistFile(const QString& file) {
    auto fail = [&](const QString& reason, QStringList linesRead = {}) {
        Result<QStringList> failed =
            Result<QStringList>::failed(QStringLiteral("Cannot read %1: %2").arg(file, reason));
        failed.value = std::move(linesRead);
        return failed;
    };
    // A folder, a FIFO or a device is no playlist; opening a FIFO would even wait for a writer.
    const QFileInfo info(file);
    if (info.exists() && !info.isFile())
        return fail(QStringLiteral("not a regular file"));
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return fail(in.errorString());
    const QString tooLarge = QStringLiteral("larger than %1 bytes").arg(kMaxPlaylistBytes);
    if (in.size() > kMaxPlaylistBytes)
        return fail(tooLarge);
    // One byte more than allowed tells a file that grew since its size was asked. The first
    // read asks for the size the file has (a read of the largest size allowed would take that
    // much memory for every small playlist and history read); only a file that grew is read on.
    const qint64 size = in.size();
    QByteArray bytes = in.read(size + 1);
    if (bytes.size() > size && in.error() == QFileDevice::NoError)
        bytes += in.read(kMaxPlaylistBytes + 1 - bytes.size());
    if (in.error() != QFileDevice::NoError)
        return fail(in.errorString());
    if (bytes.size() > kMaxPlaylistBytes)
        return fail(tooLarge);
    const bool utf8 = file.endsWith(QLatin1String(".m3u8"), Qt::CaseInsensitive);
    bool cut = false;
    QStringList lines = SplitLines(DecodePlaylistText(bytes, utf8), kMaxPlaylistLines, &cut);
    if (cut)
        return fail(QStringLiteral("more than %1 lines").arg(kMaxPlaylistLines), std::move(lines));
    return lines;
}

QString NativeEntry(const QString& entry) {
    QString native = entry;
    native.replace(u'\\', u'/');
    return native;
}

QString FileUrlPath(const QString& text) {
    if (!text.startsWith(QLatin1String("file://"), Qt::CaseInsensitive))
        return {};
    QStringView rest = QStringView(text).sliced(7);
    QByteArray bytes;
    if (rest.startsWith(QLatin1String("localhost/"), Qt::CaseInsensitive))
        rest = rest.sliced(9);
    else if (!rest.startsWith(u'/'))
        bytes = "//"; // a host: a share
    const QByteArray encoded = rest.toUtf8();
    bytes.reserve(bytes.size() + encoded.size());
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        const int high = i + 2 < encoded.size() ? HexDigitValue(encoded[i + 1]) : -1;
        const int low = high >= 0 ? HexDigitValue(encoded[i + 2]) : -1;
        if (encoded[i] != '%' || low < 0) {
            bytes += encoded[i];
            continue;
        }
        bytes += char(high * 16 + low);
        i += 2;
    }
    return QString::fromUtf8(bytes);
}

QString FileUrlOf(const QString& path) {
    QString url = QStringLiteral("file://");
    const QByteArray bytes = path.toUtf8();
    url.reserve(url.size() + 3 * bytes.size());
    for (const char c : bytes) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~' ||
                           c == '/';
        if (plain) {
            url += QLatin1Char(c);
            continue;
        }
        const auto byte = static_cast<unsigned char>(c);
        url += u'%';
        url += QLatin1Char("0123456789ABCDEF"[byte >> 4]);
        url += QLatin1Char("0123456789ABCDEF"[byte & 15]);
    }
    return url;
}

bool IsPlaylistEntry(const QString& line) {
    const QStringView trimmed = TrimmedBlanks(line);
    return !trimmed.isEmpty() && !trimmed.startsWith(u'#');
}

QStringList PlaylistEntries(const QStringList& lines) {
    QStringList entries;
    for (const QString& line : lines) {
        if (IsPlaylistEntry(line))
            entries.append(line);
    }
    return entries;
}

QStringView EntryWithItsBlanks(const QString& rawEntry, const QString& playlistFolder) {
    const QStringView trimmed = TrimmedBlanks(rawEntry);
    if (trimmed.size() == rawEntry.size())
        return rawEntry;
    // Only a path that can be looked up here: a relative one needs the playlist's folder.
    const QString untrimmed = ResolvedEntry(rawEntry, playlistFolder);
    // A name holding NUL names no file (and the file system would be asked about another).
    if (untrimmed.startsWith(u'/') && !untrimmed.startsWith(u"//") &&
        !untrimmed.contains(QChar(u'\0')) && QFileInfo::exists(untrimmed))
        return rawEntry;
    return trimmed;
}

void SplitPlaylistEntry(const QString& rawEntry, const QString& playlistFolder, QString* folder,
                        QString* file) {
    const QString path =
        ResolvedEntry(EntryWithItsBlanks(rawEntry, playlistFolder), playlistFolder);
    const qsizetype cut = path.lastIndexOf(u'/') + 1;
    *folder = path.first(cut);
    *file = path.sliced(cut);
}

} // namespace tarl
