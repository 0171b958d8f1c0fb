#include "history/Favorites.h"

#include "platform/FileReplace.h"
#include "state/AppState.h"
#include "text/HexDigit.h"
#include "text/MenuCaption.h"
#include "text/PathText.h"
#include "text/PlaylistText.h"

#include <QDir>
#include <QFileInfo>
#include <limits>
#include <optional>
#include <utility>

namespace tarl {
namespace {

const QString FavoritesFolderName = QStringLiteral("favorites");
constexpr int kFieldCount = 5;

bool IsControl(char16_t c) {
    return c < 0x20 || c == 0x7F;
}

// "%" and the control characters as "%XX"; everything else as it is.
QString Escaped(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'%' || IsControl(u))
            out += QStringLiteral("%%1").arg(int(u), 2, 16, QLatin1Char('0')).toUpper();
        else
            out += c;
    }
    return out;
}

// The text of an escaped field; nothing when an escape is cut or not hexadecimal.
std::optional<QString> Unescaped(QStringView field) {
    QString out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] != u'%') {
            out += field[i];
            continue;
        }
        if (i + 2 >= field.size())
            return std::nullopt;
        const char16_t high = field[i + 1].unicode();
        const char16_t low = field[i + 2].unicode();
        const int h = high < 0x80 ? HexDigitValue(char(high)) : -1;
        const int l = low < 0x80 ? HexDigitValue(char(low)) : -1;
        if (h < 0 || l < 0)
            return std::nullopt;
        out += QChar(char16_t(h * 16 + l));
        i += 2;
    }
    return out;
}

// A count of zero or more written in decimal digits alone.
std::optional<qint64> Count(QStringView field) {
    if (field.isEmpty() || field.size() > 18)
        return std::nullopt;
    for (const QChar c : field)
        if (c < u'0' || c > u'9')
            return std::nullopt;
    return field.toLongLong();
}

// A name as a menu and a line show it: control characters as spaces, no blanks at the ends.
QString CleanName(QString name) {
    for (QChar& c : name)
        if (IsControl(c.unicode()))
            c = u' ';
    return name.trimmed();
}

const QString NeedsAName = QStringLiteral("A favorite needs a name.");

} // namespace

QString FavoriteProposal(const AppState& state) {
    QString folderPart;
    if (!state.lastFolder.isEmpty())
        folderPart = LastPathPart(state.lastFolder) + u'/';
    return folderPart + QStringLiteral(" (") + QString::number(state.lastIndex) +
           QStringLiteral(") ") + state.lastSong;
}

QString FavoritesFilePath(const QString& programFolder) {
    return programFolder + FavoritesFolderName + QStringLiteral("/TARLfavorites.tlf");
}

QString FavoriteLine(const Favorite& f) {
    return QStringList{Escaped(f.name), Escaped(f.folder), QString::number(f.index),
                       Escaped(f.song), QString::number(f.position)}
        .join(u'\t');
}

Result<Favorite> ParseFavoriteLine(const QString& line) {
    const auto damaged = [](const char* why) {
        return Result<Favorite>::failed(QString::fromLatin1(why));
    };
    const QList<QStringView> fields = QStringView(line).split(u'\t');
    if (fields.size() != kFieldCount)
        return damaged("not five fields");
    const std::optional<QString> name = Unescaped(fields[0]);
    const std::optional<QString> folder = Unescaped(fields[1]);
    const std::optional<qint64> index = Count(fields[2]);
    const std::optional<QString> song = Unescaped(fields[3]);
    const std::optional<qint64> position = Count(fields[4]);
    if (!name || !folder || !song)
        return damaged("a bad escape");
    if (!index || *index > std::numeric_limits<qint32>::max() || !position)
        return damaged("an entry or second that is no count");
    if (name->isEmpty() || song->isEmpty() || song->contains(u'/'))
        return damaged("no name, or no file name");
    if (!folder->endsWith(u'/'))
        return damaged("a folder not ending in /");
    return Favorite{*name, *folder, qint32(*index), *song, *position};
}

