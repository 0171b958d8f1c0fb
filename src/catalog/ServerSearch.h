#pragma once

#include "catalog/CatalogSearch.h"

namespace tarl {

// The search of a catalog on a server, with the hits a catalog file gives for the same rows.
// The server's own case-insensitive matching folds letters by its locale, not as the file's LIKE
// does (UnicodeLike), and has no accent folding of ours; so the server sends the id and value of
// each row with a value (only the rows that may match, for a text of ASCII alone), the match is
// decided here by UnicodeLike (over FoldAccents of both sides when accents are ignored), and the
// hits' rows are read by their ids. The indexes it reads are made by ServerSearchIndexStatements.
Lookup<std::vector<ListHitRow>> SearchListsOnServer(Catalog& catalog, const QString& text,
                                                    const SearchMatching& matching);
Lookup<std::vector<TrackHitRow>> SearchTracksOnServer(Catalog& catalog, SearchField field,
                                                      const QString& text,
                                                      const SearchMatching& matching);

} // namespace tarl
