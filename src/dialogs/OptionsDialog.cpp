#include "dialogs/OptionsDialog.h"

#include "catalog/engine/CatalogAddress.h"
#include "dialogs/CatalogChooser.h"
#include "platform/PlayerLink.h"
#include "platform/Ui.h"
#include "state/AppState.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedLayout>
#include <QVBoxLayout>

namespace tarl {

namespace {
QLabel* note(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}
} // namespace

OptionsDialog::OptionsDialog(AppState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setWindowTitle(QStringLiteral("Setup"));
    setObjectName(QStringLiteral("OptionsDialog"));

    pageList = new QListWidget(this);
    pageList->setObjectName(QStringLiteral("pageList"));
    pageList->addItem(QStringLiteral("Data Base"));
    pageList->addItem(QStringLiteral("Player"));
    pageList->setFixedWidth(120);
    // An entry is chosen by selecting it (mouse or keyboard); a click on the entry already chosen
    // chooses it again and refills its box. The current entry the list takes on with the focus
    // is no choice: no page shows until the user chooses one. (A click on another entry chooses
    // it twice, selection then click; showing a page is the same each time.)
    connect(pageList, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> chosen = pageList->selectedItems();
        if (!chosen.isEmpty())
            pageChosen(pageList->row(chosen.first()));
    });
    connect(pageList, &QListWidget::clicked, this,
            [this](const QModelIndex& entry) { pageChosen(entry.row()); });

    buildDataBasePage();
    buildPlayerPage();
    buildTreePage();
    buildMenuPage();

    auto* pages = new QVBoxLayout;
    for (QGroupBox* frame : Fr) {
        frame->hide(); // no page shows until an entry is chosen
        pages->addWidget(frame);
    }
    pages->addStretch();

    okButton = new QPushButton(QStringLiteral("Apply"), this);
    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &OptionsDialog::okClicked);
    connect(cancelButton, &QPushButton::clicked, this, &OptionsDialog::cancelClicked);

    auto* body = new QHBoxLayout;
    body->addWidget(pageList);
    body->addLayout(pages, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);
    resize(560, 340);
}

void OptionsDialog::buildDataBasePage() {
    auto* frame = new QGroupBox(QStringLiteral("Data Base"), this);
    Fr[0] = frame;
    catalogPathEdit = new QLineEdit(frame);
    catalogPathEdit->setObjectName(QStringLiteral("catalogPathEdit"));
    catalogPathEdit->setPlaceholderText(
        QStringLiteral("a catalog file, or postgresql://USER@HOST:PORT/DATABASE"));
    chooseCatalogButton = new QPushButton(QStringLiteral("..."), frame);
    chooseCatalogButton->setObjectName(QStringLiteral("chooseCatalogButton"));
    chooseCatalogButton->setFixedWidth(32);
    connect(chooseCatalogButton, &QPushButton::clicked, this, &OptionsDialog::chooseCatalogClicked);

    // The catalog maintenance group has no behaviour; it is shown as the setup always showed it.
    auto* functions = new QGroupBox(QStringLiteral("Acces DB functions"), frame);
    functions->setEnabled(false);
    auto* grid = new QGridLayout(functions);
    grid->addWidget(new QPushButton(QStringLiteral("Change Path"), functions), 0, 0);
    grid->addWidget(new QPushButton(QStringLiteral("Delete DB"), functions), 1, 0);
    grid->addWidget(
        note(QStringLiteral("CAUTION!: This option will delete all DB contents."), functions), 1,
        1);
    grid->addWidget(new QPushButton(QStringLiteral("Purge DB"), functions), 2, 0);
    grid->addWidget(
        note(QStringLiteral("Delete duplicate information, and solve  problems."), functions), 2,
        1);
    grid->addWidget(new QPushButton(QStringLiteral("Compact DB"), functions), 3, 0);
    grid->addWidget(note(QStringLiteral("When you was delete several times, this function "
                                        "compact the Acces Data Base reducing  it's size."),
                         functions),
                    3, 1);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Path:"), frame));
    row->addWidget(catalogPathEdit, 1);
    row->addWidget(chooseCatalogButton);
    auto* layout = new QVBoxLayout(frame);
    layout->addLayout(row);
    layout->addWidget(functions);
}

