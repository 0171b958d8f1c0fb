#include "tags/GenreText.h"

#include "tags/GenreName.h"

#include <optional>

namespace tarl {

namespace {

bool IsDigits(QStringView text) {
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

// The genre a reference stands for: nullopt when `reference` is no reference, an empty text when
// it is a number the table does not name.
std::optional<QString> ReferenceName(QStringView reference) {
    if (reference == u"RX")
        return QStringLiteral("Remix");
    if (reference == u"CR")
        return QStringLiteral("Cover");
    if (!IsDigits(reference))
        return std::nullopt;
    // Long digit runs cannot be table numbers (and would overflow).
    if (reference.size() > 9)
        return QString();
    return GenreName(reference.toInt());
}

} // namespace

QString ResolveGenreText(const QString& text) {
    QStringList names;
    bool nameless = false;
    qsizetype at = 0;
    while (at < text.size() && text[at] == u'(') {
        if (at + 1 < text.size() && text[at + 1] == u'(')
            break;
        const qsizetype close = text.indexOf(u')', at + 1);
        if (close < 0)
            break;
        const std::optional<QString> name =
            ReferenceName(QStringView(text).sliced(at + 1, close - at - 1));
        if (!name)
            break;
        nameless = nameless || name->isEmpty();
        if (!name->isEmpty() && !names.contains(*name, Qt::CaseInsensitive))
            names << *name;
        at = close + 1;
    }
    QString rest = text.mid(at);
    if (rest.startsWith(u"(("))
        rest.remove(0, 1);
    if (names.isEmpty() && !nameless) {
        const std::optional<QString> bare = ReferenceName(rest);
        if (!bare)
            return rest;
        return bare->isEmpty() ? kNoGenre : *bare;
    }
    if (!rest.isEmpty() && !names.contains(rest, Qt::CaseInsensitive))
        names << rest;
    return names.isEmpty() ? kNoGenre : names.join(u'/');
}

QString ResolveGenreValues(const QStringList& values) {
    QStringList genres;
    for (const QString& value : values) {
        const QString genre = ResolveGenreText(value);
        if (genre != kNoGenre)
            genres << genre;
    }
    return genres.isEmpty() ? kNoGenre : genres.join(u'/');
}

} // namespace tarl
