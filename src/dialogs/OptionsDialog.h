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
class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    explicit OptionsDialog(AppState& state, QWidget* parent = nullptr);

    // Shows the page of list entry `row` ("Data Base" or "Player") and fills its box; runs each
    // time the user chooses an entry, also the one already shown. No page shows before.
    void pageChosen(int row);
    // The catalog file chooser (ChooseCatalogFile). A new name ending in ".mdb" makes an empty
    // catalog there, once the user has confirmed it.
    void chooseCatalogClicked();
    // The player program chooser: an existing executable file.
    void choosePlayerClicked();
    // Apply: stores the two paths and asks "Data Base changed"; on OK the open catalog is
    // closed and catalogChanged() turns true (not while an import writes to it: a box says the
    // new catalog opens at the next start).
    void okClicked();
    bool catalogChanged() const { return catalogChanged_; }
    void cancelClicked();

    QListWidget* pageList = nullptr;
    std::array<QGroupBox*, 4> Fr{};
    QLineEdit* catalogPathEdit = nullptr;
    QPushButton* chooseCatalogButton = nullptr;
    QRadioButton* internalPlayerOption = nullptr;
    QRadioButton* playerPathOption = nullptr;
    QLineEdit* playerPathEdit = nullptr;
    QPushButton* choosePlayerButton = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;

private:
    void buildDataBasePage();
    void buildPlayerPage();
    void buildTreePage();
    void buildMenuPage();

    AppState& state_;
    bool catalogChanged_ = false;
};

} // namespace tarl