void OptionsDialog::buildPlayerPage() {
    auto* frame = new QGroupBox(QStringLiteral("Player"), this);
    Fr[1] = frame;
    internalPlayerOption = new QRadioButton(QStringLiteral("Internal Tarl player"), frame);
    internalPlayerOption->setEnabled(false);
    playerPathOption = new QRadioButton(QStringLiteral("Winamp path"), frame);
    playerPathOption->setChecked(true);
    playerPathEdit = new QLineEdit(frame);
    playerPathEdit->setObjectName(QStringLiteral("playerPathEdit"));
    choosePlayerButton = new QPushButton(QStringLiteral("..."), frame);
    choosePlayerButton->setObjectName(QStringLiteral("choosePlayerButton"));
    choosePlayerButton->setFixedWidth(32);
    connect(choosePlayerButton, &QPushButton::clicked, this, &OptionsDialog::choosePlayerClicked);
    auto* row = new QHBoxLayout;
    row->addWidget(playerPathEdit, 1);
    row->addWidget(choosePlayerButton);
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(internalPlayerOption);
    layout->addWidget(playerPathOption);
    layout->addLayout(row);
}

void OptionsDialog::buildTreePage() {
    auto* frame = new QGroupBox(QStringLiteral("Tree"), this);
    Fr[2] = frame;
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(new QCheckBox(QStringLiteral("Show name (not show path)"), frame));
    layout->addWidget(new QCheckBox(QStringLiteral("Show only the last path file/folder"), frame));
    layout->addWidget(new QCheckBox(QStringLiteral("Don't expand node at move files."), frame));
}

void OptionsDialog::buildMenuPage() {
    auto* frame = new QGroupBox(QStringLiteral("Menu"), this);
    Fr[3] = frame;
    auto* toolbar = new QGroupBox(QStringLiteral("Toolbar"), frame);
    auto* inner = new QVBoxLayout(toolbar);
    inner->addWidget(new QCheckBox(QStringLiteral("Show Name"), toolbar));
    inner->addWidget(new QRadioButton(QStringLiteral("Show Menu"), toolbar));
    inner->addWidget(new QRadioButton(QStringLiteral("Show Toolbar"), toolbar));
    inner->addWidget(new QRadioButton(QStringLiteral("Show Toolbar and Menu"), toolbar));
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(toolbar);
}

void OptionsDialog::pageChosen(int row) {
    for (QGroupBox* frame : Fr)
        frame->hide();
    if (row == 0) {
        Fr[0]->show();
        catalogPathEdit->setText(
            state_.settings.ReadSetting(keys::Database, QStringLiteral("Path"), {}));
    } else if (row == 1) {
        Fr[1]->show();
        playerPathEdit->setText(
            state_.settings.ReadSetting(keys::Player, QStringLiteral("Path"), {}));
    }
}

void OptionsDialog::chooseCatalogClicked() {
    const QString file = ChooseCatalogFile(state_.services.ui);
    if (!file.isEmpty())
        catalogPathEdit->setText(file);
}

void OptionsDialog::choosePlayerClicked() {
    const QString file = state_.services.ui.openFile(QStringLiteral("Select Winamp player"), {},
                                                     QStringLiteral("Player program|*"));
    if (IsPlayerProgram(file))
        playerPathEdit->setText(file);
}

void OptionsDialog::okClicked() {
    Settings& settings = state_.settings;
    state_.playerPath = playerPathEdit->text();
    if (IsPlayerProgram(state_.playerPath))
        settings.write(keys::PlayerPath, state_.playerPath);
    // A catalog file, or the address of a catalog on a server typed into the box; an address
    // the connection would refuse (one holding a password) is said and never stored.
    const QString typed = catalogPathEdit->text();
    if (typed.endsWith(QLatin1String(".mdb")))
        settings.write(keys::DatabasePath, typed);
    if (IsServerAddress(typed.trimmed())) {
        const Result<ServerAddress> address = ParseServerAddress(typed.trimmed());
        if (!address) {
            state_.services.ui.message(address.error, QStringLiteral("Data Base"),
                                       MsgIcon::Exclamation, MsgButtons::Ok);
            return;
        }
        settings.write(keys::DatabasePath, typed.trimmed());
    }
    catalogChanged_ = false;
    if (AskReloadCatalog(state_.services.ui)) {
        // The import behind the main window writes to the open catalog: it stays open, and the
        // new one is opened at the next start.
        if (state_.importRunning) {
            state_.services.ui.message(
                QStringLiteral("An import is writing to the open catalog. The new catalog is "
                               "opened at the next start."),
                QStringLiteral("Data Base"), MsgIcon::Exclamation, MsgButtons::Ok);
            accept();
            return;
        }
        state_.catalog.connection.close();
        catalogChanged_ = true;
    }
    accept();
}

void OptionsDialog::cancelClicked() {
    reject();
}

} // namespace tarl
