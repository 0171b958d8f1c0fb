#include "shell/CatalogRecovery.h"

#include "catalog/maintenance/CatalogBackup.h"
#include "catalog/maintenance/CatalogCheck.h"
#include "catalog/maintenance/CatalogRestore.h"
#include "platform/Ui.h"

namespace tarl {

namespace {

const QString DamagedTitle = QStringLiteral("Data Base damaged");

// The first problems the check found: enough to judge, short enough for a box.
QString FirstProblems(const QStringList& problems) {
    constexpr int kShown = 5;
    QString text = problems.mid(0, kShown).join(QLatin1Char('\n'));
    if (problems.size() > kShown)
        text += QStringLiteral("\n(%1 more)").arg(problems.size() - kShown);
    return text;
}

} // namespace

void CatalogRecovery::checkAfterUncleanEnd(const QString& catalog) {
    status(1, QStringLiteral("Tarl did not close cleanly last time: checking the catalog..."));
    const Result<QStringList> problems = CheckCatalog(catalog, CheckDepth::Quick);
    status(1, QString());
    if (!problems || problems.value.isEmpty())
        return;

    const QString found = QStringLiteral("Tarl did not close cleanly last time, and the catalog "
                                         "%1 is damaged:\n%2\n\n")
                              .arg(catalog, FirstProblems(problems.value));
    const QString backup = NewestBackup(catalog);
    if (backup.isEmpty()) {
        ui.message(found + QStringLiteral("There is no backup of it. It opens as it is; to see "
                                          "every problem, run:\ntarl-catalog check %1")
                               .arg(catalog),
                   DamagedTitle, MsgIcon::Exclamation, MsgButtons::Ok);
        return;
    }
    const MsgAnswer answer = ui.message(
        found + QStringLiteral("Ok opens its newest backup, %1, instead; the damaged catalog is "
                               "kept beside it as %2.damaged.\nCancel opens the damaged catalog.")
                    .arg(backup, catalog),
        DamagedTitle, MsgIcon::Exclamation, MsgButtons::OkCancel);
    if (answer != MsgAnswer::Ok)
        return;
    const Result<QString> restored = RestoreCatalog(backup, catalog, QStringLiteral("damaged"));
    if (!restored) {
        ui.message(restored.error + QStringLiteral("\nThe damaged catalog opens as it is."),
                   DamagedTitle, MsgIcon::Critical, MsgButtons::Ok);
        return;
    }
    status(2, QStringLiteral("The catalog was restored from %1; the damaged one is kept as %2.")
                  .arg(backup, restored.value));
}

} // namespace tarl
