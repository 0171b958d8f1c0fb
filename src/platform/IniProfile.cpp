#include "platform/IniProfile.h"

#include "platform/FileReplace.h"
#include "text/Windows1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <optional>
#include <vector>

namespace tarl {

namespace {

// "[name]" with optional blanks and anything after the closing bracket; "" when not a header.
bool sectionHeader(const QString& line, QString* name) {
    const QString t = line.trimmed();
    if (!t.startsWith('['))
        return false;
    const qsizetype close = t.indexOf(']');
    if (close < 0)
        return false;
    *name = t.mid(1, close - 1).trimmed();
    return true;
}

// "key=value": the key before the first "=", trimmed.
bool keyLine(const QString& line, QString* key, QString* value) {
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(';'))
        return false;
    const qsizetype eq = t.indexOf('=');
    if (eq <= 0)
        return false;
    *key = t.left(eq).trimmed();
    if (value)
        *value = t.mid(eq + 1).trimmed();
    return true;
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// One line of the file as stored: its bytes, its own line end ("\r\n", "\n", or "" for a last
// line without one), and its text for matching names.
struct Line {
    QByteArray bytes;
    QByteArray end;
    QString text;
};

// A line's text: UTF-8 when its bytes are valid UTF-8, otherwise Windows-1252, as settings
// written on Windows hold them. A U+FEFF opening a line is text (the file's byte order mark is
// taken off before): the decoder would otherwise drop it, and a key starting with one would
// never read back.
QString lineText(QByteArrayView bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8(bytes);
    return utf8.hasError() ? DecodeWindows1252(bytes) : text;
}

std::vector<Line> splitLines(const QByteArray& content) {
    std::vector<Line> lines;
    qsizetype start = 0;
    while (start < content.size()) {
        const qsizetype lf = content.indexOf('\n', start);
        Line line;
        if (lf < 0) {
            line.bytes = content.mid(start);
            start = content.size();
        } else {
            const bool crlf = lf > start && content[lf - 1] == '\r';
            line.bytes = content.mid(start, lf - start - (crlf ? 1 : 0));
            line.end = crlf ? QByteArray("\r\n") : QByteArray("\n");
            start = lf + 1;
        }
        QByteArrayView view(line.bytes);
        // A byte order mark opens the text, it is not part of its first line.
        if (lines.empty() && view.startsWith("\xEF\xBB\xBF"))
            view = view.sliced(3);
        line.text = lineText(view);
        lines.push_back(std::move(line));
    }
    return lines;
}

QByteArray joinLines(const std::vector<Line>& lines) {
    QByteArray out;
    for (const Line& line : lines)
        out += line.bytes + line.end;
    return out;
}

bool readWhole(const QString& file, QByteArray* content) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    *content = f.readAll();
    return true;
}

} // namespace

QString IniProfile::valueIn(const QByteArray& content, const QString& section, const QString& key) {
    bool inSection = false;
    for (const Line& line : splitLines(content)) {
        QString name;
        if (sectionHeader(line.text, &name)) {
            inSection = sameName(name, section.trimmed());
            continue;
        }
        QString k, v;
        if (inSection && keyLine(line.text, &k, &v) && sameName(k, key.trimmed()))
            return v;
    }
    return {};
}

QByteArray IniProfile::withValue(const QByteArray& content, const QString& section,
                                 const QString& key, const QString& value) {
    // New lines take the file's line end; every line already there keeps its own.
    const QByteArray eol = content.contains("\r\n") ? "\r\n" : "\n";
    std::vector<Line> lines = splitLines(content);
    const QByteArray newLine = (key.trimmed() + '=' + value).toUtf8();
    auto insertAt = [&](std::size_t at, const QByteArray& bytes) {
        if (at > 0 && lines[at - 1].end.isEmpty())
            lines[at - 1].end = eol;
        lines.insert(lines.begin() + qsizetype(at), Line{bytes, eol, {}});
    };

    std::optional<std::size_t> lastInSection; // last non-blank line of the section
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        QString name;
        if (sectionHeader(lines[i].text, &name)) {
            if (inSection)
                break; // the section ended without the key
            inSection = sameName(name, section.trimmed());
            if (inSection)
                lastInSection = i;
            continue;
        }
        if (!inSection)
            continue;
        QString k;
        if (keyLine(lines[i].text, &k, nullptr) && sameName(k, key.trimmed())) {
            lines[i].bytes = newLine;
            return joinLines(lines);
        }
        if (!lines[i].text.trimmed().isEmpty())
            lastInSection = i;
    }
    if (lastInSection) {
        insertAt(*lastInSection + 1, newLine);
        return joinLines(lines);
    }
    if (!lines.empty() && !lines.back().text.trimmed().isEmpty())
        insertAt(lines.size(), QByteArray());
    insertAt(lines.size(), '[' + section.trimmed().toUtf8() + ']');
    insertAt(lines.size(), newLine);
    return joinLines(lines);
}

QString IniProfile::read(const QString& file, const QString& section, const QString& key) {
    QByteArray content;
    if (!readWhole(file, &content))
        return {};
    return valueIn(content, section, key);
}

bool IniProfile::write(const QString& file, const QString& section, const QString& key,
                       const QString& value, QString* error) {
    QByteArray content;
    if (QFileInfo::exists(file) && !readWhole(file, &content)) {
        if (error)
            *error = QStringLiteral("Cannot read %1.").arg(QDir::toNativeSeparators(file));
        return false;
    }
    // Line breaks inside a value would make new lines of their own.
    QString flat = value;
    flat.replace('\r', ' ').replace('\n', ' ');
    const QByteArray updated = withValue(content, section, key, flat);
    // A value that is already there costs no write (the play state is saved every few
    // seconds, mostly unchanged, and each write syncs the disc).
    if (updated == content && QFileInfo::exists(file))
        return true;

    const Result<> replaced = ReplaceFile(file, updated);
    if (!replaced) {
        if (error)
            *error = replaced.error;
        return false;
    }
    return true;
}

} // namespace tarl
