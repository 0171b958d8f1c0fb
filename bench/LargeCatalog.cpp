#include "LargeCatalog.h"

#include "catalog/engine/CatalogFile.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <memory>
#include <sqlite3.h>

namespace tarl::bench {

namespace {

struct DbCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct StatementFinaliser {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinaliser>;

const char* const kGenres[] = {"Rock", "Jazz", "Pop", "Blues", "Classical", "Folk", "Metal"};
const char* const kDiscDrives[] = {"/media/cdrom/", "/media/cdrom1/", "/media/cdrom/"};

// A fixed spread of numbers, so every run writes the same catalog.
quint32 Mix(quint64 n) {
    n ^= n >> 33;
    n *= 0xff51afd7ed558ccdULL;
    n ^= n >> 33;
    return quint32(n);
}

QByteArray Number(qint64 n, int width) {
    return QByteArray::number(n).rightJustified(width, '0');
}

// n items spread over `parts` parts: how many part `i` gets.
qint64 Share(qint64 n, qint64 parts, qint64 i) {
    return n / parts + (i < n % parts ? 1 : 0);
}

class Writer {
public:
    explicit Writer(sqlite3* db) : db_(db) {}

    bool prepare(Statement* statement, const char* sql) {
        sqlite3_stmt* raw = nullptr;
        const bool ok = sqlite3_prepare_v2(db_, sql, -1, &raw, nullptr) == SQLITE_OK;
        statement->reset(raw);
        return ok;
    }
    void text(sqlite3_stmt* statement, int at, const QByteArray& value) {
        sqlite3_bind_text(statement, at, value.constData(), int(value.size()), SQLITE_TRANSIENT);
    }
    // Runs a bound statement and gives the new row's id; -1 on failure.
    qint64 insert(sqlite3_stmt* statement) {
        const int result = sqlite3_step(statement);
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
        return result == SQLITE_DONE ? sqlite3_last_insert_rowid(db_) : -1;
    }
    bool exec(const char* sql) { return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == 0; }
    QString error() const { return QString::fromUtf8(sqlite3_errmsg(db_)); }

private:
    sqlite3* db_;
};

struct Volume {
    QByteArray name;
    bool disc = false;
};

Volume VolumeAt(qint64 v) {
    if (v % 10 < 3) {
        // Discs: most from the CD drives' fixed roots, some from a folder the desktop made.
        if (v % 4 == 3)
            return {"/media/ann/MP3_" + Number(v, 5) + "/", true};
        return {kDiscDrives[v % 3], true};
    }
    if (v % 20 == 7)
        return {"/srv/mp3 " + Number(v, 5) + "/", false};
    return {"/home/ann/music/genre " + Number(Mix(v) % 40, 2) + "/artist " + Number(v, 5) + "/",
            false};
}

// The file field of list `k` of a volume.
QByteArray ListFile(const Volume& volume, qint64 v, qint64 k) {
    if (volume.disc && k == 0 && v % 5 == 0)
        return "."; // the tracks at the disc's root
    if (k % 3 == 2)
        return (volume.disc ? "mix " : "best of ") + QByteArray::number(k) + ".m3u";
    return "album " + QByteArray::number(k) + "/";
}

// Syllables of several languages; a word is two or three of them.
const char* const kSyllables[] = {
    "ka",  "lé",  "mø", "ri", "sö", "na",  "tä", "be",  "ßa", "lu", "ño", "vi", "ça", "de", "ję",
    "ło",  "gra", "zé", "fu", "hå", "bri", "mo", "ste", "ku", "ðo", "þi", "pa", "rè", "wa", "çi",
    "dró", "ny",  "ką", "Σα", "λί", "дo",  "ша", "ja",  "va", "mu", "ør", "in", "es", "al", "ün",
    "go",  "se",  "ti", "la", "ma", "no",  "ro", "si",  "ve", "ha", "qu", "xo", "ye", "zu", "ae"};

// Word i of the vocabulary, capitalised now and then, or written all in capitals.
QByteArray Word(quint32 i) {
    constexpr quint32 kCount = std::size(kSyllables);
    QString word;
    const int syllables = 2 + int(i % 2);
    for (int s = 0; s < syllables; ++s, i /= kCount)
        word += QString::fromUtf8(kSyllables[i % kCount]);
    const quint32 form = Mix(i) % 10;
    if (form < 4)
        word[0] = word[0].toUpper();
    else if (form == 4)
        word = word.toUpper();
    return word.toUtf8();
}

// `count` words of the vocabulary picked by `seed`; common words far more often than rare ones.
QByteArray Words(quint64 seed, int count) {
    QByteArray words;
    for (int n = 0; n < count; ++n) {
        const quint32 r = Mix(seed * 7 + quint64(n) + 1);
        // Squaring a uniform pick skews it towards the start of the vocabulary.
        const quint64 u = r % 1000000;
        const auto index = quint32(u * u / 50000000);
        if (n > 0)
            words += ' ';
        words += Word(index);
    }
    return words;
}

} // namespace

Result<LargeCatalogCounts> MakeLargeCatalog(const QString& path, qint64 volumes, qint64 lists,
                                            qint64 tracks, qint64 styles, TrackNames names) {
    const auto fail = [](const QString& why) { return Result<LargeCatalogCounts>::failed(why); };
    if (volumes <= 0 || lists < 0 || tracks < 0 || styles < 0)
        return fail(QStringLiteral("The counts must not be negative, and there must be volumes."));
    const Result<> created = CreateCatalog(path);
    if (!created)
        return fail(created.error);

    sqlite3* raw = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, SQLITE_OPEN_READWRITE,
                        nullptr) != SQLITE_OK) {
        sqlite3_close(raw);
        return fail(QStringLiteral("Cannot open %1.").arg(path));
    }
    const std::unique_ptr<sqlite3, DbCloser> db(raw);
    Writer w(db.get());
    // A corpus, not a user's catalog: no need to wait for the disc.
    if (!w.exec("PRAGMA synchronous = OFF") || !w.exec("BEGIN"))
        return fail(w.error());

