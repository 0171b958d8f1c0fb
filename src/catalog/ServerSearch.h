#pragma once

#include "catalog/CatalogSearch.h"

namespace tarl {

// The search of a catalog on a server, with the hits a catalog file gives for the same rows.
// The server's own case-insensitive matching folds letters by its locale, not as the file's LIKE
// does (UnicodeLike), and has no accent folding of ours; so the server sends the id and value of
// each row with a value (only the rows that may match, for a text of ASCII alone), the match is
// decided here by UnicodeLike (over FoldAccents of both sides when accents are ignored), and the
// hits' rows are read by their ids.
// The value of `column` as the server compares it with a text of ASCII alone: ASCII letters
// lowered (the "C" collation, whatever the server's locale), the two other letters that fold
// into ASCII turned into theirs. The catalog's trigram indexes are made on it, so a search's
// candidates come from an index.
QString ServerSearchKey(const QString& column);

// The statements that make those indexes, one a searched column (made with a catalog).
QStringList ServerSearchIndexStatements();

Lookup<std::vector<ListHitRow>> SearchListsOnServer(Catalog& catalog, const QString& text,
                                                    const SearchMatching& matching);
Lookup<std::vector<TrackHitRow>> SearchTracksOnServer(Catalog& catalog, SearchField field,
                                                      const QString& text,
                                                      const SearchMatching& matching);

} // namespace tarl
