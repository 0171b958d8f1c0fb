#include "catalog/engine/BoundQuery.h"

#include <QSqlQuery>

namespace tarl {

QString SqlTextValue(const QString& text) {
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    const qsizetype end = nul < 0 ? text.size() : nul;
    QString stored;
    stored.reserve(end);
    for (qsizetype i = 0; i < end; ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < end && text[i + 1].isLowSurrogate()) {
            stored += c;
            stored += text[++i];
            continue;
        }
        stored += c.isSurrogate() ? QChar(QChar::ReplacementCharacter) : c;
    }
    return stored;
}

bool RunBound(QSqlQuery& query, const QString& statement, const QVariantList& values) {
    if (values.isEmpty())
        return query.exec(statement);
    if (!query.prepare(statement))
        return false;
    for (const QVariant& value : values)
        query.addBindValue(value);
    return query.exec();
}

} // namespace tarl
