#include "platform/IniProfile.h"

#include "platform/FileDescriptor.h"
#include "platform/FileReplace.h"
#include "text/Windows1252.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <algorithm>
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
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

// Whether `value` is held in double quotes, which a read takes off.
bool quoted(const QString& value) {
    return value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"');
}

// "key=value": the key before the first "=", trimmed. The value is cut out of the line's own
// text, so a line of megabytes is not copied; one pair of double quotes around it is taken off,
// as Windows does, which keeps the blanks inside them.
bool keyLine(QString line, QString* key, QString* value) {
    line = std::move(line).trimmed();
    if (line.isEmpty() || line.startsWith(';'))
        return false;
    const qsizetype eq = line.indexOf('=');
    if (eq <= 0)
        return false;
    *key = line.left(eq).trimmed();
    line.remove(0, eq + 1);
    *value = std::move(line).trimmed();
    if (quoted(*value))
        *value = value->sliced(1, value->size() - 2);
    return true;
}

// The text written after "=": a value with blanks at an end (a song named " intro.mp3"), or one
// a read would take quotes off, goes in double quotes, so it reads back as it was.
QString storedValue(const QString& value) {
    const bool blankEnd = !value.isEmpty() && (value.front().isSpace() || value.back().isSpace());
    if (blankEnd || quoted(value))
        return u'"' + value + u'"';
    return value;
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// One line of the file as stored: its bytes and its own line end ("\r\n", "\n", or "" for a
// last line without one), and what it says, read once when the line is taken apart.
enum class LineKind { Other, Section, Key };
struct Line {
    QByteArray bytes;
    QByteArray end;
    LineKind kind = LineKind::Other;
    QString name;  // of the section or the key
    QString value; // of a key
    bool blank = false;
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

Line parsedLine(QByteArray bytes, QByteArray end, bool first) {
    Line line;
    line.bytes = std::move(bytes);
    line.end = std::move(end);
    QByteArrayView view(line.bytes);
    // A byte order mark opens the text, it is not part of its first line.
    if (first && view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    QString text = lineText(view);
    line.blank = text.trimmed().isEmpty();
    if (sectionHeader(text, &line.name))
        line.kind = LineKind::Section;
    else if (keyLine(std::move(text), &line.name, &line.value))
        line.kind = LineKind::Key;
    return line;
}

std::vector<Line> splitLines(const QByteArray& content) {
    std::vector<Line> lines;
    qsizetype start = 0;
    while (start < content.size()) {
        const qsizetype lf = content.indexOf('\n', start);
        if (lf < 0) {
            lines.push_back(parsedLine(content.mid(start), {}, lines.empty()));
            break;
        }
        const bool crlf = lf > start && content[lf - 1] == '\r';
        lines.push_back(parsedLine(content.mid(start, lf - start - (crlf ? 1 : 0)),
                                   crlf ? QByteArray("\r\n") : QByteArray("\n"), lines.empty()));
        start = lf + 1;
    }
    return lines;
}

// Whether `bytes` are the bytes `lines` were taken from.
bool sameBytes(const std::vector<Line>& lines, QByteArrayView bytes) {
    qsizetype at = 0;
    for (const Line& line : lines) {
        const qsizetype size = line.bytes.size() + line.end.size();
        if (bytes.size() - at < size || bytes.sliced(at, line.bytes.size()) != line.bytes ||
            bytes.sliced(at + line.bytes.size(), line.end.size()) != line.end)
            return false;
        at += size;
    }
    return at == bytes.size();
}

QByteArray joinLines(const std::vector<Line>& lines) {
    QByteArray out;
    for (const Line& line : lines)
        out += line.bytes + line.end;
    return out;
}

QString valueOf(const std::vector<Line>& lines, const QString& section, const QString& key) {
    const QString sectionName = section.trimmed();
    const QString keyName = key.trimmed();
    bool inSection = false;
    for (const Line& line : lines) {
        if (line.kind == LineKind::Section) {
            inSection = sameName(line.name, sectionName);
            continue;
        }
        if (inSection && line.kind == LineKind::Key && sameName(line.name, keyName))
            return line.value;
    }
    return {};
}

// Sets `key` in `section` of `lines` to `value`; false when it was so already (nothing changed).
bool setValue(std::vector<Line>& lines, const QString& section, const QString& key,
              const QString& value) {
    const QString sectionName = section.trimmed();
    const QString keyName = key.trimmed();
    // New lines take the file's line end; every line already there keeps its own.
    const bool crlf = std::any_of(lines.begin(), lines.end(),
                                  [](const Line& line) { return line.end == "\r\n"; });
    const QByteArray eol = crlf ? "\r\n" : "\n";
    const QByteArray newLine = (keyName + '=' + storedValue(value)).toUtf8();
    auto insertAt = [&](std::size_t at, const QByteArray& bytes) {
        if (at > 0 && lines[at - 1].end.isEmpty())
            lines[at - 1].end = eol;
        lines.insert(lines.begin() + qsizetype(at), parsedLine(bytes, eol, at == 0));
    };

    std::optional<std::size_t> lastInSection; // last non-blank line of the section
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind == LineKind::Section) {
            if (inSection)
                break; // the section ended without the key
            inSection = sameName(lines[i].name, sectionName);
            if (inSection)
                lastInSection = i;
            continue;
        }
        if (!inSection)
            continue;
        if (lines[i].kind == LineKind::Key && sameName(lines[i].name, keyName)) {
            if (lines[i].bytes == newLine)
                return false;
            lines[i] = parsedLine(newLine, lines[i].end, i == 0);
            return true;
        }
        if (!lines[i].blank)
            lastInSection = i;
    }
    if (lastInSection) {
        insertAt(*lastInSection + 1, newLine);
        return true;
    }
    if (!lines.empty() && !lines.back().blank)
        insertAt(lines.size(), QByteArray());
    insertAt(lines.size(), '[' + sectionName.toUtf8() + ']');
    insertAt(lines.size(), newLine);
    return true;
}

// The bytes of the open file `fd` to its end, `expected` of them as its size said (a file that
// grew meanwhile is read whole all the same).
std::optional<QByteArray> readToEnd(int fd, qint64 expected) {
    QByteArray bytes(std::max<qint64>(expected, 0) + 1, Qt::Uninitialized);
    qint64 have = 0;
    for (;;) {
        if (have == bytes.size())
            bytes.resize(bytes.size() * 2);
        const ssize_t got =
            ::read(fd, bytes.data() + have, static_cast<size_t>(bytes.size() - have));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        have += got;
    }
    bytes.resize(have);
    return bytes;
}

timespec now() {
    timespec time{};
    ::clock_gettime(CLOCK_REALTIME, &time);
    return time;
}

// Whether any change of the file read at `taken` is sure to change its stamp. A change made
// within the grain of the file's times (a clock tick on most file systems, a second or two on FAT
// and some network shares) may keep both its time and its size, so a file that young when read
// is read again at the next read, and taken apart again only when its bytes changed.
bool settled(const FileStamp& stamp, const timespec& taken) {
    constexpr qint64 timeGrainSeconds = 2;
    return stamp.modifiedSeconds < qint64(taken.tv_sec) - timeGrainSeconds;
}

} // namespace

