#pragma once

#include "catalog/LibraryReads.h"
#include "catalog/engine/Lookup.h"

#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

namespace tarl {

struct Catalog;

// The catalog's side of a search: the lists whose file name holds a text, and the tracks whose
// chosen field holds it. Each pass is one statement that also brings the volume's kind (disc or
// hard disc) and label, so a search costs two statements whatever the number of hits. Matching
// is the catalog's own LIKE with the text between "%" (case ignored over all of Unicode; "%" and
// "_" typed by the user act as wildcards). Rows come in the order the tables hold them.

// The nine fields a track search can look in, by the captions the window shows.
enum class SearchField { File, Path, Album, Title, Artist, Genre, Year, Comments, Rating };

// "File", "Path", ... "Rating"; the same as the track table's column name.
QString SearchFieldCaption(SearchField field);
// The field of a caption (case ignored); none for any other text.
std::optional<SearchField> SearchFieldOf(const QString& caption);

// A list whose file name matched. `isCd` is the disc flag of the first volume named as the
// list's path (as the volume rows store it), `label` the label of the list's own volume.
struct ListHitRow {
    QString file;
    QString path;
    QVariant isCd;
    QString label;
};

// A track that matched, its values as texts (a number as its digits, NULL as ""), with the disc
// flag and label of the volume of its list.
struct TrackHitRow {
    QString path, file, title, artist, album, year, genre, comments, size, time, rating, id;
    QVariant isCd;
    QString label;
};

// How a pass compares. Ignoring accents, both the value and the text are folded (FoldAccents)
// before the LIKE. With the index (SearchIndex.h, current), the LIKE runs only on the rows the
// index names; the rows found are the same.
struct SearchMatching {
    bool ignoreAccents = false;
    bool useIndex = false;
};

Lookup<std::vector<ListHitRow>> SearchLists(Catalog& catalog, const QString& text,
                                            const SearchMatching& matching = {});
Lookup<std::vector<TrackHitRow>> SearchTracks(Catalog& catalog, SearchField field,
                                              const QString& text,
                                              const SearchMatching& matching = {});

} // namespace tarl