    Statement style, volume, list, track;
    if (!w.prepare(&style, "INSERT INTO Nick (nick) VALUES (?)") ||
        !w.prepare(&volume, "INSERT INTO CD (name,m3us,label,isCd,labelcd) VALUES (?,?,?,?,?)") ||
        !w.prepare(&list, "INSERT INTO M3u (path,file,cd_id,mp3s,nick) VALUES (?,?,?,0,?)") ||
        !w.prepare(&track, "INSERT INTO Mp3 (path,file,m3u_id,title,artist,album,year,genre,"
                           "comments,size,time) VALUES (?,?,?,?,?,?,?,?,?,?,?)"))
        return fail(w.error());

    LargeCatalogCounts made;
    for (qint64 s = 0; s < styles; ++s) {
        w.text(style.get(), 1, "Style " + Number(s + 1, 3));
        if (w.insert(style.get()) < 0)
            return fail(w.error());
    }
    made.styles = styles;

    qint64 listIndex = 0;
    for (qint64 v = 0; v < volumes; ++v) {
        const Volume at = VolumeAt(v);
        const qint64 volumeLists = Share(lists, volumes, v);
        w.text(volume.get(), 1, at.name);
        sqlite3_bind_int64(volume.get(), 2, volumeLists);
        if (at.disc) {
            w.text(volume.get(), 3, "Disc " + Number(v, 5));
            w.text(volume.get(), 4, "1");
            w.text(volume.get(), 5, "Mp3_" + Number(v, 5));
        } else {
            w.text(volume.get(), 3, "EOF");
            w.text(volume.get(), 4, "0");
        }
        const qint64 volumeId = w.insert(volume.get());
        if (volumeId < 0)
            return fail(w.error());
        ++(at.disc ? made.discVolumes : made.hardDiscVolumes);

        for (qint64 k = 0; k < volumeLists; ++k, ++listIndex) {
            const QByteArray file = ListFile(at, v, k);
            const quint32 pick = Mix(quint64(listIndex) + 0x9e3779b9ULL);
            const qint64 nick = styles > 0 && pick % 10 < 6 ? 1 + qint64(pick / 10 % styles) : 0;
            w.text(list.get(), 1, at.name);
            w.text(list.get(), 2, file);
            sqlite3_bind_int64(list.get(), 3, volumeId);
            sqlite3_bind_int64(list.get(), 4, nick);
            const qint64 listId = w.insert(list.get());
            if (listId < 0)
                return fail(w.error());
            ++made.lists;
            made.styledLists += nick ? 1 : 0;

            // A folder list's tracks lie in it; a playlist's in a folder beside it.
            QByteArray folder = at.name;
            if (file.endsWith('/'))
                folder += file;
            else if (file != ".")
                folder += "songs/";
            const qint64 listTracks = Share(tracks, lists, listIndex);
            for (qint64 n = 0; n < listTracks; ++n) {
                const QByteArray number = QByteArray::number(n + 1);
                const quint32 r = Mix(quint64(made.tracks));
                const bool varied = names == TrackNames::Varied;
                const QByteArray title =
                    varied ? Words(quint64(made.tracks), 2 + int(r % 3))
                           : "Song " + number + " of list " + QByteArray::number(listId);
                w.text(track.get(), 1,
                       Number(n + 1, 2) + (varied ? " - " + title : " - Song " + number) + ".mp3");
                w.text(track.get(), 2, folder);
                sqlite3_bind_int64(track.get(), 3, listId);
                w.text(track.get(), 4, title);
                w.text(track.get(), 5,
                       varied ? Words(quint64(v) << 32, 1 + int(v % 3)) : "Artist " + Number(v, 5));
                w.text(track.get(), 6,
                       varied ? Words(quint64(listId) << 20, 1 + int(listId % 4))
                              : "Album " + QByteArray::number(k));
                w.text(track.get(), 7, QByteArray::number(1960 + r % 60));
                w.text(track.get(), 8, kGenres[r % std::size(kGenres)]);
                w.text(track.get(), 9, " ");
                w.text(track.get(), 10,
                       QByteArray::number(2 + r % 8) + "." + QByteArray::number(r / 8 % 100) + "M");
                sqlite3_bind_int64(track.get(), 11, 90 + r % 400);
                if (w.insert(track.get()) < 0)
                    return fail(w.error());
                ++made.tracks;
            }
        }
    }
    if (!w.exec("COMMIT"))
        return fail(w.error());
    return {made};
}

} // namespace tarl::bench
