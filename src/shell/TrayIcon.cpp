#include "shell/TrayIcon.h"

#include "shell/Picture.h"

#include <QIcon>
#include <QSystemTrayIcon>

namespace tarl {

namespace {
constexpr qsizetype TrayTipLength = 63;
}

QString TrayTip(const QString& text) {
    return text.left(TrayTipLength);
}

TrayIcon::TrayIcon(QObject* parent) : QObject(parent), icon_(new QSystemTrayIcon(this)) {
    icon_->setIcon(TarlIcon());
    connect(icon_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason why) {
                if (why == QSystemTrayIcon::Trigger)
                    emit leftClicked();
            });
}

void TrayIcon::showTrayIcon() {
    icon_->setToolTip(QStringLiteral("TarlV3.0"));
    if (QSystemTrayIcon::isSystemTrayAvailable())
        icon_->show();
}

void TrayIcon::setTrayTip(const QString& text) {
    icon_->setToolTip(TrayTip(text));
}

void TrayIcon::remove() {
    icon_->hide();
}

bool TrayIcon::visible() const {
    return QSystemTrayIcon::isSystemTrayAvailable() && icon_->isVisible();
}

QString TrayIcon::tip() const {
    return icon_->toolTip();
}

} // namespace tarl
