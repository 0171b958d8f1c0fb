#include "text/NameOrder.h"

namespace tarl {

namespace {

QLocale LanguageOf(const QLocale& locale) {
    // English collates by the Unicode root order with nothing changed.
    if (locale.language() == QLocale::C)
        return QLocale(QLocale::English, QLocale::UnitedStates);
    return locale;
}

} // namespace

NameOrder::NameOrder() : NameOrder(QLocale()) {}

NameOrder::NameOrder(const QLocale& locale) : collator_(LanguageOf(locale)) {
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
    collator_.setNumericMode(true);
    collator_.setIgnorePunctuation(false);
}

int NameOrder::compare(const QString& a, const QString& b) const {
    if (const int order = collator_.compare(a, b); order != 0)
        return order;
    return a.compare(b);
}

} // namespace tarl