Result<QList<Favorite>> ReadFavorites(const QString& programFolder) {
    const QString path = FavoritesFilePath(programFolder);
    if (!QFileInfo::exists(path))
        return QList<Favorite>();
    // The playlist reader: its bounds, its line ends, and no wait on a FIFO in the file's place.
    const Result<QStringList> lines = ReadPlaylistFile(path);
    if (!lines)
        return Result<QList<Favorite>>::failed(lines.error);
    QList<Favorite> favorites;
    for (const QString& line : lines.value) {
        Result<Favorite> favorite = ParseFavoriteLine(line);
        if (favorite)
            favorites.append(std::move(favorite.value));
    }
    return favorites;
}

Result<> WriteFavorites(const QString& programFolder, const QList<Favorite>& favorites) {
    const QString folder = programFolder + FavoritesFolderName;
    if (!QDir().mkpath(folder))
        return Result<>::failed(QStringLiteral("Cannot create the folder %1").arg(folder));
    QByteArray bytes;
    for (const Favorite& favorite : favorites)
        bytes += FavoriteLine(favorite).toUtf8() + "\r\n";
    return ReplaceFile(FavoritesFilePath(programFolder), bytes);
}

Result<> SongToKeep(const AppState& state) {
    if (state.lastFolder.isEmpty() || state.lastSong.isEmpty())
        return Result<>::failed(
            QStringLiteral("Nothing has played yet: play a song, then add it to your favorites."));
    return {};
}

Result<Favorite> FavoriteOfPlayState(const AppState& state, const QString& name) {
    if (const Result<> playing = SongToKeep(state); !playing)
        return Result<Favorite>::failed(playing.error);
    Favorite favorite{CleanName(name), WithTrailingSlash(state.lastFolder), state.lastIndex,
                      state.lastSong, state.lastPosition};
    if (favorite.name.isEmpty())
        return Result<Favorite>::failed(NeedsAName);
    return favorite;
}

QString FavoriteCaption(int i, const Favorite& favorite) {
    return MenuCaption(QString::number(i) + QStringLiteral(")  ") + favorite.name);
}

QStringList FavoriteCaptions(const QList<Favorite>& favorites) {
    QStringList captions;
    for (qsizetype i = 0; i < favorites.size() && i < kFavoritesMenuEntries; ++i)
        captions << FavoriteCaption(int(i) + 1, favorites[i]);
    return captions;
}

FavoritesList::FavoritesList(QString programFolder) : programFolder_(std::move(programFolder)) {}

Result<> FavoritesList::load() {
    Result<QList<Favorite>> read = ReadFavorites(programFolder_);
    items_ = std::move(read.value);
    readError_ = read.error;
    if (!read)
        return Result<>::failed(read.error);
    return {};
}

Result<> FavoritesList::save(QList<Favorite> changed) {
    if (!readError_.isEmpty())
        return Result<>::failed(readError_ +
                                QStringLiteral(" (the favorites were left as they are)"));
    if (const Result<> written = WriteFavorites(programFolder_, changed); !written)
        return written;
    items_ = std::move(changed);
    return {};
}

Result<> FavoritesList::add(const Favorite& favorite) {
    QList<Favorite> changed = items_;
    changed.prepend(favorite);
    return save(std::move(changed));
}

Result<> FavoritesList::remove(int index) {
    if (index < 0 || index >= items_.size())
        return {};
    QList<Favorite> changed = items_;
    changed.removeAt(index);
    return save(std::move(changed));
}

Result<> FavoritesList::rename(int index, const QString& name) {
    if (index < 0 || index >= items_.size())
        return {};
    const QString cleaned = CleanName(name);
    if (cleaned.isEmpty())
        return Result<>::failed(NeedsAName);
    QList<Favorite> changed = items_;
    changed[index].name = cleaned;
    return save(std::move(changed));
}

Result<> FavoritesList::move(int index, int by) {
    const qsizetype to = qsizetype(index) + by;
    if (index < 0 || index >= items_.size() || to < 0 || to >= items_.size() || by == 0)
        return {};
    QList<Favorite> changed = items_;
    changed.move(index, to);
    return save(std::move(changed));
}

} // namespace tarl
