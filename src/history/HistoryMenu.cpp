#include "history/HistoryMenu.h"

#include "text/MenuCaption.h"
#include "text/PathText.h"

#include <QFileInfo>

namespace tarl {

QString HistoryCaption(int i, const HistoryRecord& r) {
    return MenuCaption(QString::number(i) + QStringLiteral(")  ") + LastPathPart(r.folder) +
                       QStringLiteral("   >>>>>   ") + r.song);
}

HistoryMenu HistoryMenuState(const QString& programFolder) {
    const QString path = HistoryFilePath(programFolder);
    HistoryMenu menu;
    menu.exists = QFileInfo::exists(path);
    const QList<HistoryRecord> records = ReadHistory(path, kHistoryMenuEntries);
    for (int i = 0; i < records.size(); ++i)
        menu.captions.append(HistoryCaption(i + 1, records[i]));
    return menu;
}

} // namespace tarl
