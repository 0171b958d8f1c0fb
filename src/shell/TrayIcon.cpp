#include "shell/TrayIcon.h"

#include "shell/Picture.h"

#include <QIcon>
#include <QMenu>
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
    // The icon's owner is no widget: the menu is deleted with it.
    menu_ = new QMenu;
    menu_->setObjectName(QStringLiteral("trayMenu"));
    connect(this, &QObject::destroyed, menu_, &QObject::deleteLater);
    menu_->addAction(QStringLiteral("Play/Pause"), this, &TrayIcon::playPauseChosen);
    menu_->addAction(QStringLiteral("Next"), this, &TrayIcon::nextChosen);
    menu_->addAction(QStringLiteral("Previous"), this, &TrayIcon::previousChosen);
    menu_->addSeparator();
    song_ = menu_->addAction(QString());
    song_->setEnabled(false);
    song_->setVisible(false);
    menu_->addSeparator();
    menu_->addAction(QStringLiteral("Show/Hide"), this, &TrayIcon::showHideChosen);
    menu_->addAction(QStringLiteral("Quit"), this, &TrayIcon::quitChosen);
    icon_->setContextMenu(menu_);
}

void TrayIcon::setSong(const QString& song) {
    // A name is text, never a shortcut marker.
    song_->setText(QString(song).replace(u'&', QStringLiteral("&&")));
    song_->setVisible(!song.isEmpty());
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
