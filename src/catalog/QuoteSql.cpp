#include "catalog/QuoteSql.h"

namespace tarl {

namespace {

// The text as the engine stores it from a quoted literal; `doubleQuotes` writes each quote twice
// for the literal itself.
QString CleanText(const QString& text, bool doubleQuotes) {
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    const qsizetype end = nul < 0 ? text.size() : nul;
    QString quoted;
    quoted.reserve(end + 8);
    for (qsizetype i = 0; i < end; ++i) {
        const QChar c = text[i];
        if (doubleQuotes && c == u'\'') {
            quoted += QStringLiteral("''");
            continue;
        }
        // The engine reads statements as UTF-16 and takes any surrogate together with the unit
        // after it, so a lone one would swallow the next character, a closing quote included.
        if (c.isHighSurrogate() && i + 1 < end && text[i + 1].isLowSurrogate()) {
            quoted += c;
            quoted += text[++i];
            continue;
        }
        quoted += c.isSurrogate() ? QChar(QChar::ReplacementCharacter) : c;
    }
    return quoted;
}

} // namespace

QString QuoteSql(const QString& text) {
    return CleanText(text, true);
}

QString SqlTextValue(const QString& text) {
    return CleanText(text, false);
}

} // namespace tarl
