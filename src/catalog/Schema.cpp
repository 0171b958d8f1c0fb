#include "catalog/Schema.h"

namespace tarl {

const QStringList& Schema::TableNames() {
    static const QStringList names{"CD", "M3u", "Mp3", "Nick"};
    return names;
}

const QStringList& Schema::TableStatements() {
    // The column order is part of the format: the library tree and the search read rows of
    // "SELECT *" by position. isCd is written as '1'/'0' text; INTEGER affinity stores numbers.
    static const QStringList statements{
        "CREATE TABLE CD (id INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT, m3us INTEGER, "
        "label TEXT, isCd INTEGER, labelcd TEXT)",
        "CREATE TABLE M3u (id INTEGER PRIMARY KEY AUTOINCREMENT, path TEXT, file TEXT, "
        "cd_id INTEGER, mp3s INTEGER, nick INTEGER DEFAULT 0)",
        "CREATE TABLE Mp3 (id INTEGER PRIMARY KEY AUTOINCREMENT, file TEXT, path TEXT, "
        "m3u_id INTEGER, title TEXT, artist TEXT, album TEXT, year TEXT, genre TEXT, "
        "comments TEXT, size TEXT, time INTEGER, rating TEXT)",
        "CREATE TABLE Nick (id INTEGER PRIMARY KEY AUTOINCREMENT, nick TEXT)",
    };
    return statements;
}

const QStringList& Schema::IndexStatements() {
    // Each index serves the look-ups named beside it; a look-up on a leading part of an index
    // (CD by name alone, Mp3 by m3u_id alone) uses that index too.
    static const QStringList statements{
        // A volume by (name, label), by name alone.
        "CREATE INDEX IF NOT EXISTS CD_name_label ON CD (name, label)",
        // A volume by label: label checks, CD volumes of the library tree.
        "CREATE INDEX IF NOT EXISTS CD_label ON CD (label)",
        // A list by (path, file) and by (path, file, cd_id).
        "CREATE INDEX IF NOT EXISTS M3u_path_file_cd ON M3u (path, file, cd_id)",
        // The lists of a volume, when the volume is deleted or shown.
        "CREATE INDEX IF NOT EXISTS M3u_cd_id ON M3u (cd_id)",
        // The lists of a style, when the style is deleted or shown.
        "CREATE INDEX IF NOT EXISTS M3u_nick ON M3u (nick)",
        // The tracks of a list, and a track by (list, path, file) before it is added.
        "CREATE INDEX IF NOT EXISTS Mp3_m3u_path_file ON Mp3 (m3u_id, path, file)",
        // A track by its full path (path, file), whatever its list: its length while it plays.
        "CREATE INDEX IF NOT EXISTS Mp3_path_file ON Mp3 (path, file)",
        // A style by name.
        "CREATE INDEX IF NOT EXISTS Nick_nick ON Nick (nick)",
    };
    return statements;
}

} // namespace tarl
