#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tarl {

struct AppState;

// The library tree's clicked node as the rename dialog needs it: its kind, its key (a style's
// present name) and how to give it a new name in the tree.
struct RenameNode {
    QString tag;
    QString key;
    // Sets the node's text to the name and its key to its new text.
    std::function<void(const QString& name)> rename;
};

// "Rename": asks for one name. Mode 1 renames the style of the clicked library-tree node in the
// catalog and in the tree; mode 2 names a CD before it is scanned, refusing a name another
// volume already carries. A catalog that cannot be asked or written (locked, read-only, disc
// full) refuses the name with the reason: the style and its node keep their name, and no CD name
// is accepted. The caller sets the values below, opens the dialog modally and reads them back
// once it has closed.
class RenameDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int RenameStyle = 1;
    static constexpr int NameCd = 2;

    explicit RenameDialog(AppState& state, QWidget* parent = nullptr);

    // Load: the proposed name in the text box, the prompt above it.
    void load();
    // Checks the typed name, acts on it, and closes the dialog whatever the outcome.
    void renameClicked();
    // Closes the dialog; nothing is written.
    void cancelClicked();

    // Runs load, then the dialog modally.
    int exec() override;

    int renameMode = RenameStyle;
    QString prompt;
    // In: the proposed name. Out (mode 2): the accepted CD name.
    QString currentLabel;
    // Out: "1" only when mode 2 accepted a name; Rename writes "0" first, Cancel nothing.
    QString goAhead;
    // Mode 1: the node being renamed; no node counts as a node that is not a style.
    RenameNode clickedNode;

    QLabel* promptLabel = nullptr;
    QLineEdit* nameEdit = nullptr;
    QPushButton* renameButton = nullptr;
    QPushButton* cancelButton = nullptr;

private:
    void renameStyle(const QString& name);
    void nameCd(const QString& name);
    // Whether `name`, found as the style `takenId`, only changes the case of the clicked style.
    bool isCaseOnlyChange(const QString& name, qint64 takenId);
    void refuse(const QString& text);

    AppState& state_;
};

} // namespace tarl
