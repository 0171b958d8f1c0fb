#include "text/AccentFold.h"

#include <algorithm>

namespace tarl {

namespace {

// Letters that keep their stroke, bar or ligature under decomposition, by their base letters.
// Lower-case forms only: the text is case-folded first.
struct BaseOf {
    char16_t letter;
    const char16_t* base;
};
constexpr BaseOf kBaseLetters[] = {
    {u'ø', u"o"},  {u'ł', u"l"},  {u'đ', u"d"}, {u'ð', u"d"}, {u'þ', u"th"}, {u'æ', u"ae"},
    {u'œ', u"oe"}, {u'ß', u"ss"}, {u'ı', u"i"}, {u'ħ', u"h"}, {u'ŋ', u"n"},  {u'ŧ', u"t"},
    {u'ĸ', u"k"},  {u'ƀ', u"b"},  {u'ƈ', u"c"}, {u'ɗ', u"d"}, {u'ƒ', u"f"},  {u'ɠ', u"g"},
    {u'ƙ', u"k"},  {u'ƚ', u"l"},  {u'ɲ', u"n"}, {u'ƥ', u"p"}, {u'ʠ', u"q"},  {u'ƭ', u"t"},
    {u'ʋ', u"v"},  {u'ƴ', u"y"},  {u'ƶ', u"z"}, {u'ȥ', u"z"},
};

QStringView BaseLetters(char16_t c) {
    if (c < 0x80)
        return {}; // the usual case: nothing to write differently
    for (const BaseOf& entry : kBaseLetters) {
        if (entry.letter == c)
            return QStringView(entry.base);
    }
    return {};
}

// Accents and other marks set on a letter. Spacing marks stay: in the scripts that have them
// they are vowels, not accents.
bool IsCombiningMark(QChar c) {
    const QChar::Category category = c.category();
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing;
}

} // namespace

QString FoldAccents(const QString& text) {
    // Most tags are plain ASCII: for them folding is lower-casing.
    if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; }))
        return text.toLower();
    // Folded before and after the decomposition: a compatibility form may decompose into
    // capitals ("Ⅻ" into "XII"), and "ẞ" folds to the "ß" the table knows.
    const QString decomposed =
        text.toCaseFolded().normalized(QString::NormalizationForm_KD).toCaseFolded();
    QString folded;
    folded.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (IsCombiningMark(c))
            continue;
        if (const QStringView base = BaseLetters(c.unicode()); !base.isEmpty())
            folded += base;
        else
            folded += c;
    }
    return folded;
}

} // namespace tarl
