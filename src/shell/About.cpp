#include "shell/About.h"

#include "desktop/IconLabel.h"
#include "shell/Picture.h"
#include "state/Version.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarl {

About::About(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About"));
    setObjectName(QStringLiteral("About"));
    auto* layout = new QVBoxLayout(this);
    auto* picture = new IconLabel(this);
    picture->setObjectName(QStringLiteral("picture"));
    picture->setIcon(TarlIcon(), QSize(128, 128));
    picture->setAlignment(Qt::AlignCenter);
    auto* label = new QLabel(QString(VersionLabel), this);
    label->setObjectName(QStringLiteral("version"));
    label->setAlignment(Qt::AlignCenter);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    close_ = new QPushButton(QStringLiteral("CLOSE"), this);
    close_->setDefault(true);
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(picture);
    layout->addWidget(label);
    layout->addWidget(close_, 0, Qt::AlignCenter);
}

} // namespace tarl
