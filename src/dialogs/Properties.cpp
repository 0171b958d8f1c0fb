#include "dialogs/Properties.h"

#include "browser/NodeKind.h"
#include "browser/TreeCommands.h"
#include "catalog/LibraryReads.h"
#include "platform/Ui.h"
#include "state/AppState.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tarl {

Properties::Properties(AppState& state, const QString& tag, const QString& key, QWidget* parent)
    : QDialog(parent), state_(state), tag_(tag), key_(key) {
    setWindowTitle(QStringLiteral("Properties"));
    setObjectName(QStringLiteral("Properties"));
    setModal(true);

    // Captions exactly as the user knows them, inner and trailing spaces included.
    const std::array<QString, 6> captions{
        QStringLiteral("Path"),  QStringLiteral("Name"),      QStringLiteral("Mp3's   Folders  "),
        QStringLiteral("Style"), QStringLiteral("Comentary"), QStringLiteral("Date")};
    auto* grid = new QGridLayout(this);
    for (int i = 0; i < 6; ++i) {
        Label1[i] = new QLabel(captions[i], this);
        Label1[i]->setObjectName(QStringLiteral("Label1_%1").arg(i));
        grid->addWidget(Label1[i], i, 0);
    }
    for (int i = 0; i < 3; ++i) {
        label2[i] = new QLabel(this);
        label2[i]->setObjectName(QStringLiteral("label2_%1").arg(i));
        label2[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(label2[i], i, 1);
    }
    label2[2]->setText(QStringLiteral("32 files"));
    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    Combo1->setEditText(QStringLiteral("Maquina"));
    grid->addWidget(Combo1, 3, 1);
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    grid->addWidget(Text1, 4, 1);
    Text2 = new QLineEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    grid->addWidget(Text2, 5, 1);
    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    Command2 = new QPushButton(QStringLiteral("Cancel"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    grid->addWidget(okButton, 6, 0);
    grid->addWidget(Command2, 6, 1);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
    resize(360, 220);
}

void Properties::load() {
    if (NodeKindOfTag(tag_) != NodeKind::Volume)
        return;
    const Lookup<std::vector<VolumeRow>> volumes = ReadVolumes(state_.catalog);
    if (!volumes) {
        state_.services.ui.message(
            QStringLiteral("The volume could not be read from the catalog: ") + volumes.error,
            windowTitle(), MsgIcon::Critical, MsgButtons::Ok);
        return;
    }
    const std::optional<VolumeRow> volume = VolumeOfNode(volumes.value, key_);
    if (!volume)
        return;
    label2[0]->setText(volume->name);
    if (volume->label != QLatin1String("EOF"))
        label2[1]->setText(volume->label);
    label2[2]->setText(volume->m3us.toString());
}

int Properties::exec() {
    load();
    return QDialog::exec();
}

} // namespace tarl
