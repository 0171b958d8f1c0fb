#pragma once

#include "text/Result.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace tarl {

struct AppState;

// The favourites: songs the user named, each kept with the folder it played from, its entry in
// the player's list, its file name and the second it had reached, so it can be played again at
// that place. They live in favorites/TARLfavorites.tlf in the program folder, one favourite a line,
// newest first, UTF-8, lines ended by CRLF (reading takes CRLF, LF and CR). A line holds five
// fields joined by a tab: name, folder (ending in "/"), entry, file name, second. In the text
// fields "%" and every control character (the tab and the line ends among them) are written as
// "%XX" (two hexadecimal digits), so no name, folder or file name can split a line or a field.
// A line that does not read back as five such fields (a damaged file, another program's edit)
// is passed over; the others stay. Favourites are kept by path, never by a catalog id: they
// survive a catalog change and play wherever the tree shows their folder.

// The name "Add to favorites" proposes for the song playing: the last component of its folder
// followed by "/" (nothing at all while no folder is known), " (", the playlist entry index,
// ") " and the song's file name.
QString FavoriteProposal(const AppState& state);

struct Favorite {
    QString name;
    QString folder;      // the song's folder as the catalog stores it, ending in "/"
    qint32 index = 0;    // the player's entry when it was added
    QString song;        // the file name
    qint64 position = 0; // seconds
    bool operator==(const Favorite&) const = default;
};

// programFolder (ending in "/") + "favorites/TARLfavorites.tlf".
QString FavoritesFilePath(const QString& programFolder);

// One line of the file, without its line end.
QString FavoriteLine(const Favorite& favorite);
// The favourite of one line; failed (with why, for the tests) when the line is damaged: not five
// fields, a bad escape, an empty name or song, a folder not ending in "/", a song holding "/",
// an entry or second that is no number of zero or more.
Result<Favorite> ParseFavoriteLine(const QString& line);

// The favourites of the file, newest first; none when it is missing. Failed, with the reason,
// when it exists but cannot be read whole: such a file is never replaced.
Result<QList<Favorite>> ReadFavorites(const QString& programFolder);
// Replaces the file with these favourites (the folder made when missing), atomically
// (ReplaceFile): a failure or a crash leaves the previous file whole.
Result<> WriteFavorites(const QString& programFolder, const QList<Favorite>& favorites);

// Fails with a sentence when nothing has played yet: there is no song to keep.
Result<> SongToKeep(const AppState& state);

// The favourite of the song playing (AppState's lastFolder, lastIndex, lastSong and
// lastPosition, the second the now-playing tracking saved last) under `name`, its line breaks and
// other control characters made spaces and its blanks at the ends dropped. Fails with a sentence
// when nothing has played yet (SongToKeep) or the name is empty.
Result<Favorite> FavoriteOfPlayState(const AppState& state, const QString& name);

// The Favorites menu: a caption a favourite, newest first, at most kFavoritesMenuEntries. Entry i
// (from 1) reads i + ")  " + its name, as a MenuCaption (each "&" doubled).
inline constexpr int kFavoritesMenuEntries = 20;
QString FavoriteCaption(int i, const Favorite& favorite);
QStringList FavoriteCaptions(const QList<Favorite>& favorites);

// The favourites as the menu and the organising dialog change them. Each change is written to
// the file at once; one that cannot be written leaves both the file and the list as they were
// and fails with the reason. A list whose file could not be read refuses every change, so a
// file read in part is never replaced by that part.
class FavoritesList {
public:
    explicit FavoritesList(QString programFolder);

    // Reads the file again; fails with the reason when it exists but cannot be read.
    Result<> load();
    const QList<Favorite>& items() const { return items_; }

    // At the top: the newest first.
    Result<> add(const Favorite& favorite);
    // Each does nothing for an index out of range.
    Result<> remove(int index);
    // An empty name (once trimmed) is refused with a sentence.
    Result<> rename(int index, const QString& name);
    // One place up (by -1) or down (by 1); nothing past either end.
    Result<> move(int index, int by);

private:
    Result<> save(QList<Favorite> changed);

    QString programFolder_;
    QList<Favorite> items_;
    QString readError_;
};

} // namespace tarl
