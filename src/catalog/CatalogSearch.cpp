#include "catalog/CatalogSearch.h"

#include "catalog/SearchIndex.h"
#include "catalog/ServerSearch.h"
#include "catalog/engine/BoundQuery.h"
#include "catalog/engine/Connection.h"
#include "catalog/engine/Recordset.h"
#include "catalog/engine/RowReader.h"
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
    QString order;       // by id
    QVariantList values; // bound to the "?" of from, then of where
};

Pass PassOf(const QString& table, const QString& alias, IndexedTable indexed, int indexColumn,
            const QString& column, const QString& text, const SearchMatching& matching) {
    const QString pattern = matching.ignoreAccents ? FoldAccents(text) : text;
    const QString value = alias + QLatin1Char('.') + column;
    const QString contains = QStringLiteral(" LIKE ?");
    const QString like = QLatin1Char('%') + SqlTextValue(pattern) + QLatin1Char('%');
    Pass pass;
    pass.from = table + QLatin1Char(' ') + alias;
    pass.order = alias + QStringLiteral(".id");
    if (!matching.useIndex) {
        pass.where =
            (matching.ignoreAccents ? QStringLiteral("fold_accents(") + value + ')' : value) +
            contains;
        pass.values = {like};
        return pass;
    }
    // CROSS JOIN keeps the candidates in the outer loop: the LIKE runs on them alone. Ignoring
    // accents, it compares the index's folded copy of the value, which is fold_accents(value).
    const Candidates candidates =
        IndexCandidates(indexed, indexColumn, pattern, !matching.ignoreAccents);
    pass.values = candidates.values;
    pass.values << like;
    pass.from = candidates.from + QStringLiteral(" CROSS JOIN ") + pass.from +
                QStringLiteral(" ON ") + alias + QStringLiteral(".id = x.id");
    pass.where = (matching.ignoreAccents ? QStringLiteral("x.folded") : value) + contains;
    // The same order, which the candidates already come in: no sort.
    pass.order = QStringLiteral("x.id");
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
    if (catalog.connection.engine() == CatalogEngine::Postgres)
        return SearchListsOnServer(catalog, text, matching);
    const Pass pass = PassOf(QStringLiteral("M3u"), QStringLiteral("m"), IndexedTable::Lists, 0,
                             QStringLiteral("file"), text, matching);
    // The disc flag is the one a look-up of the volume by name finds first: the volume index
    // on (name, label) puts the lowest label first.
    Recordset rows;
    if (!catalog.connection.execute(
            "SELECT m.file, m.path, "
            "(SELECT isCd FROM CD WHERE CD.name = m.path ORDER BY label, id LIMIT 1), "
            "(SELECT label FROM CD WHERE CD.id = m.cd_id) "
            "FROM " +
                pass.from + " WHERE " + pass.where + " ORDER BY " + pass.order,
            pass.values, rows))
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
    if (catalog.connection.engine() == CatalogEngine::Postgres)
        return SearchTracksOnServer(catalog, field, text, matching);
    const Pass pass = PassOf(QStringLiteral("Mp3"), QStringLiteral("t"), IndexedTable::Tracks,
                             static_cast<int>(field), SearchFieldCaption(field), text, matching);
    std::vector<TrackHitRow> hits;
    // Read straight from the engine: a search may bring a hundred thousand rows.
    if (!RowReader::ForEachRow(
            catalog.connection,
            "SELECT t.m3u_id, t.path, t.file, t.title, t.artist, t.album, t.year, t.genre, "
            "t.comments, t.size, t.time, t.rating, t.id, c.isCd, c.label "
            "FROM " +
                pass.from +
                " LEFT JOIN M3u l ON l.id = t.m3u_id LEFT JOIN CD c ON c.id = l.cd_id WHERE " +
                pass.where + " ORDER BY " + pass.order,
            pass.values, [&hits](const RowReader& row) {
                hits.push_back({row.text(1), row.text(2), row.text(3), row.text(4), row.text(5),
                                row.text(6), row.text(7), row.text(8), row.text(9), row.text(10),
                                row.text(11), row.text(12), row.field(13), row.text(14)});
            }))
        return Lookup<std::vector<TrackHitRow>>::failed(catalog.connection.lastError());
    return {std::move(hits)};
}

} // namespace tarl
