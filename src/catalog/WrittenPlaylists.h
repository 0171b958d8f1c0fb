#pragma once

#include "catalog/engine/Lookup.h"

#include <QString>
#include <vector>

namespace tarl {

struct Catalog;

// The catalog's side of the playlists Tarl writes ("Add to playlist"): the tracks picked in a
// window, read by their ids, and a filed playlist's entries cleared before they are filed again.
// Every value is bound.

// A track as a playlist needs it, as stored: its folder (ending in "/") and file name, its title
// and artist ("" for an empty or blank tag) and its length in seconds (0 when not known).
struct PickedTrack {
    QString path;
    QString file;
    QString title;
    QString artist;
    qint64 seconds = 0;
};

// The tracks of these ids, in the order given; an id with no track is passed over. Failed, with
// the reason, when a statement failed.
Lookup<std::vector<PickedTrack>> ReadPickedTracks(Catalog& catalog, const std::vector<qint64>& ids);

// Deletes every track of list `listId`; the list itself stays.
Result<> DeleteTracksOfList(Catalog& catalog, qint64 listId);

} // namespace tarl
