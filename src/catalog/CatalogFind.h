#pragma once

#include "catalog/engine/Lookup.h"
#include "platform/PathRules.h"

#include <QString>

namespace tarl {

struct Catalog;
class Drives;

// The catalog's look-ups. Every argument is the raw value, bound to its statement, never spliced
// into it. Ids are 64-bit; 0 means "no such row". Each look-up runs its own statement and keeps
// no rows once it returns.
// Paths compare exactly; style names and disc names (a CD volume's label) without regard to case
// (UnicodeNoCase), as a user tells them apart.

// The volume holding the list at `listPath`. With a label, the volume named after the list's
// folder with that label ("/music/party.m3u" and "/music/rock/" both give the volume "/music/");
// with an empty label, the volume named `listPath` itself. The label compares without case.
Lookup<qint64> FindVolumeId(Catalog& catalog, const Drives& drives, const QString& listPath,
                            const QString& label);

// Whether some volume carries `label`, case aside: whether a disc may be given that name.
Lookup<bool> VolumeLabelExists(Catalog& catalog, const QString& label);

// The style called `name`, case aside: its id and its name as stored (the case the user typed
// may differ); id 0 when there is none.
struct FoundStyle {
    qint64 id = 0;
    QString name;
};
Lookup<FoundStyle> FindStyle(Catalog& catalog, const QString& name);
Lookup<qint64> FindStyleId(Catalog& catalog, const QString& name);

// The first list stored at `listPath`, on whatever volume.
Lookup<qint64> FindListId(Catalog& catalog, const Drives& drives, const QString& listPath);

// The list stored at `listPath` on the volume `volumeId`.
Lookup<qint64> FindListIdOnVolume(Catalog& catalog, const Drives& drives, const QString& listPath,
                                  qint64 volumeId);
// The same for a list path already split as table M3u stores it.
Lookup<qint64> FindListIdOnVolume(Catalog& catalog, const ListPathParts& list, qint64 volumeId);

// Whether the volume named `name` is on a CD; false when there is none.
Lookup<bool> VolumeIsCdByName(Catalog& catalog, const QString& name);

// The label of volume `volumeId`; "" when there is none.
Lookup<QString> VolumeLabelById(Catalog& catalog, qint64 volumeId);

// The list that holds track `trackId`.
Lookup<qint64> ListIdOfTrack(Catalog& catalog, qint64 trackId);

// The volume that holds track `trackId`: its list, then that list's volume.
Lookup<qint64> VolumeIdOfTrack(Catalog& catalog, qint64 trackId);

// Whether volume `volumeId` is on a CD; false when there is none.
Lookup<bool> VolumeIsCdById(Catalog& catalog, qint64 volumeId);

// Whether some volume is named `name`.
Lookup<bool> VolumeNameExists(Catalog& catalog, const QString& name);

} // namespace tarl
