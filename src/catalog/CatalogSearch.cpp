#include "catalog/CatalogSearch.h"

#include "catalog/Connection.h"
#include "catalog/QuoteSql.h"

#include <array>

namespace tarl {

namespace {

constexpr std::array<SearchField, 9> kFields = {
    SearchField::File,  SearchField::Path,     SearchField::Album,
    SearchField::Title, SearchField::Artist,   SearchField::Genre,
    SearchField::Year,  SearchField::Comments, SearchField::Rating};

QString ContainsPattern(const QString& text) {
    return QStringLiteral("'%") + QuoteSql(text) + QStringLiteral("%'");
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

Lookup<std::vector<ListHitRow>> SearchLists(Catalog& catalog, const QString& text) {
    // The disc flag is the one a look-up of the volume by name finds first: the volume index
    // on (name, label) puts the lowest label first.
    Recordset& rows = catalog.second;
    if (!catalog.connection.execute(
            "SELECT m.file, m.path, "
            "(SELECT isCd FROM CD WHERE CD.name = m.path ORDER BY label, id LIMIT 1), "
            "(SELECT label FROM CD WHERE CD.id = m.cd_id) "
            "FROM M3u m WHERE m.file LIKE " +
                ContainsPattern(text) + " ORDER BY m.id",
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
                                              const QString& text) {
    Recordset& rows = catalog.second;
    if (!catalog.connection.execute(
            "SELECT t.m3u_id, t.path, t.file, t.title, t.artist, t.album, t.year, t.genre, "
            "t.comments, t.size, t.time, t.rating, t.id, c.isCd, c.label "
            "FROM Mp3 t LEFT JOIN M3u l ON l.id = t.m3u_id LEFT JOIN CD c ON c.id = l.cd_id "
            "WHERE t." +
                SearchFieldCaption(field) + " LIKE " + ContainsPattern(text) + " ORDER BY t.id",
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
