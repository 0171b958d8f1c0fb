#pragma once

#include "catalog/CatalogSearch.h"
#include "text/Result.h"

#include <QString>
#include <array>
#include <functional>
#include <vector>

namespace tarl {

struct Catalog;

// A search as the search window and `tarl-catalog search` show it: the lists whose file name
// holds the text, then the tracks whose chosen field holds it, each as a row of the twelve result
// columns with its icon. A hit on a disc shows "(CD)" + the disc's label + ":>" + the stored path
// in its "Path" column (the tree keys a disc's contents by that text without "(CD)"). A file
// listed by its folder and by playlists is one hit, its first row. A search
// that finds nothing gives the one row "No results found". Nothing here shows a box.

// The result columns, in their order, with their widths in twips.
inline constexpr int SearchColumnCount = 12;
enum SearchColumn {
    SearchFileColumn,
    SearchPathColumn,
    SearchTitleColumn,
    SearchArtistColumn,
    SearchAlbumColumn,
    SearchYearColumn,
    SearchGenreColumn,
    SearchCommentColumn,
    SearchSizeColumn,
    SearchTimeColumn,
    SearchRatingColumn,
    SearchTrackIdColumn,
};
QString SearchColumnCaption(int column);
int SearchColumnWidthTwips(int column);

// The icon of a hit.
enum class SearchIcon {
    HardDiscTrack = 1, // also the "No results found" row
    HardDiscList = 2,
    CdTrack = 3,
    CdList = 4,
};

struct SearchRow {
    SearchIcon icon = SearchIcon::HardDiscTrack;
    std::array<QString, SearchColumnCount> columns;
    // A track hit carries its id; a list hit (and "No results found") does not.
    bool isTrack() const { return !columns[SearchTrackIdColumn].isEmpty(); }
};

struct SearchOutcome {
    std::vector<SearchRow> rows;
    int hits = 0;   // lists and tracks found
    QString status; // "Found N results." or "No results found"
};

// Texts shorter than this are refused with the warning below, before any statement runs.
inline constexpr int SearchMinimumLength = 2;
inline const QString SearchTooShortText = QStringLiteral("I need almost two characters.");
inline const QString SearchWarningTitle = QStringLiteral("Search Warning");
inline const QString SearchingText = QStringLiteral("Searching files, please wait...");

// How a search matches beyond its text and field.
struct SearchOptions {
    // "okland" finds "Økland": both sides compared with their accents and case folded away.
    bool ignoreAccents = false;
    // The search index is made or brought up to date first (SearchIndex.h): `done` of `total`
    // rows. A catalog whose index cannot be brought up to date (it can only be read, or it
    // refuses the write) is searched by scanning every row; the hits are the same.
    std::function<void(qint64 done, qint64 total)> indexProgress;
};

// Runs both passes. Fails, with "The search failed: " and the catalog's reason, when a
// statement fails; a text shorter than SearchMinimumLength fails with SearchTooShortText.
Result<SearchOutcome> RunSearch(Catalog& catalog, const QString& text, SearchField field,
                                const SearchOptions& options = {});

// "text>>Field": a search as the history keeps it, and back.
QString SearchHistoryEntry(const QString& text, SearchField field);
struct SearchHistoryParts {
    QString text;
    std::optional<SearchField> field;
};
SearchHistoryParts SplitSearchHistoryEntry(const QString& entry);

} // namespace tarl
