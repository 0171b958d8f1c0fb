#include "history/HistoryFile.h"

#include "platform/Clock.h"
#include "platform/FileReplace.h"
#include "state/AppState.h"
#include "text/PlaylistText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <utility>

namespace tarl {
namespace {

const QString HistoryFolderName = QStringLiteral("history");

QString BackupPathOf(const QString& path) {
    return path + u'_';
}

QString WithoutLineBreaks(QString s) {
    s.replace(u'\r', u' ');
    s.replace(u'\n', u' ');
    return s;
}

QString WithoutBar(QString s) {
    s.replace(u'|', u' ');
    return WithoutLineBreaks(s);
}

// The index and the position never hold "/": the parser finds the folder by its last "/".
QString NumberField(QString s) {
    s.replace(u'/', u' ');
    return WithoutBar(s);
}

// The lines of a history file as written, empty ones skipped; none when it is missing. False
// with the reason when it exists but cannot be read whole (no permission, an I/O error, not a
// regular file): a history that was not read must never be replaced.
bool ReadLines(const QString& path, QStringList* lines, QString* error = nullptr) {
    lines->clear();
    if (!QFileInfo::exists(path))
        return true;
    // The playlist reader: the same text rules, and no wait on a FIFO in the file's place.
    Result<QStringList> read = ReadPlaylistFile(path);
    if (!read) {
        if (error)
            *error = read.error;
        return false;
    }
    *lines = std::move(read.value);
    lines->removeIf([](const QString& line) { return line.isEmpty(); });
    return true;
}

} // namespace

QString HistoryFilePath(const QString& programFolder) {
    return programFolder + HistoryFolderName + QStringLiteral("/TARLhistory.tlh");
}

QString HistoryLine(const HistoryRecord& r) {
    return QStringList{WithoutBar(r.date),   WithoutBar(r.time),        WithoutLineBreaks(r.folder),
                       NumberField(r.index), WithoutLineBreaks(r.song), NumberField(r.position)}
        .join(u'|');
}

// The fields are found on views of the line and copied once each: a line of megabytes (a song
// name another tool wrote) is not copied over and over.
HistoryRecord ParseHistoryLine(const QString& line) {
    HistoryRecord r;
    const qsizetype dateEnd = line.indexOf(u'|');
    if (dateEnd < 0) {
        r.date = line;
        return r;
    }
    r.date = line.left(dateEnd);
    const qsizetype timeEnd = line.indexOf(u'|', dateEnd + 1);
    if (timeEnd < 0) {
        r.time = line.mid(dateEnd + 1);
        return r;
    }
    r.time = line.sliced(dateEnd + 1, timeEnd - dateEnd - 1);
    const QStringView rest = QStringView(line).sliced(timeEnd + 1);

    // The folder ends in "/" and a file name holds none, so the last "/" closes the folder. A
    // folder without any "/" (empty, or not written by this program) ends at the first "|".
    const qsizetype lastSlash = rest.lastIndexOf(u'/');
    const qsizetype folderEnd = lastSlash >= 0 ? lastSlash + 1 : rest.indexOf(u'|');
    if (folderEnd < 0) {
        r.folder = rest.toString();
        return r;
    }
    r.folder = rest.left(folderEnd).toString();
    QStringView after = rest.sliced(folderEnd);
    if (after.startsWith(u'|'))
        after = after.sliced(1);

    const qsizetype indexEnd = after.indexOf(u'|');
    if (indexEnd < 0) {
        r.index = after.toString();
        return r;
    }
    r.index = after.left(indexEnd).toString();
    const QStringView songAndPosition = after.sliced(indexEnd + 1);
    const qsizetype songEnd = songAndPosition.lastIndexOf(u'|');
    if (songEnd < 0) {
        r.song = songAndPosition.toString();
        return r;
    }
    r.song = songAndPosition.left(songEnd).toString();
    r.position = songAndPosition.sliced(songEnd + 1).toString();
    return r;
}

QList<HistoryRecord> HistoryRecords(const QStringList& lines, int max) {
    QList<HistoryRecord> records;
    for (const QString& line : lines) {
        if (max >= 0 && records.size() >= max)
            break;
        if (!line.isEmpty())
            records.append(ParseHistoryLine(line));
    }
    return records;
}

QList<HistoryRecord> ReadHistory(const QString& path, int max) {
    QStringList lines;
    ReadLines(path, &lines);
    return HistoryRecords(lines, max);
}

Result<> RecordHistory(AppState& state) {
    auto fail = [](const QString& reason) { return Result<>::failed(reason); };
    const QString path = HistoryFilePath(state.programFolder);
    const QString backup = BackupPathOf(path);
    const QString folder = state.programFolder + HistoryFolderName;
    if (!QDir().mkpath(folder))
        return fail(QStringLiteral("Cannot create the folder %1").arg(folder));

    const Settings& settings = state.settings;
    const QDateTime now = state.services.clock.now();
    const QLocale locale = QLocale::system();
    HistoryRecord record;
    record.date = locale.toString(now.date(), QLocale::ShortFormat);
    record.time = locale.toString(now.time(), QLocale::ShortFormat);
    record.folder = settings.ReadSetting(keys::Player, keys::Mp3Folder.name, QString());
    record.index = settings.ReadSetting(keys::Player, keys::Mp3Index.name, QString());
    record.song = settings.ReadSetting(keys::Player, keys::Mp3Song.name, QString());
    record.position = settings.ReadSetting(keys::Player, keys::Mp3Position.name, QString());
    // Nothing has played yet (a fresh program folder): there is no play state to keep.
    if (record.folder.isEmpty() && record.song.isEmpty())
        return {};
    const QString newLine = HistoryLine(record);
    const QString key = ParseHistoryLine(newLine).folder;

    // A backup is what an interrupted write of the older design left: the history itself when
    // the file is gone, stale otherwise.
    const bool haveFile = QFileInfo::exists(path);
    QStringList older;
    QString readError;
    if (!ReadLines(haveFile ? path : backup, &older, &readError))
        return fail(readError + QStringLiteral(" (the history was left as it is)"));

    QByteArray bytes = newLine.toUtf8() + "\r\n";
    for (const QString& line : older) {
        if (ParseHistoryLine(line).folder == key)
            continue;
        bytes += line.toUtf8();
        bytes += "\r\n";
    }

    const Result<> replaced = ReplaceFile(path, bytes);
    if (!replaced)
        return replaced;
    // A backup that cannot be deleted is harmless while the file exists: it is read only in
    // the file's absence, and clearing the history deletes both.
    QFile::remove(backup);
    return {};
}

Result<> ClearHistory(const QString& programFolder) {
    const QString path = HistoryFilePath(programFolder);
    for (const QString& file : {path, BackupPathOf(path)}) {
        QFile f(file);
        if (!f.exists() || f.remove())
            continue;
        return Result<>::failed(QStringLiteral("Cannot delete %1: %2").arg(file, f.errorString()));
    }
    return {};
}

} // namespace tarl
