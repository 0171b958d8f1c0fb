#pragma once

#include <QString>
#include <functional>

namespace tarl {

class Ui;

// The catalog's check at start-up after a run that did not end cleanly (a crash, a kill, a power
// cut), before the catalog is opened.
//
// The engine's quick check runs with a note in status panel 1. A sound catalog opens as always.
// On a damaged one a box says so; when a backup is there it offers to open the newest one
// instead: accepted, the damaged file is kept aside (NAME.damaged, with its companion files) and
// the backup restored to the catalog's name, so nothing is lost either way; declined, the damaged
// catalog opens as it would have. Without a backup the box says how to see every problem. A
// catalog that cannot be checked at all (missing, busy) is left to the opening, which says why.
struct CatalogRecovery {
    Ui& ui;
    // Status panels 1 and 2 of the main window.
    std::function<void(int panel, const QString& text)> status;

    void checkAfterUncleanEnd(const QString& catalog);
};

} // namespace tarl
