#include "dialogs/RenameDialog.h"

#include "browser/NodeKind.h"
#include "catalog/CatalogFind.h"
#include "catalog/CatalogUpdate.h"
#include "platform/Ui.h"
#include "state/AppState.h"
#include "state/Version.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarl {

namespace {
// Boxes without a title of their own carry the program's title, as they always did.
const QString ProgramTitle = QString(VersionLabel);
} // namespace

RenameDialog::RenameDialog(AppState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setWindowTitle(QStringLiteral("Rename"));
    setObjectName(QStringLiteral("RenameDialog"));
    setModal(true);

    promptLabel = new QLabel(QStringLiteral("This option will  modify the hard disc file"), this);
    promptLabel->setObjectName(QStringLiteral("promptLabel"));
    nameEdit = new QLineEdit(this);
    nameEdit->setObjectName(QStringLiteral("nameEdit"));
    renameButton = new QPushButton(QStringLiteral("Rename"), this);
    renameButton->setObjectName(QStringLiteral("renameButton"));
    renameButton->setDefault(true);
    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    connect(renameButton, &QPushButton::clicked, this, &RenameDialog::renameClicked);
    connect(cancelButton, &QPushButton::clicked, this, &RenameDialog::cancelClicked);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(renameButton);
    buttons->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(promptLabel);
    layout->addWidget(nameEdit);
    layout->addLayout(buttons);
    resize(320, 110);
}

void RenameDialog::load() {
    nameEdit->setText(currentLabel);
    promptLabel->setText(prompt);
}

int RenameDialog::exec() {
    load();
    return QDialog::exec();
}

void RenameDialog::refuse(const QString& text) {
    state_.services.ui.message(text, ProgramTitle, MsgIcon::Critical, MsgButtons::Ok);
}

void RenameDialog::renameClicked() {
    goAhead = QStringLiteral("0");
    const QString name = nameEdit->text();
    if (renameMode == RenameStyle)
        renameStyle(name);
    else if (renameMode == NameCd && !name.isEmpty())
        nameCd(name);
    reject(); // the caller reads the values, not the dialog's result
}

void RenameDialog::cancelClicked() {
    reject();
}

void RenameDialog::renameStyle(const QString& name) {
    if (name.isEmpty() || NodeKindOfTag(clickedNode.tag) != NodeKind::Style) {
        refuse(QStringLiteral("The name is incorrect"));
        return;
    }
    // A look-up that failed proves nothing: the name may well be taken.
    const Lookup<qint64> taken = FindStyleId(state_.catalog, name);
    if (!taken.ok) {
        refuse(QStringLiteral("The name could not be checked: ") + taken.error);
        return;
    }
    if (taken.value != 0 && !isCaseOnlyChange(name, taken.value)) {
        refuse(QStringLiteral("The name is already used"));
        return;
    }
    // A refused write (locked, read-only, disc full) leaves the style and its tree node as they
    // were. Qualified: inside the dialog, RenameStyle names its own mode.
    const Result<> renamed = tarl::RenameStyle(state_.catalog, clickedNode.key, name);
    if (!renamed) {
        refuse(QStringLiteral("The style could not be renamed: ") + renamed.error);
        return;
    }
    state_.services.ui.message(QStringLiteral("Renamed to ") + name, ProgramTitle, MsgIcon::None,
                               MsgButtons::Ok);
    if (clickedNode.rename)
        clickedNode.rename(name);
    clickedNode.key = name;
}

bool RenameDialog::isCaseOnlyChange(const QString& name, qint64 takenId) {
    // Names compare without case, so "rock" finds the style "Rock" itself: giving a style
    // another case is a rename, not a clash. Its very own name stays refused.
    if (name == clickedNode.key)
        return false;
    const Lookup<qint64> own = FindStyleId(state_.catalog, clickedNode.key);
    return own.ok && own.value == takenId;
}

void RenameDialog::nameCd(const QString& name) {
    const Lookup<bool> taken = VolumeLabelExists(state_.catalog, name);
    if (!taken.ok) {
        refuse(QStringLiteral("The CD name could not be checked: ") + taken.error);
        return;
    }
    if (taken.value) {
        refuse(QStringLiteral("The CD name already exist in DB"));
        return;
    }
    currentLabel = name;
    goAhead = QStringLiteral("1");
}

} // namespace tarl
