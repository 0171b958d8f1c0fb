#include "dialogs/PropertiesDialog.h"

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

PropertiesDialog::PropertiesDialog(AppState& state, const QString& tag, const QString& key,
                                   QWidget* parent)
    : QDialog(parent), state_(state), tag_(tag), key_(key) {
    setWindowTitle(QStringLiteral("Properties"));
    setObjectName(QStringLiteral("PropertiesDialog"));
    setModal(true);

    // Captions exactly as the user knows them, inner and trailing spaces included.
    const std::array<QString, 6> captions{
        QStringLiteral("Path"),  QStringLiteral("Name"),      QStringLiteral("Mp3's   Folders  "),
        QStringLiteral("Style"), QStringLiteral("Comentary"), QStringLiteral("Date")};
    auto* grid = new QGridLayout(this);
    for (int i = 0; i < 6; ++i) {
        captionLabels[i] = new QLabel(captions[i], this);
        captionLabels[i]->setObjectName(QStringLiteral("caption%1").arg(i));
        grid->addWidget(captionLabels[i], i, 0);
    }
    for (int i = 0; i < 3; ++i) {
        valueLabels[i] = new QLabel(this);
        valueLabels[i]->setObjectName(QStringLiteral("value%1").arg(i));
        valueLabels[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(valueLabels[i], i, 1);
    }
    valueLabels[2]->setText(QStringLiteral("32 files"));
    styleBox = new QComboBox(this);
    styleBox->setObjectName(QStringLiteral("styleBox"));
    styleBox->setEditable(true);
    styleBox->setEditText(QStringLiteral("Maquina"));
    grid->addWidget(styleBox, 3, 1);
    commentEdit = new QLineEdit(this);
    commentEdit->setObjectName(QStringLiteral("commentEdit"));
    grid->addWidget(commentEdit, 4, 1);
    dateEdit = new QLineEdit(this);
    dateEdit->setObjectName(QStringLiteral("dateEdit"));
    grid->addWidget(dateEdit, 5, 1);
    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    grid->addWidget(okButton, 6, 0);
    grid->addWidget(cancelButton, 6, 1);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    resize(360, 220);
}

void PropertiesDialog::load() {
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
    valueLabels[0]->setText(volume->name);
    if (volume->label != QLatin1String("EOF"))
        valueLabels[1]->setText(volume->label);
    valueLabels[2]->setText(volume->m3us.toString());
}

int PropertiesDialog::exec() {
    load();
    return QDialog::exec();
}

} // namespace tarl
