#include "text/NameOrder.h"

#include "support/QtPrinters.h"

#include <QStringList>
#include <algorithm>
#include <gtest/gtest.h>

namespace tarl {
namespace {

QStringList Sorted(QStringList names, const QLocale& locale) {
    const NameOrder order(locale);
    std::sort(names.begin(), names.end(), order);
    return names;
}

// Each language puts accented letters where its readers look for them; numbers inside names go
// by value in every language.
TEST(NameOrder, NamesComeInTheOrderOfTheUsersLanguage) {
    const QStringList names = {"Zeta", "Ólafur", "Track 10", "Émilie",
                               "abba", "Ælfric", "Track 2",  "Ebba"};
    const struct {
        const char* locale;
        QStringList expected;
    } cases[] = {
        {"en_US", {"abba", "Ælfric", "Ebba", "Émilie", "Ólafur", "Track 2", "Track 10", "Zeta"}},
        // "C" names no language: the root order, not the characters' codes.
        {"C", {"abba", "Ælfric", "Ebba", "Émilie", "Ólafur", "Track 2", "Track 10", "Zeta"}},
        {"nb_NO", {"abba", "Ebba", "Émilie", "Ólafur", "Track 2", "Track 10", "Zeta", "Ælfric"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Sorted(names, QLocale(QString::fromLatin1(c.locale))), c.expected) << c.locale;
}

// Names a reader takes for the same still come in one order, whichever way they arrive.
TEST(NameOrder, OnlyTheSameTextComparesEqual) {
    const NameOrder order(QLocale(QStringLiteral("en_US")));
    const struct {
        QString first, second;
    } pairs[] = {{"ABBA", "abba"}, {"Track 02", "Track 2"}, {"Émilie", "émilie"}};
    for (const auto& pair : pairs) {
        EXPECT_LT(order.compare(pair.first, pair.second), 0) << pair.first.toStdString();
        EXPECT_GT(order.compare(pair.second, pair.first), 0) << pair.first.toStdString();
    }
    EXPECT_EQ(order.compare(QStringLiteral("Ölüm"), QStringLiteral("Ölüm")), 0);
}

} // namespace
} // namespace tarl
