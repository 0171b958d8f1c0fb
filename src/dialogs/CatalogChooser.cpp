#include "dialogs/CatalogChooser.h"

#include "catalog/engine/CatalogFile.h"
#include "platform/Ui.h"

#include <QFileInfo>

namespace tarl {

namespace {
const QString CatalogDialogTitle = QStringLiteral("Select data base Tarl");

bool offerNewCatalog(Ui& ui, const QString& file) {
    const QString question =
        QStringLiteral("The catalog %1 does not exist yet.\nCreate a new, empty catalog there?")
            .arg(file);
    if (ui.message(question, CatalogDialogTitle, MsgIcon::Question, MsgButtons::OkCancel) !=
        MsgAnswer::Ok)
        return false;
    const Result<> made = CreateCatalog(file);
    if (made)
        return true;
    ui.message(QStringLiteral("The new catalog could not be made.\n") + made.error,
               CatalogDialogTitle, MsgIcon::Critical, MsgButtons::Ok);
    return false;
}
} // namespace

QString ChooseCatalogFile(Ui& ui) {
    const QString file = ui.openFile(CatalogDialogTitle, QStringLiteral(".mdb"),
                                     QStringLiteral("BAse de datos ACCES para Tarl (*.mdb)|*.mdb"));
    if (!file.endsWith(QLatin1String(".mdb")))
        return {}; // also a cancelled dialog
    if (!QFileInfo::exists(file) && !offerNewCatalog(ui, file))
        return {};
    return file;
}

bool AskReloadCatalog(Ui& ui) {
    return ui.message(QStringLiteral("Data Base changed"),
                      QStringLiteral("Ok for reload the new Data Base "), MsgIcon::None,
                      MsgButtons::OkCancel) == MsgAnswer::Ok;
}

} // namespace tarl
