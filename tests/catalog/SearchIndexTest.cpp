#include "catalog/SearchIndex.h"

#include "RawSqlite.h"
#include "support/CatalogFixture.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <random>

namespace tarl {
namespace {

TEST(TrigramQuery, AsksForEveryTrigramOfEachRunLongEnough) {
    const struct {
        const char* name;
        QString pattern;
        bool foldRuns;
        std::optional<QString> query;
    } cases[] = {
        {"two letters: the index cannot answer", "ab", true, std::nullopt},
        {"wildcards leave no run of three", "ab%cd_ef", true, std::nullopt},
        {"one trigram", "abc", true, R"({title} : ("abc"))"},
        {"runs between wildcards, each trigram once", "xyzx%abcd_yzx", true,
         R"({title} : ("xyz" AND "yzx" AND "abc" AND "bcd"))"},
        {"folded when raw", "ÉLÅ", true, R"({title} : ("ela"))"},
        {"kept when folded already", "ÉLÅ", false, R"({title} : ("ÉLÅ"))"},
        {"a quote doubled", "a\"bc", true, R"({title} : ("a""b" AND """bc"))"},
        {"a letter beyond the first plane counts once", "a𝄞b", false, R"({title} : ("a𝄞b"))"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TrigramQuery(c.pattern, QStringLiteral("title"), c.foldRuns), c.query);
    }
}

// Random catalogs searched through the index and by a scan of every row: the same rows, for
// every field, with and without accents, before and after another program changes the rows.
class SearchIndexAgreement : public test::CatalogFixture {
protected:
    std::mt19937 random{20261207};

    QString pick(const QStringList& from) {
        return from[static_cast<qsizetype>(random() % static_cast<unsigned>(from.size()))];
    }
    // A value of a few words, cased and accented at random; now and then NULL or a number.
    QString value() {
        static const QStringList words = {
            "love",   "LOVE",     "Økland",  "okland",  "Straße", "STRASSE", "Mötley",  "Crüe",
            "motley", "Paweł",    "pawel",   "élan",    "ÉLAN",   "Ærø",     "niño",    "Ĳssel",
            "dž",     "ǅ",        "ΣΊΣΥΦΟΣ", "σίσυφος", "100%",   "a_b",     "O'Brien", "Ⅻ",
            "ﬁne",    "İstanbul", "ıi",      "ẞ",       "x"};
        switch (random() % 12) {
        case 0:
            return QStringLiteral("NULL");
        case 1:
            return QString::number(random() % 3000);
        default:
            break;
        }
        QStringList chosen;
        for (unsigned n = 1 + random() % 3; n > 0; --n)
            chosen << pick(words);
        QString text = chosen.join(QLatin1Char(' '));
        return QLatin1Char('\'') + text.replace(QLatin1Char('\''), QStringLiteral("''")) +
               QLatin1Char('\'');
    }
    void addTrack(int id) {
        QStringList values;
        for (int field = 0; field < 9; ++field)
            values << value();
        run(QStringLiteral("INSERT INTO Mp3 (id, m3u_id, file, path, album, title, artist, genre, "
                           "year, comments, rating) VALUES (%1, %2, %3)")
                .arg(id)
                .arg(1 + id % 7)
                .arg(values.join(QLatin1Char(','))));
    }
    // A text users might type: part of a value, its case or accents changed, wildcards added.
    QString text() {
        static const QStringList parts = {
            "lov", "ove",  "OKL", "økl", "strasse", "STRASSE", "straß", "ötl",  "otl", "crue",
            "awe", "AWEŁ", "éla", "ela", "aer",     "rø",      "ro",    "ñ",    "n",   "ij",
            "Σίσ", "σισ",  "ίσυ", "0%",  "a_b",     "'Br",     "xii",   "fine", "ist", "İst",
            "ss",  "2",    "19",  "_",   "%",       "e%o",     "o_e",   "l"};
        QString typed = pick(parts);
        if (random() % 3 == 0)
            typed += pick(parts);
        return typed.size() < 2 ? typed + QStringLiteral("e") : typed;
    }

