#pragma once

#include "platform/Ui.h"

#include <QString>

namespace tarl {

struct Catalog;
class Drives;

// Asks for the disc named `discName` (a volume label of the catalog) until the disc whose
// volume label the catalog recorded is in the drive at `drive`, or the user cancels:
// "INSERT MP3 CDROM". OK at once when the catalog has no volume of that name.
MsgAnswer ConfirmDiscInDrive(Catalog& catalog, const Drives& drives, Ui& ui,
                             const QString& discName, const QString& drive);

// A tree key of a list on a disc: "<disc name>:>path" with the ":>" after the first character.
// Splits it; false for any other key.
bool SplitDiscKey(const QString& key, QString* discName, QString* path);

} // namespace tarl
