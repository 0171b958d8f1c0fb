// The history file on arbitrary bytes, read as its reader reads a file's bytes. Then the input is
// taken as records (fields apart at byte 1, records at byte 2), written the way the history is
// written (one line each, UTF-8, CRLF) and read back: every record must come back as written,
// with only the characters the line format cannot hold turned into blanks. The records are the
// ones the program writes: a folder ending in "/" (or none) and a file name without "/".
#include "FuzzCheck.h"
#include "history/HistoryFile.h"
#include "text/PlaylistText.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

using tarl::fuzz::Check;

QString Blanked(QString s, const QString& characters) {
    for (const QChar c : characters)
        s.replace(c, u' ');
    return s;
}

tarl::HistoryRecord RecordOf(const QString& text) {
    QStringList fields = text.split(u'\x01');
    while (fields.size() < 6)
        fields.append(QString());
    tarl::HistoryRecord r{fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]};
    // A date is the locale's: it never opens with U+FEFF, which at the start of the file would
    // read as its byte order mark.
    while (r.date.startsWith(QChar(0xFEFF)))
        r.date.remove(0, 1);
    if (!r.folder.isEmpty() && !r.folder.endsWith(u'/'))
        r.folder += u'/';
    r.song.replace(u'/', u'_');
    return r;
}

// What the line format keeps of a record.
tarl::HistoryRecord Kept(tarl::HistoryRecord r) {
    const QString breaks = QStringLiteral("\r\n");
    r.date = Blanked(r.date, QStringLiteral("|\r\n"));
    r.time = Blanked(r.time, QStringLiteral("|\r\n"));
    r.folder = Blanked(r.folder, breaks);
    r.index = Blanked(r.index, QStringLiteral("|/\r\n"));
    r.song = Blanked(r.song, breaks);
    r.position = Blanked(r.position, QStringLiteral("|/\r\n"));
    return r;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // The file's lines as its reader takes them (the playlist text rules), then its records.
    const QStringList lines = tarl::PlaylistLines(bytes);
    Check(tarl::HistoryRecords(lines, 1).size() <= 1, "at most the records asked for");
    for (const tarl::HistoryRecord& record : tarl::HistoryRecords(lines))
        tarl::HistoryLine(record);

    QList<tarl::HistoryRecord> records;
    QByteArray written;
    for (const QString& text : QString::fromUtf8(bytes).split(u'\x02')) {
        const tarl::HistoryRecord record = RecordOf(text);
        records.append(Kept(record));
        written += tarl::HistoryLine(record).toUtf8() + "\r\n";
    }
    const QList<tarl::HistoryRecord> back = tarl::HistoryRecords(tarl::PlaylistLines(written));
    Check(back.size() == records.size(), "one record per line written");
    for (qsizetype i = 0; i < back.size(); ++i)
        Check(back[i] == records[i], "records read back as written");
    return 0;
}
