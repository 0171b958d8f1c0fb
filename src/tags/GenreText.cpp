#include "tags/GenreText.h"

#include "tags/GenreName.h"

#include <QStringList>

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

// The genre a reference stands for; empty when `reference` is no reference.
QString ReferenceName(QStringView reference) {
    if (reference == u"RX")
        return QStringLiteral("Remix");
    if (reference == u"CR")
        return QStringLiteral("Cover");
    if (!IsDigits(reference))
        return {};
    // Long digit runs cannot be table numbers; they stay as written rather than overflow.
    if (reference.size() > 9)
        return reference.toString();
    const int number = reference.toInt();
    const QString name = GenreName(number);
    return name.isNull() ? QString::number(number) : name;
}

} // namespace

QString ResolveGenreText(const QString& text) {
    QStringList names;
    qsizetype at = 0;
    while (at < text.size() && text[at] == u'(') {
        if (at + 1 < text.size() && text[at + 1] == u'(')
            break;
        const qsizetype close = text.indexOf(u')', at + 1);
        if (close < 0)
            break;
        const QString name = ReferenceName(QStringView(text).sliced(at + 1, close - at - 1));
        if (name.isEmpty())
            break;
        if (!names.contains(name, Qt::CaseInsensitive))
            names << name;
        at = close + 1;
    }
    QString rest = text.mid(at);
    if (rest.startsWith(u"(("))
        rest.remove(0, 1);
    if (names.isEmpty()) {
        const QString bare = ReferenceName(rest);
        return bare.isEmpty() ? rest : bare;
    }
    if (!rest.isEmpty() && !names.contains(rest, Qt::CaseInsensitive))
        names << rest;
    return names.join(u'/');
}

} // namespace tarl
