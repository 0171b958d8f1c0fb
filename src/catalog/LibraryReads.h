#pragma once

// The reads the library browser makes, and the style view's cleanup, as plain rows.
//
// The library tree is built from two reads whatever the catalog's size: every volume, and every
// list grouped by its volume (path view) or by its style (style view), each group in the order
// the catalog gives for "WHERE cd_id = id" or "WHERE nick = id" (by id). The builders walk these
// rows and ask nothing more per node. Values a catalog may hold oddly (a list whose volume id is
// null or text, a count stored as text) are passed on as stored, so the tree shows and the
// statements treat them as they always did.
//
// Each read leaves its rows in the result holder it names. A read that fails gives a failed
// Lookup whose `error` says why; a write that fails gives a failed Result<> the same way.

#include "catalog/engine/Lookup.h"

#include <QHash>
#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

namespace tarl {

struct Catalog;

// Whether a stored value is a catalog id: ids compare as integers, and a value stored as anything
// else (null, text) equals no id.
std::optional<qint64> StoredIdOf(const QVariant& value);

// One row of table CD.
struct VolumeRow {
    qint64 id = 0;
    QString name;
    QVariant m3us; // the count of lists, as stored
    QString label;
    bool isCd = false;
    QString labelCd;
};

// One list of the path view: its folder and its file ("name.m3u", or "sub/" for a folder list).
struct VolumeListRow {
    QString path;
    QString file;
};

// Every volume, in the catalog's order ("SELECT * FROM CD"). General holder.
Lookup<std::vector<VolumeRow>> ReadVolumes(Catalog& catalog);

// Every list, grouped by the id of its volume. Lists whose volume id is no id are left out.
// Second holder.
Lookup<QHash<qint64, std::vector<VolumeListRow>>> ReadListsByVolume(Catalog& catalog);

// One style (table Nick).
struct StyleRow {
    qint64 id = 0;
    QString name;
};

// One list of the style view: its file and its volume id as stored.
struct StyleListRow {
    QString file;
    QVariant volumeId;
};

// A volume as the style view shows it: its name (the folder) and its label.
struct VolumeNameLabel {
    QString name;
    QString label;
};

// Every style, in the catalog's order ("SELECT * FROM Nick"). General holder.
Lookup<std::vector<StyleRow>> ReadStyles(Catalog& catalog);

// Every list, grouped by the id of its style; unsorted lists are under style 0. Lists whose style
// is no id are left out. Second holder.
Lookup<QHash<qint64, std::vector<StyleListRow>>> ReadListsByStyle(Catalog& catalog);

// The name and label of every volume, by id. Third holder.
Lookup<QHash<qint64, VolumeNameLabel>> ReadVolumeNamesById(Catalog& catalog);

// The volume whose id is `volumeId` as a list stored it, looked up by a statement of its own: an
// odd value (null, text) fails or finds nothing exactly as the statement makes it. No value when
// there is none. Second holder.
Lookup<std::optional<VolumeNameLabel>> FindVolumeByStoredId(Catalog& catalog,
                                                            const QVariant& volumeId);

// Deletes every list of the volume `volumeId` (as a list stored it): the cleanup of lists whose
// volume is gone. Their tracks stay, as they always did.
Result<> DeleteListsOfVolume(Catalog& catalog, const QVariant& volumeId);

// The columns of one track as stored, for the track list.
struct TrackFields {
    QVariant path;
    QVariant file;
    QVariant title;
    QVariant artist;
    QVariant album;
    QVariant year;
    QVariant genre;
    QVariant comments;
    QVariant size;
    QVariant time;
    QVariant rating;
    QVariant id;
};

// The tracks of list `listId`, in the order they were added (by id), so a playlist lists in its
// own order. Fails as well when the read breaks off part way. General holder.
Lookup<std::vector<TrackFields>> ReadTracksOfList(Catalog& catalog, qint64 listId);

// The volume label the catalog recorded for the first disc (a CD volume) named `discName`, the
// name compared without case (UnicodeNoCase); no value when no disc carries that name (hard-disc
// volumes, named "EOF", are passed over). General holder.
Lookup<std::optional<QString>> RecordedDiscLabel(Catalog& catalog, const QString& discName);

} // namespace tarl
