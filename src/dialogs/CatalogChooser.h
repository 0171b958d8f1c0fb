#pragma once

#include <QString>

namespace tarl {

class Ui;

// Choosing the catalog file, shared by Setup's "Data Base" page and the start-up that finds no
// catalog set. Boxes only, through Ui: no widget of its own.

// The file chooser ("Select data base Tarl", "*.mdb"). Gives the file chosen when its name ends
// in ".mdb" (compared exactly) and it exists, or it did not exist and the user confirmed making a
// new, empty catalog there, which was made. "" when cancelled, declined or when the new catalog
// could not be made (a box says why).
QString ChooseCatalogFile(Ui& ui);

// Apply's question once the paths are stored: "Data Base changed"; true when answered OK, which
// means the catalog is to be opened again.
bool AskReloadCatalog(Ui& ui);

} // namespace tarl
