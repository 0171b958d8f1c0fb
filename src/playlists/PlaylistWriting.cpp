#include "playlists/PlaylistWriting.h"

#include "platform/FileReplace.h"
#include "text/PlaylistText.h"

#include <QFileInfo>

namespace tarl {
namespace {

const QString Header = QStringLiteral("#EXTM3U");
// What a file name may take on Linux's file systems, in bytes.
constexpr qsizetype kMaxFileNameBytes = 255;

bool IsControl(QChar c) {
    return c.unicode() < 0x20 || c.unicode() == 0x7F;
}

QString WithoutControls(QString text) {
    for (QChar& c : text)
        if (IsControl(c))
            c = u' ';
    return text.trimmed();
}

QStringList PartsOf(const QString& path) {
    return path.split(u'/', Qt::SkipEmptyParts);
}

// A relative path every reader would take as something else.
bool NeedsUrl(const QString& path, const QString& relative) {
    for (const QChar c : path)
        if (IsControl(c) || c == u'\\')
            return true;
    return IsPlaylistBlank(relative.back());
}

bool NeedsOwnFolderMark(const QString& relative) {
    const QString first = relative.section(u'/', 0, 0);
    return relative.front() == u'#' || IsPlaylistBlank(relative.front()) || first.contains(u':');
}

} // namespace

QString PlaylistEntryFor(const QString& trackPath, const QString& playlistFolder) {
    const QStringList track = PartsOf(trackPath);
    const QStringList folder = PartsOf(playlistFolder);
    qsizetype common = 0;
    while (common < folder.size() && common + 1 < track.size() && folder[common] == track[common])
        ++common;
    QString relative;
    for (qsizetype i = common; i < folder.size(); ++i)
        relative += QStringLiteral("../");
    relative += track.mid(common).join(u'/');
    if (relative.isEmpty() || NeedsUrl(trackPath, relative))
        return FileUrlOf(trackPath);
    if (NeedsOwnFolderMark(relative))
        return QStringLiteral("./") + relative;
    return relative;
}

QString ExtinfLine(const PlaylistTrack& track) {
    const QString artist = WithoutControls(track.artist);
    const QString title = WithoutControls(track.title);
    if (artist.isEmpty() && title.isEmpty())
        return {};
    QString shown = artist.isEmpty() ? title : artist;
    if (!artist.isEmpty() && !title.isEmpty())
        shown = artist + QStringLiteral(" - ") + title;
    const qint64 seconds = track.seconds > 0 ? track.seconds : -1;
    return QStringLiteral("#EXTINF:") + QString::number(seconds) + u',' + shown;
}

QByteArray PlaylistBytes(const QStringList& lines, const QList<PlaylistTrack>& tracks,
                         const QString& playlistFolder) {
    QStringList out;
    if (lines.isEmpty() || lines.first().trimmed() != Header)
        out << Header;
    out << lines;
    for (const PlaylistTrack& track : tracks) {
        const QString extinf = ExtinfLine(track);
        if (!extinf.isEmpty())
            out << extinf;
        out << PlaylistEntryFor(track.path, playlistFolder);
    }
    return out.join(u'\n').toUtf8() + '\n';
}

Result<> WritePlaylist(const QString& path, const QList<PlaylistTrack>& tracks, bool append) {
    QStringList lines;
    if (append && QFileInfo::exists(path)) {
        Result<QStringList> read = ReadPlaylistFile(path);
        if (!read)
            return Result<>::failed(read.error +
                                    QStringLiteral(" (the playlist was left as it is)"));
        lines = std::move(read.value);
    }
    const QString folder = QFileInfo(path).path() + u'/';
    return ReplaceFile(path, PlaylistBytes(lines, tracks, folder));
}

Result<QString> PlaylistFileName(const QString& typed) {
    const QString name = typed.trimmed();
    const auto refuse = [&](const QString& why) {
        return Result<QString>::failed(
            QStringLiteral("\"%1\" cannot name a playlist: %2").arg(WithoutControls(typed), why));
    };
    if (name.isEmpty())
        return Result<QString>::failed(QStringLiteral("A playlist needs a name."));
    if (name.count(u'.') == name.size())
        return refuse(QStringLiteral("a name of dots alone names a folder."));
    for (const QChar c : name) {
        if (c == u'/' || c == u'\\')
            return refuse(QStringLiteral("a name may not hold \"/\" or \"\\\"."));
        if (IsControl(c))
            return refuse(QStringLiteral("a name may not hold a line break or a tab."));
    }
    QString file = name;
    if (!file.endsWith(QLatin1String(".m3u8"), Qt::CaseInsensitive))
        file += QStringLiteral(".m3u8");
    if (file.toUtf8().size() > kMaxFileNameBytes)
        return refuse(QStringLiteral("the name is longer than a file name may be."));
    return file;
}

} // namespace tarl
