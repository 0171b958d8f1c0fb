#pragma once

#include "text/Result.h"

#include <QList>
#include <QString>

namespace tarl {

struct AppState;

// The play history: history/TARLhistory.tlh in the program folder, one record per line, newest
// first, one record per folder. Fields are joined by "|": date, time, folder (ending in "/"),
// playlist entry index, song file name, position in seconds. Lines are written with CRLF, UTF-8;
// reading takes CRLF, LF and CR and skips empty lines.

// programFolder (ending in "/") + "history/TARLhistory.tlh".
QString HistoryFilePath(const QString& programFolder);

struct HistoryRecord {
    QString date, time, folder, index, song, position;
    bool operator==(const HistoryRecord&) const = default;
};

// One line of the file from a record. Characters that would break the line apart are written
// as spaces: line breaks in any field, "|" in the date, time, index and position, and "/" in the
// index and position (the folder is found by its last "/").
QString HistoryLine(const HistoryRecord& r);

// A record from one line. Folder and file names may hold "|": the date and time are the first
// two fields, the folder runs up to and including the last "/" of the rest, the position follows
// the last "|", the index lies between the folder and the next "|" and the song is what remains.
HistoryRecord ParseHistoryLine(const QString& line);

// The records of the lines of a history file (as PlaylistLines reads them), empty lines skipped;
// at most `max` (all when max < 0): the pure part of ReadHistory.
QList<HistoryRecord> HistoryRecords(const QStringList& lines, int max = -1);

// The records of the history file, newest first; at most `max` (all when max < 0). None when
// the file is missing or unreadable.
QList<HistoryRecord> ReadHistory(const QString& path, int max = -1);

// Writes the record of the current play state (the settings file's Player values Mp3folder,
// Mp3_index, Mp3_song and Mp3_position, a missing value as an empty field, and the clock's date
// and time in the system's short display formats) at the top of the history file; the older
// lines follow, except those of the same folder (compared exactly). The file is replaced
// atomically (ReplaceFile), so a failure or a crash leaves the previous history whole, and a link
// in its place is replaced, never written through. A backup
// "TARLhistory.tlh_" left by an interrupted older write stands for the history when the file
// itself is missing, and is deleted once a write succeeded. With no folder and no song saved
// (nothing has played yet) nothing is written. Fails with the reason when the file
// cannot be written, or when the history (the file, or the backup standing for it) exists but
// cannot be read: it is then left as it is, never replaced by the new record alone.
Result<> RecordHistory(AppState& state);

// Deletes the history file (and a left-over backup, which would otherwise bring the cleared
// history back). Works when neither is there afterwards; fails with the reason otherwise.
Result<> ClearHistory(const QString& programFolder);

} // namespace tarl