    void expectSameRows(int rounds) {
        ASSERT_TRUE(RefreshSearchIndex(catalog).ok);
        ASSERT_TRUE(SearchIndexIsCurrent(catalog));
        for (int round = 0; round < rounds; ++round) {
            const QString typed = text();
            for (const bool accents : {false, true}) {
                SCOPED_TRACE(typed.toStdString() + (accents ? " ignoring accents" : ""));
                const auto listsScanned = SearchLists(catalog, typed, {accents, false});
                const auto listsIndexed = SearchLists(catalog, typed, {accents, true});
                ASSERT_TRUE(listsScanned.ok && listsIndexed.ok) << listsIndexed.error.toStdString();
                ASSERT_EQ(Files(listsIndexed.value), Files(listsScanned.value));
                const auto field = static_cast<SearchField>(random() % 9);
                const auto scanned = SearchTracks(catalog, field, typed, {accents, false});
                const auto indexed = SearchTracks(catalog, field, typed, {accents, true});
                ASSERT_TRUE(scanned.ok && indexed.ok) << indexed.error.toStdString();
                ASSERT_EQ(Ids(indexed.value), Ids(scanned.value))
                    << SearchFieldCaption(field).toStdString();
            }
        }
    }
    template <typename Rows> static QStringList Files(const Rows& rows) {
        QStringList files;
        for (const auto& row : rows)
            files << row.file;
        return files;
    }
    template <typename Rows> static std::vector<qint64> Ids(const Rows& rows) {
        std::vector<qint64> ids;
        for (const auto& row : rows)
            ids.push_back(row.id.toLongLong());
        return ids;
    }
};

TEST_F(SearchIndexAgreement, TheIndexFindsWhatAScanFinds) {
    for (int list = 1; list <= 7; ++list)
        run(QStringLiteral("INSERT INTO M3u (id, path, file, cd_id) VALUES (%1, '/m/', %2, 1)")
                .arg(list)
                .arg(value()));
    for (int id = 1; id <= 400; ++id)
        addTrack(id);
    expectSameRows(150);

    // Another program, without this program's functions, changes, deletes and adds rows: the
    // triggers note them and the next refresh indexes them.
    test::RawSqlite other(dbPath);
    QStringList changes;
    for (int id = 1; id <= 400; id += 3)
        changes << QStringLiteral("UPDATE Mp3 SET title = %1, artist = %2 WHERE id = %3")
                       .arg(value(), value())
                       .arg(id);
    changes << QStringLiteral("DELETE FROM Mp3 WHERE id % 5 = 0")
            << QStringLiteral("UPDATE Mp3 SET id = id + 1000 WHERE id % 7 = 1")
            << QStringLiteral("UPDATE M3u SET file = 'Ørsted love.m3u' WHERE id = 2");
    ASSERT_EQ(other.exec(changes), QString());
    EXPECT_FALSE(SearchIndexIsCurrent(catalog));
    for (int id = 2000; id < 2050; ++id)
        addTrack(id);
    expectSameRows(150);
}

} // namespace
} // namespace tarl

namespace tarl {
namespace {

// An index that lost a part to another tool is made again, so its triggers stop refusing changes.
TEST_F(SearchIndexAgreement, AnIndexMissingAPartIsMadeAgain) {
    run("INSERT INTO Mp3 (id, file, title) VALUES (1, 'a.mp3', 'Økland')");
    ASSERT_TRUE(RefreshSearchIndex(catalog).ok);
    test::RawSqlite other(dbPath);
    ASSERT_EQ(other.exec({"DROP TABLE SearchStale"}), QString());
    EXPECT_NE(other.exec({"INSERT INTO Mp3 (id, file) VALUES (2, 'b.mp3')"}), QString());

    const auto repaired = RefreshSearchIndex(catalog);
    ASSERT_TRUE(repaired.ok) << repaired.error.toStdString();
    test::RawSqlite later(dbPath); // the other tool's next run
    EXPECT_EQ(later.exec({"INSERT INTO Mp3 (id, file, title) VALUES (2, 'b.mp3', 'okland')"}),
              QString());
    ASSERT_TRUE(RefreshSearchIndex(catalog).ok);
    const auto found = SearchTracks(catalog, SearchField::Title, "OKLAND", {true, true});
    ASSERT_TRUE(found.ok);
    EXPECT_EQ(found.value.size(), 2u);
}

} // namespace
} // namespace tarl
