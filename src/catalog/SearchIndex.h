#pragma once

#include "catalog/CatalogSearch.h"
#include "text/Result.h"

#include <QString>
#include <QVariantList>
#include <functional>
#include <optional>

namespace tarl {

struct Catalog;

// The search index: the nine searched fields of every track and the file name of every list,
// folded (FoldAccents: accents and case gone), in two FTS5 tables cut into trigrams. A search
// whose text holds a run of three characters between its wildcards asks the index for the rows
// holding every trigram of those runs, and the catalog's own LIKE then decides on those rows
// alone; the rows found are the rows a scan of every row finds.
//
// Triggers on Mp3 and M3u note each row inserted, changed or deleted (by this program or by any
// other tool writing the file: they are plain SQL) in SearchStale; the index is brought up to date
// from that table before a search. A catalog made before the index gets it on its first search:
// every row is noted, then indexed in batches, each its own transaction, so an interrupted build
// goes on where it stopped. A catalog that cannot be written is searched by scanning until the
// index is current. The statements that make it are the engine's (SearchIndexSchema), which
// checks a catalog's own objects against them.

// Progress of a build or catch-up: `done` of `total` rows indexed.
using SearchIndexProgress = std::function<void(qint64 done, qint64 total)>;

// Makes the index when the catalog has none and indexes every row noted since. Fails, with the
// reason, when the catalog refuses a write; the rows indexed so far stay.
Result<> RefreshSearchIndex(Catalog& catalog, const SearchIndexProgress& progress = {});

// The index exists and holds every row as it is now.
bool SearchIndexIsCurrent(Catalog& catalog);

// The index's query for the rows whose `column` may match `pattern` (a LIKE pattern, "%" and
// "_" wildcards): every trigram of each run of three or more characters between wildcards, with
// `foldRuns` folding each run first (the pattern is raw) or not (it is folded already). None when
// no run is three characters long: the index cannot answer, the search scans.
std::optional<QString> TrigramQuery(const QString& pattern, const QString& column, bool foldRuns);

// The two indexed tables: the tracks' nine fields (in the order of SearchField), the lists' file.
enum class IndexedTable { Tracks, Lists };

// The rows that may match `pattern` in column `column` of an indexed table, as a table expression
// named x whose column `id` are their ids and `folded` the column's folded text: the rows holding
// every trigram of the pattern's runs (TrigramQuery); for a pattern without a run of three, the
// rows whose folded text holds the folded runs in order, read from the index's own copy of the
// folded text (a scan, but of text already folded, compared byte for byte).
// The pattern's text is bound: `values` go to the expression's "?" placeholders in order.
struct Candidates {
    QString from;
    QVariantList values;
};
Candidates IndexCandidates(IndexedTable table, int column, const QString& pattern, bool foldRuns);

} // namespace tarl
