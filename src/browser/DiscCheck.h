#pragma once

#include "platform/Ui.h"

#include <QString>

namespace tarl {

struct Catalog;
class Drives;

// Asks for the disc named `discName` (a volume label of the catalog) until the disc whose
// volume label the catalog recorded is in the drive at `drive`, or the user cancels (a box
// titled INSERT MP3 CDROM). OK at once when the catalog has no disc of that name: hard-disc volumes
// (named "EOF") are never asked for, whatever the file system holding them is labelled.
MsgAnswer ConfirmDiscInDrive(Catalog& catalog, const Drives& drives, Ui& ui,
                             const QString& discName, const QString& drive);

// Whether the disc `discName` is in the drive at `drive` now, without asking; true for a name
// the catalog has no disc of (a hard-disc volume, nothing to put in).
bool DiscIsInDrive(Catalog& catalog, const Drives& drives, const QString& discName,
                   const QString& drive);

// ConfirmDiscInDrive for a tree key: a key "<disc name>:>path" asks for that disc at the drive
// holding the path; any other key is OK at once.
MsgAnswer ConfirmDiscOfKey(Catalog& catalog, const Drives& drives, Ui& ui, const QString& key);

// A tree key of a list on a disc: "<disc name>:>path" with the ":>" after the first character.
// Splits it; false for any other key.
bool SplitDiscKey(const QString& key, QString* discName, QString* path);

} // namespace tarl
