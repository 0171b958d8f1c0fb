#include "catalog/ServerSearch.h"

#include "catalog/engine/SearchIndexSchema.h"

#include "catalog/engine/BoundQuery.h"
#include "catalog/engine/Connection.h"
#include "catalog/engine/FirstRow.h"
#include "catalog/engine/Recordset.h"
#include "catalog/engine/UnicodeLike.h"
#include "text/AccentFold.h"

#include <QStringList>
#include <algorithm>

namespace tarl {

namespace {

// Ids per statement that reads the hits' rows.
constexpr qsizetype kIdsPerRead = 5000;

bool IsAscii(const QString& text) {
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
}

// What the server can rule out itself, so that it sends fewer rows: for a text of ASCII alone
// (and accents counting), a value can only match when its ASCII letters, lowered, hold the text
// lowered. Only two other characters fold into ASCII letters (U+017F long s, U+212A Kelvin sign),
// and they are turned into theirs first; the "C" collation lowers ASCII alone, whatever the
// server's locale. The server's LIKE has the same two wildcards and, with ESCAPE '', no escape.
// The condition, with the pattern to bind to its "?"; "" and no pattern when none applies.
QString ServerSideCandidates(const QString& column, const QString& text, bool ignoreAccents,
                             QVariantList& values) {
    if (ignoreAccents || !IsAscii(text))
        return {};
    values << QLatin1Char('%') + SqlTextValue(text.toLower()) + QLatin1Char('%');
    return QStringLiteral(" AND %1 LIKE ? ESCAPE ''").arg(ServerSearchKey(column));
}

// The ids, in id order, of the rows of `table` whose `column` holds the text.
Lookup<std::vector<qint64>> MatchingIds(Catalog& catalog, const QString& table,
                                        const QString& column, const QString& text,
                                        bool ignoreAccents) {
    const QString wanted = ignoreAccents ? FoldAccents(text) : text;
    const UnicodeLike like(QStringLiteral("%") + wanted + QStringLiteral("%"));
    Recordset rows;
    QVariantList pattern;
    const QString candidates = ServerSideCandidates(column, text, ignoreAccents, pattern);
    if (!catalog.connection.execute(QStringLiteral("SELECT id, %1 FROM %2 WHERE %1 IS NOT NULL%3 "
                                                   "ORDER BY id")
                                        .arg(column, table, candidates),
                                    pattern, rows))
        return Lookup<std::vector<qint64>>::failed(catalog.connection.lastError());
    std::vector<qint64> ids;
    for (; !rows.eof(); rows.moveNext()) {
        const QString value = rows.field(1).toString();
        if (like.matches(ignoreAccents ? FoldAccents(value) : value))
            ids.push_back(rows.field(0).toLongLong());
    }
    rows.clear();
    return {std::move(ids)};
}

// "{1,2,3}": a slice of the ids as the text of a server array, bound to "?::bigint[]".
QString IdArray(const std::vector<qint64>& ids, size_t from, size_t to) {
    QStringList numbers;
    for (size_t i = from; i < to; ++i)
        numbers << QString::number(ids[i]);
    return QLatin1Char('{') + numbers.join(u',') + QLatin1Char('}');
}

// Reads the rows of `select` (ending in "WHERE x.id = ANY (") for every id, slice by slice.
template <typename Row, typename MakeRow>
Lookup<std::vector<Row>> RowsOf(Catalog& catalog, const QString& select,
                                const std::vector<qint64>& ids, MakeRow makeRow) {
    std::vector<Row> hits;
    hits.reserve(ids.size());
    Recordset rows;
    for (size_t from = 0; from < ids.size(); from += kIdsPerRead) {
        const size_t to = std::min(ids.size(), from + size_t(kIdsPerRead));
        if (!catalog.connection.execute(select + QStringLiteral("?::bigint[]) ORDER BY 1"),
                                        {IdArray(ids, from, to)}, rows))
            return Lookup<std::vector<Row>>::failed(catalog.connection.lastError());
        for (; !rows.eof(); rows.moveNext())
            hits.push_back(makeRow(rows));
    }
    rows.clear();
    return {std::move(hits)};
}

} // namespace

Lookup<std::vector<ListHitRow>> SearchListsOnServer(Catalog& catalog, const QString& text,
                                                    const SearchMatching& matching) {
    const auto ids = MatchingIds(catalog, QStringLiteral("M3u"), QStringLiteral("file"), text,
                                 matching.ignoreAccents);
    if (!ids)
        return Lookup<std::vector<ListHitRow>>::failed(ids.error);
    // The disc flag as the file's search finds it: the volume of that name with the lowest label
    // (no label first, as the file's engine orders it).
    return RowsOf<ListHitRow>(
        catalog,
        QStringLiteral("SELECT m.id, m.file, m.path, (SELECT isCd FROM CD WHERE CD.name = m.path") +
            QLatin1String(kServerVolumeOrder) +
            QStringLiteral(" LIMIT 1), (SELECT label FROM CD WHERE CD.id = m.cd_id) FROM M3u m "
                           "WHERE m.id = ANY ("),
        ids.value, [](const Recordset& row) {
            return ListHitRow{row.field(1).toString(), row.field(2).toString(), row.field(3),
                              row.field(4).toString()};
        });
}

Lookup<std::vector<TrackHitRow>> SearchTracksOnServer(Catalog& catalog, SearchField field,
                                                      const QString& text,
                                                      const SearchMatching& matching) {
    const auto ids = MatchingIds(catalog, QStringLiteral("Mp3"), SearchFieldCaption(field), text,
                                 matching.ignoreAccents);
    if (!ids)
        return Lookup<std::vector<TrackHitRow>>::failed(ids.error);
    return RowsOf<TrackHitRow>(
        catalog,
        QStringLiteral("SELECT t.id, t.path, t.file, t.title, t.artist, t.album, t.year, t.genre, "
                       "t.comments, t.size, t.time, t.rating, c.isCd, c.label FROM Mp3 t LEFT "
                       "JOIN M3u l ON l.id = t.m3u_id LEFT JOIN CD c ON c.id = l.cd_id WHERE "
                       "t.id = ANY ("),
        ids.value, [](const Recordset& row) {
            const auto value = [&row](int column) { return row.field(column).toString(); };
            return TrackHitRow{value(1),  value(2), value(3),      value(4), value(5),
                               value(6),  value(7), value(8),      value(9), value(10),
                               value(11), value(0), row.field(12), value(13)};
        });
}

} // namespace tarl
