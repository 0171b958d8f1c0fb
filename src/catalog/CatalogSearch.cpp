#include "catalog/CatalogSearch.h"

#include "catalog/Connection.h"
#include "catalog/QuoteSql.h"
#include "catalog/SearchIndex.h"
#include "text/AccentFold.h"

#include <array>

namespace tarl {

namespace {

constexpr std::array<SearchField, 9> kFields = {
    SearchField::File,  SearchField::Path,     SearchField::Album,
    SearchField::Title, SearchField::Artist,   SearchField::Genre,
    SearchField::Year,  SearchField::Comments, SearchField::Rating};

// The rows of `table` (as `alias`) that may hold the text in `column`, and the condition that
// decides: the catalog's LIKE on the value, both sides folded when accents are ignored. With the
// index, only the rows holding the text's trigrams are read.
struct Pass {
    QString from;
    QString where;
};

Pass PassOf(const QString& table, const QString& alias, const QString& indexTable,
            const QString& column, const QString& text, const SearchMatching& matching) {
    const QString pattern = matching.ignoreAccents ? FoldAccents(text) : text;
    const QString value = alias + QLatin1Char('.') + column;
    Pass pass;
    pass.where = (matching.ignoreAccents ? QStringLiteral("fold_accents(") + value + ')' : value) +
                 QStringLiteral(" LIKE '%") + QuoteSql(pattern) + QStringLiteral("%'");
    pass.from = table + QLatin1Char(' ') + alias;
    if (!matching.useIndex)
        return pass;
    const std::optional<QString> candidates =
        TrigramQuery(pattern, column.toLower(), !matching.ignoreAccents);
    if (candidates) {
        pass.from = indexTable + QStringLiteral("('") + QuoteSql(*candidates) +
                    QStringLiteral("') x JOIN ") + pass.from + QLatin1Char(' ') +
                    QStringLiteral("ON ") + alias + QStringLiteral(".id = x.rowid");
    }
    return pass;
}

} // namespace

QString SearchFieldCaption(SearchField field) {
    switch (field) {
    case SearchField::File:
        return QStringLiteral("File");
    case SearchField::Path:
        return QStringLiteral("Path");
    case SearchField::Album:
        return QStringLiteral("Album");
    case SearchField::Title:
        return QStringLiteral("Title");
    case SearchField::Artist:
        return QStringLiteral("Artist");
    case SearchField::Genre:
        return QStringLiteral("Genre");
    case SearchField::Year:
        return QStringLiteral("Year");
    case SearchField::Comments:
        return QStringLiteral("Comments");
    case SearchField::Rating:
        return QStringLiteral("Rating");
    }
    return {};
}

std::optional<SearchField> SearchFieldOf(const QString& caption) {
    for (const SearchField field : kFields) {
        if (caption.compare(SearchFieldCaption(field), Qt::CaseInsensitive) == 0)
            return field;
    }
    return std::nullopt;
}

Lookup<std::vector<ListHitRow>> SearchLists(Catalog& catalog, const QString& text,
                                            const SearchMatching& matching) {
    const Pass pass =
        PassOf(QStringLiteral("M3u"), QStringLiteral("m"), QStringLiteral("SearchListText"),
               QStringLiteral("file"), text, matching);
    // The disc flag is the one a look-up of the volume by name finds first: the volume index
    // on (name, label) puts the lowest label first.
    Recordset& rows = catalog.second;
    if (!catalog.connection.execute(
            "SELECT m.file, m.path, "
            "(SELECT isCd FROM CD WHERE CD.name = m.path ORDER BY label, id LIMIT 1), "
            "(SELECT label FROM CD WHERE CD.id = m.cd_id) "
            "FROM " +
                pass.from + " WHERE " + pass.where + " ORDER BY m.id",
            rows))
        return Lookup<std::vector<ListHitRow>>::failed(catalog.connection.lastError());
    std::vector<ListHitRow> hits;
    for (; !rows.eof(); rows.moveNext()) {
        hits.push_back({rows.field(0).toString(), rows.field(1).toString(), rows.field(2),
                        rows.field(3).toString()});
    }
    if (!catalog.connection.lastError().isEmpty())
        return Lookup<std::vector<ListHitRow>>::failed(catalog.connection.lastError());
    return {std::move(hits)};
}

Lookup<std::vector<TrackHitRow>> SearchTracks(Catalog& catalog, SearchField field,
                                              const QString& text, const SearchMatching& matching) {
    const Pass pass =
        PassOf(QStringLiteral("Mp3"), QStringLiteral("t"), QStringLiteral("SearchTrackText"),
               SearchFieldCaption(field), text, matching);
    Recordset& rows = catalog.second;
    if (!catalog.connection.execute(
            "SELECT t.m3u_id, t.path, t.file, t.title, t.artist, t.album, t.year, t.genre, "
            "t.comments, t.size, t.time, t.rating, t.id, c.isCd, c.label "
            "FROM " +
                pass.from +
                " LEFT JOIN M3u l ON l.id = t.m3u_id LEFT JOIN CD c ON c.id = l.cd_id WHERE " +
                pass.where + " ORDER BY t.id",
            rows))
        return Lookup<std::vector<TrackHitRow>>::failed(catalog.connection.lastError());
    std::vector<TrackHitRow> hits;
    for (; !rows.eof(); rows.moveNext()) {
        TrackHitRow hit{TrackFieldsOf(rows), rows.field(13), rows.field(14).toString()};
        hits.push_back(std::move(hit));
    }
    if (!catalog.connection.lastError().isEmpty())
        return Lookup<std::vector<TrackHitRow>>::failed(catalog.connection.lastError());
    return {std::move(hits)};
}

} // namespace tarl
