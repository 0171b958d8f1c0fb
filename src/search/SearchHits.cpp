#include "search/SearchHits.h"

#include "catalog/SearchIndex.h"
#include "tags/FormatMinSec.h"

#include <QHashFunctions>
#include <cmath>
#include <unordered_set>
#include <vector>

namespace tarl {

namespace {

constexpr std::array<int, SearchColumnCount> kWidths = {3000, 2000, 2000, 1500, 1500, 800,
                                                        1000, 2000, 2000, 2000, 500,  500};
const QString kCdMark = QStringLiteral("(CD)");
const QString kDiscSeparator = QStringLiteral(":>");
const QString kHistorySeparator = QStringLiteral(">>");

QString CdPath(const QString& label, const QString& path) {
    return kCdMark + label + kDiscSeparator + path;
}

SearchRow ListRow(const ListHitRow& hit) {
    SearchRow row;
    row.columns[SearchFileColumn] = hit.file;
    const bool onCd = hit.isCd.toBool();
    row.columns[SearchPathColumn] = onCd ? CdPath(hit.label, hit.path) : hit.path;
    row.icon = onCd ? SearchIcon::CdList : SearchIcon::HardDiscList;
    return row;
}

// The stored length in seconds as the track list shows it, minutes and seconds; a value that is
// no number (text typed into the catalog by hand) leaves the column empty.
QString TimeText(const QString& stored) {
    bool ok = false;
    const double seconds = stored.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(seconds) || std::fabs(seconds) > 9.2e18)
        return {};
    return FormatMinSec(static_cast<qint64>(std::nearbyint(seconds)));
}

// The hit's texts move into the row: a search may bring a hundred thousand.
SearchRow TrackRow(TrackHitRow& hit) {
    SearchRow row;
    row.columns[SearchFileColumn] = std::move(hit.file);
    row.columns[SearchTitleColumn] = std::move(hit.title);
    row.columns[SearchArtistColumn] = std::move(hit.artist);
    row.columns[SearchAlbumColumn] = std::move(hit.album);
    row.columns[SearchYearColumn] = std::move(hit.year);
    row.columns[SearchGenreColumn] = std::move(hit.genre);
    row.columns[SearchCommentColumn] = std::move(hit.comments);
    row.columns[SearchSizeColumn] = std::move(hit.size);
    row.columns[SearchTimeColumn] = TimeText(hit.time);
    row.columns[SearchRatingColumn] = std::move(hit.rating);
    row.columns[SearchTrackIdColumn] = std::move(hit.id);
    const bool onCd = hit.isCd.toBool();
    row.columns[SearchPathColumn] = onCd ? CdPath(hit.label, hit.path) : std::move(hit.path);
    row.icon = onCd ? SearchIcon::CdTrack : SearchIcon::HardDiscTrack;
    return row;
}

// One hit per file: a file listed by its folder and by playlists is one song to the user, and
// the first row found stands for it. The same path on two discs is two files. The hits are
// compared where they lie: a search may bring a hundred thousand.
std::vector<bool> FirstHitOfEachFile(const std::vector<TrackHitRow>& hits) {
    const auto hashOf = [&hits](size_t i) {
        const TrackHitRow& hit = hits[i];
        return static_cast<size_t>(qHashMulti(0, hit.label, hit.path, hit.file));
    };
    const auto sameFile = [&hits](size_t a, size_t b) {
        return hits[a].file == hits[b].file && hits[a].path == hits[b].path &&
               hits[a].label == hits[b].label;
    };
    std::unordered_set<size_t, decltype(hashOf), decltype(sameFile)> seen(hits.size(), hashOf,
                                                                          sameFile);
    std::vector<bool> first(hits.size());
    for (size_t i = 0; i < hits.size(); ++i)
        first[i] = seen.insert(i).second;
    return first;
}

} // namespace

QString SearchColumnCaption(int column) {
    static const std::array<QString, SearchColumnCount> captions = {
        QStringLiteral("File"),   QStringLiteral("Path"),    QStringLiteral("Title"),
        QStringLiteral("Artist"), QStringLiteral("Album"),   QStringLiteral("Year"),
        QStringLiteral("Genre"),  QStringLiteral("Comment"), QStringLiteral("Size"),
        QStringLiteral("Time"),   QStringLiteral("Rating"),  QStringLiteral("MP3id")};
    if (column < 0 || column >= SearchColumnCount)
        return {};
    return captions[static_cast<size_t>(column)];
}

int SearchColumnWidthTwips(int column) {
    if (column < 0 || column >= SearchColumnCount)
        return 0;
    return kWidths[static_cast<size_t>(column)];
}

Result<SearchOutcome> RunSearch(Catalog& catalog, const QString& text, SearchField field,
                                const SearchOptions& options) {
    if (text.size() < SearchMinimumLength)
        return Result<SearchOutcome>::failed(SearchTooShortText);
    SearchMatching matching;
    matching.ignoreAccents = options.ignoreAccents;
    // An index that cannot be made current only costs speed: the scan finds the same rows.
    matching.useIndex = RefreshSearchIndex(catalog, options.indexProgress).ok;
    const Lookup<std::vector<ListHitRow>> lists = SearchLists(catalog, text, matching);
    if (!lists)
        return Result<SearchOutcome>::failed(QStringLiteral("The search failed: ") + lists.error);
    Lookup<std::vector<TrackHitRow>> tracks = SearchTracks(catalog, field, text, matching);
    if (!tracks)
        return Result<SearchOutcome>::failed(QStringLiteral("The search failed: ") + tracks.error);

    SearchOutcome outcome;
    outcome.rows.reserve(lists.value.size() + tracks.value.size());
    for (const ListHitRow& hit : lists.value)
        outcome.rows.push_back(ListRow(hit));
    const std::vector<bool> first = FirstHitOfEachFile(tracks.value);
    for (size_t i = 0; i < tracks.value.size(); ++i) {
        if (first[i])
            outcome.rows.push_back(TrackRow(tracks.value[i]));
    }
    outcome.hits = static_cast<int>(outcome.rows.size());
    if (outcome.rows.empty()) {
        SearchRow none;
        none.columns[SearchFileColumn] = QStringLiteral("No results found");
        outcome.rows.push_back(none);
        outcome.status = QStringLiteral("No results found");
    } else {
        outcome.status = QStringLiteral("Found %1 results.").arg(outcome.hits);
    }
    return outcome;
}

QString SearchHistoryEntry(const QString& text, SearchField field) {
    return text + kHistorySeparator + SearchFieldCaption(field);
}

SearchHistoryParts SplitSearchHistoryEntry(const QString& entry) {
    // The field never holds ">>", the text may: the field is after the last one.
    const qsizetype at = entry.lastIndexOf(kHistorySeparator);
    if (at < 0)
        return {entry, std::nullopt};
    return {entry.left(at), SearchFieldOf(entry.mid(at + kHistorySeparator.size()))};
}

} // namespace tarl
