#pragma once

#include "history/HistoryFile.h"

#include <QStringList>

namespace tarl {

// Caption of the History menu's entry i (from 1):
// i + ")  " + last component of the folder + "   >>>>>   " + song, as a MenuCaption (each "&"
// doubled, so the menu shows the names as written).
QString HistoryCaption(int i, const HistoryRecord& r);

// What the History menu shows: the captions of the file's first ten records, and whether the
// file exists (which enables "Clear history").
struct HistoryMenu {
    QStringList captions;
    bool exists = false;
};
inline constexpr int kHistoryMenuEntries = 10;

HistoryMenu HistoryMenuState(const QString& programFolder);

} // namespace tarl