struct IniProfile::KeptFile {
    FileStamp stamp;
    bool settled = false;
    std::vector<Line> lines;
};

struct IniProfile::Kept {
    std::map<QString, KeptFile> files;
};

IniProfile::IniProfile() : kept_(std::make_unique<Kept>()) {}

IniProfile::~IniProfile() = default;

Result<const IniProfile::KeptFile*> IniProfile::load(const QString& file) {
    using Loaded = Result<const KeptFile*>;
    const QByteArray path = QFile::encodeName(file);
    const auto found = kept_->files.find(file);
    struct stat st {};
    if (::stat(path.constData(), &st) != 0) {
        kept_->files.erase(file);
        return Loaded(nullptr);
    }
    if (found != kept_->files.end() && found->second.settled && found->second.stamp == StampOf(st))
        return &found->second;

    const timespec taken = now();
    // Not blocking: a FIFO in the file's place would wait for a writer.
    const Fd in(::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    std::optional<QByteArray> bytes;
    if (in.valid() && ::fstat(in.get(), &st) == 0 && S_ISREG(st.st_mode))
        bytes = readToEnd(in.get(), st.st_size);
    if (!bytes) {
        const bool gone = !in.valid() && errno == ENOENT;
        kept_->files.erase(file);
        return gone ? Loaded(nullptr) : Loaded::failed();
    }
    KeptFile& kept = kept_->files[file];
    // Unchanged bytes keep their lines: taking a huge file apart costs far more than reading it.
    if (!sameBytes(kept.lines, *bytes))
        kept.lines = splitLines(*bytes);
    kept.stamp = StampOf(st);
    kept.settled = settled(kept.stamp, taken);
    return &kept;
}

QString IniProfile::valueIn(const QByteArray& content, const QString& section, const QString& key) {
    return valueOf(splitLines(content), section, key);
}

QByteArray IniProfile::withValue(const QByteArray& content, const QString& section,
                                 const QString& key, const QString& value) {
    std::vector<Line> lines = splitLines(content);
    setValue(lines, section, key, value);
    return joinLines(lines);
}

QString IniProfile::read(const QString& file, const QString& section, const QString& key) {
    const Result<const KeptFile*> loaded = load(file);
    if (!loaded || !loaded.value)
        return {};
    return valueOf(loaded.value->lines, section, key);
}

bool IniProfile::write(const QString& file, const QString& section, const QString& key,
                       const QString& value, QString* error) {
    const Result<const KeptFile*> loaded = load(file);
    if (!loaded) {
        if (error)
            *error = QStringLiteral("Cannot read %1.").arg(QDir::toNativeSeparators(file));
        return false;
    }
    std::vector<Line> lines = loaded.value ? loaded.value->lines : std::vector<Line>{};
    // Line breaks inside a value would make new lines of their own.
    QString flat = value;
    flat.replace('\r', ' ').replace('\n', ' ');
    // A value that is already there costs no write (the play state is saved every few
    // seconds, mostly unchanged, and each write syncs the disc).
    if (!setValue(lines, section, key, flat))
        return true;

    const Result<FileStamp> replaced = ReplaceFileStamped(file, joinLines(lines));
    if (!replaced) {
        if (error)
            *error = replaced.error;
        return false;
    }
    // What was written is trusted at once, young as it is: only another program writing into
    // this very file within the grain of its times, at the same size, would go unseen, and two
    // programs writing the settings at the same moment lose one of the two writes anyway.
    // Comparing instead would read the whole file again after every write.
    KeptFile& kept = kept_->files[file];
    kept.stamp = replaced.value;
    kept.settled = true;
    kept.lines = std::move(lines);
    return true;
}

} // namespace tarl
