#pragma once

#include <QDialog>
#include <array>

class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace tarl {

struct AppState;

// "Setup": chooses the catalog file and the player program and writes both to the settings.
// After Apply, catalogChanged() tells the caller to run its start-up again on the new catalog.
class Options : public QDialog {
    Q_OBJECT
public:
    explicit Options(AppState& state, QWidget* parent = nullptr);

    // Shows the page of list entry `row` ("Data Base" or "Player") and fills its box; runs each
    // time the user chooses an entry, also the one already shown. No page shows before.
    void LstMenus_Click(int row);
    // The catalog file chooser (ChooseCatalogFile). A new name ending in ".mdb" makes an empty
    // catalog there, once the user has confirmed it.
    void btPathDb_Click();
    // The player program chooser: an existing executable file.
    void choosePlayerClicked();
    // Apply: stores the two paths and asks "Data Base changed"; on OK the open catalog is
    // closed and catalogChanged() turns true (not while an import writes to it: a box says the
    // new catalog opens at the next start).
    void btOk_Click();
    bool catalogChanged() const { return catalogChanged_; }
    void btCancel_Click();

    QListWidget* LstMenus = nullptr;
    std::array<QGroupBox*, 4> Fr{};
    QLineEdit* TxtpathDB = nullptr;
    QPushButton* btPathDb = nullptr;
    QRadioButton* optInternal = nullptr;
    QRadioButton* optWinamp = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* choosePlayerButton = nullptr;
    QPushButton* btOk = nullptr;
    QPushButton* btCancel = nullptr;

private:
    void buildDataBasePage();
    void buildPlayerPage();
    void buildTreePage();
    void buildMenuPage();

    AppState& state_;
    bool catalogChanged_ = false;
};

} // namespace tarl
