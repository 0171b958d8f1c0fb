#include "tags/GenreName.h"
#include "tags/GenreText.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

TEST(GenreName, TableKeepsItsNumbersAndSpellings) {
    const struct {
        int number;
        const char* name;
    } cases[] = {
        // Ends and steps of the numbering, the odd spellings catalogs hold, the newer extensions.
        {0, "Blues"},           {17, "Rock"},
        {40, "AlternRock"},     {62, "Pop/Funk"},
        {67, "Psychadelic"},    {79, "Hard Rock"},
        {80, "Folk"},           {93, "Psychedlic Rock"},
        {105, "Sonota"},        {123, "A Capella"},
        {124, "Eurohouse"},     {125, "Dance Hall"},
        {126, "Goa"},           {127, "Drum & Bass"},
        {147, "Synthpop"},      {160, "Electroclash"},
        {184, "Audio Theatre"}, {185, "Neue Deutsche Welle"},
        {191, "Psybient"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GenreName(c.number), QString::fromLatin1(c.name)) << c.number;
    for (int number = 0; number < kGenreCount; ++number)
        EXPECT_FALSE(GenreName(number).isEmpty()) << number;
    for (int outside : {-1, 192, 255, 1000})
        EXPECT_TRUE(GenreName(outside).isNull()) << outside;
}

TEST(GenreText, ReferencesAndNumbersResolveThroughTheTable) {
    const struct {
        const char* text;
        const char* genre;
    } cases[] = {
        {"(17)", "Rock"},
        {"17", "Rock"},
        {"(0)", "Blues"},
        {"(147)", "Synthpop"},
        {"147", "Synthpop"},
        // Numbers the table does not name give no genre.
        {"(255)", " "},
        {"255", " "},
        {"(192)", " "},
        {"12345678901234", " "},
        {"(17)(255)", "Rock"},
        {"(255)Trance", "Trance"},
        // Refinements after references.
        {"(17)Rock", "Rock"},
        {"(4)Eurodisco", "Disco/Eurodisco"},
        {"(17)(6)", "Rock/Grunge"},
        {"(CR)(17)", "Cover/Rock"},
        // Plain text and text that only looks like a reference.
        {"Trip-Hop", "Trip-Hop"},
        {"((17)", "(17)"},
        {"(Rock", "(Rock"},
        {"()", "()"},
        {"(abc)Jazz", "(abc)Jazz"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ResolveGenreText(QString::fromLatin1(c.text)), QString::fromLatin1(c.genre))
            << c.text;
}

TEST(GenreText, ValuesNamingNoGenreAreDropped) {
    EXPECT_EQ(ResolveGenreValues({"(17)", "255", "Trance"}), "Rock/Trance");
    EXPECT_EQ(ResolveGenreValues({"(255)", "999"}), " ");
    EXPECT_EQ(ResolveGenreValues({}), " ");
}

} // namespace
} // namespace tarl
