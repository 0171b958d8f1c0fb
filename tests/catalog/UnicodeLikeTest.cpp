#include "catalog/engine/UnicodeLike.h"

#include "catalog/engine/Recordset.h"
#include "support/CatalogFixture.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

struct LikeCase {
    QString pattern;
    QString text;
    QString escape; // "" for none
    bool matches;
};

const LikeCase kCases[] = {
    // Wildcards, including the walks that must go back to the last "%".
    {"abc", "abd", "", false},
    {"abc", "abcd", "", false},
    {"%b%", "abc", "", true},
    {"%a%b", "xxaxxbxxb", "", true},
    {"%a%b", "xxbxxa", "", false},
    {"%aab", "aaab", "", true},
    {"%ab%ab", "abab", "", true},
    {"%ab%ab", "aba", "", false},
    {"a%%c", "ac", "", true},
    {"a_c", "ac", "", false},
    {"_%_", "a", "", false},
    {"_%_", "ab", "", true},
    {"", "", "", true},
    {"%", "", "", true},
    {"", "a", "", false},
    {"_", "", "", false},
    // Case over all of Unicode, by simple folding of each code point.
    {"%beyoncé%", "BEYONCÉ LIVE", "", true},
    {"οδοσ", "ΟΔΟς", "", true},
    {"Привет%", "пРИВЕТ мир", "", true},
    {"ǅ", "ǆ", "", true},
    {"x𐐀", "X𐐨", "", true},
    {"straße", "STRASSE", "", false},
    {"e", "é", "", false},
    // "_" is one code point, also outside the basic plane.
    {"a_b", "a😀b", "", true},
    {"a__b", "a😀b", "", false},
    // Escapes; the escape character wins over a wildcard it names.
    {"100!%", "100%", "!", true},
    {"100!%", "1000", "!", false},
    {"a!_b", "axb", "!", false},
    {"a!!b", "a!b", "!", true},
    {"%!%%", "50% off", "!", true},
    {"!A", "a", "!", true},
    {"ab!", "ab", "!", false},
    {"aé%", "a%", "é", true},
    {"a%b", "ab", "%", true},
    {"a%b", "axb", "%", false},
};

std::string Describe(const LikeCase& c) {
    return QStringLiteral("'%1' LIKE '%2' ESCAPE '%3'")
        .arg(c.text, c.pattern, c.escape)
        .toStdString();
}

TEST(UnicodeLikeTest, MatchesTheTable) {
    for (const LikeCase& c : kCases) {
        const char32_t escape = c.escape.isEmpty() ? UnicodeLike::kNoEscape : c.escape.toUcs4()[0];
        EXPECT_EQ(UnicodeLike(c.pattern, escape).matches(c.text), c.matches) << Describe(c);
    }
}

TEST(UnicodeLikeTest, PathologicalPatternsFinish) {
    // A matcher that recurses at every "%" takes exponential time on these.
    const QString text(20000, u'a');
    const QString manyRuns = QStringLiteral("%a").repeated(2000);
    EXPECT_FALSE(UnicodeLike(manyRuns + "%b").matches(text));
    EXPECT_TRUE(UnicodeLike(manyRuns + "%").matches(text));
    EXPECT_FALSE(UnicodeLike("%" + QString(200, u'a') + "b").matches(text));
    EXPECT_FALSE(UnicodeLike(QString(500, u'%') + QString(500, u'_') + "b").matches(text));
}

QString Quoted(const QString& text) {
    return "'" + QString(text).replace("'", "''") + "'";
}

using UnicodeLikeSqlTest = test::CatalogFixture;

TEST_F(UnicodeLikeSqlTest, TheCatalogsLikeIsTheUnicodeOne) {
    for (const LikeCase& c : kCases) {
        QString query = "SELECT " + Quoted(c.text) + " LIKE " + Quoted(c.pattern);
        if (!c.escape.isEmpty())
            query += " ESCAPE " + Quoted(c.escape);
        EXPECT_EQ(scalar(query), QVariant(qlonglong(c.matches))) << Describe(c);
    }
}

TEST_F(UnicodeLikeSqlTest, OperandsOfOtherKinds) {
    const QVariant null;
    const QVariant error("error");
    const struct {
        QString query;
        QVariant result;
    } cases[] = {
        {"SELECT NULL LIKE 'a'", null},
        {"SELECT 'a' LIKE NULL", null},
        {"SELECT 'a' LIKE 'a' ESCAPE NULL", null},
        {"SELECT 'A' NOT LIKE 'a'", qlonglong(0)},
        {"SELECT 1995 LIKE '19%'", qlonglong(1)},
        {"SELECT 'a' LIKE 'a' ESCAPE '!!'", error},
        {"SELECT 'a' LIKE 'a' ESCAPE ''", error},
        {"SELECT 'a' LIKE '" + QString(60000, u'%') + "'", error},
    };
    for (const auto& c : cases) {
        Recordset rows;
        const bool ran = catalog.connection.execute(c.query, rows);
        EXPECT_EQ(ran ? rows.field(0) : error, c.result) << c.query.left(60).toStdString();
    }
}

} // namespace
} // namespace tarl
