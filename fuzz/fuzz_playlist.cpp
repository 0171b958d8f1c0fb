// Playlist readers on arbitrary bytes: the text rules, the entry rule, the first entry's folder
// and the temporary playlist. Besides crashes it checks what every caller relies on: lines are
// well-formed text without line ends, folders end in "/", file names hold no "/", and a temporary
// playlist reads back exactly the paths it was written with.
#include "FuzzCheck.h"
#include "scan/PlaylistFile.h"
#include "scan/TemporaryPlaylist.h"
#include "text/PlaylistText.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

using tarl::fuzz::Check;

void CheckLines(const QStringList& lines) {
    Check(lines.size() <= tarl::kMaxPlaylistLines, "line limit");
    for (const QString& line : lines) {
        Check(QStringView(line).isValidUtf16(), "lines are well-formed text");
        Check(!line.contains(u'\r') && !line.contains(u'\n'), "lines hold no line end");
    }
}

void CheckEntries(const QStringList& lines) {
    const QStringList entries = tarl::PlaylistEntries(lines);
    for (const QString& entry : entries) {
        Check(tarl::IsPlaylistEntry(entry), "entries are entries");
        for (const QString& base : {QString(), QStringLiteral("/music/"), QStringLiteral("/")}) {
            QString folder;
            QString file;
            tarl::SplitPlaylistEntry(entry, base, &folder, &file);
            Check(folder.isEmpty() || folder.endsWith(u'/'), "folders end in a slash");
            Check(!file.contains(u'/'), "file names hold no slash");
            // Splitting a plain absolute result again gives it back: the rule is settled in
            // one pass. (Shares, drives, URL-decoded backslashes or blanks are not plain.)
            const QString path = folder + file;
            const bool plain = path.startsWith(u'/') && !path.startsWith(QLatin1String("//")) &&
                               !path.contains(u'\\') && path == path.trimmed();
            if (!base.isEmpty() && plain) {
                QString again;
                QString againFile;
                tarl::SplitPlaylistEntry(path, base, &again, &againFile);
                Check(again == folder && againFile == file, "resolved entries are stable");
            }
        }
    }
    const QString first = tarl::FirstEntryFolderOf(lines);
    Check(first.isEmpty() || first.endsWith(u'/'), "first entry folder ends in a slash");
}

// Paths cut from the text at "|", made absolute: line ends, blanks and "#" inside them must all
// survive the temporary playlist.
void CheckTemporaryPlaylist(const QByteArray& bytes) {
    const QString text = QString::fromUtf8(bytes);
    QStringList paths;
    QStringList expected;
    for (const QString& part : text.split(u'|')) {
        const QString path = u'/' + part;
        paths.append(path);
        if (!path.contains(QChar(u'\0')) && QStringView(path).isValidUtf16())
            expected.append(path);
    }
    int written = -1;
    const QByteArray playlist = tarl::TemporaryPlaylistBytes(paths, &written);
    const QStringList back = tarl::TemporaryPlaylistEntries(playlist);
    Check(written == back.size(), "one entry per written line");
    Check(back == expected, "paths read back as written");
    if (!back.isEmpty()) {
        const QString& last = back.last();
        Check(tarl::LastLineWithPath(back, last) == back.size(), "last line with a path");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const bool utf8 : {false, true}) {
        const QStringList lines = tarl::PlaylistLines(bytes, utf8);
        CheckLines(lines);
        CheckEntries(lines);
    }
    const QStringList entries = tarl::TemporaryPlaylistEntries(bytes);
    tarl::LastLineWithPath(entries, QStringLiteral("/a.mp3"));
    CheckTemporaryPlaylist(bytes);
    return 0;
}
