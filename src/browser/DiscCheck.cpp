#include "browser/DiscCheck.h"

#include "browser/TreeBuild.h"
#include "catalog/Connection.h"
#include "catalog/QuoteSql.h"
#include "catalog/UnicodeNoCase.h"
#include "platform/Drives.h"

namespace tarl {

bool SplitDiscKey(const QString& key, QString* discName, QString* path) {
    const qsizetype at = key.indexOf(QLatin1String(":>"));
    if (at < 1)
        return false;
    *discName = key.left(at);
    *path = key.mid(at + 2);
    return true;
}

MsgAnswer ConfirmDiscInDrive(Catalog& catalog, const Drives& drives, Ui& ui,
                             const QString& discName, const QString& drive) {
    Recordset& rows = catalog.general;
    if (!catalog.connection.execute("SELECT name, labelCd, label, isCd From CD WHERE (((label)='" +
                                        QuoteSql(discName) + "'" + UnicodeNoCase::kCollate + "))",
                                    rows))
        return MsgAnswer::Ok; // nothing to check against
    // The first disc of that name; hard-disc volumes have nothing to insert.
    while (!rows.eof() && !rows.field(QStringLiteral("isCd")).toBool())
        rows.moveNext();
    if (rows.eof())
        return MsgAnswer::Ok;
    const QString recorded = rows.field(QStringLiteral("labelCd")).toString();
    for (;;) {
        if (VolumeLabelOf(drives, drive) == recorded)
            return MsgAnswer::Ok;
        const QString text = "CD Name:   " + discName.toUpper() +
                             "\r\nCD Label:   " + recorded.toUpper() + "\r\nAt Drive:    " + drive;
        if (ui.message(text, QStringLiteral("INSERT MP3 CDROM"), MsgIcon::None,
                       MsgButtons::OkCancel) == MsgAnswer::Cancel)
            return MsgAnswer::Cancel;
    }
}

MsgAnswer ConfirmDiscOfKey(Catalog& catalog, const Drives& drives, Ui& ui, const QString& key) {
    QString disc, path;
    if (!SplitDiscKey(key, &disc, &path))
        return MsgAnswer::Ok;
    return ConfirmDiscInDrive(catalog, drives, ui, disc, drives.driveRoot(path));
}

} // namespace tarl
