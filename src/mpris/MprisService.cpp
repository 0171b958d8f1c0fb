#include "mpris/MprisService.h"

#include "mpris/MprisAdaptors.h"
#include "mpris/MprisValues.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <utility>

namespace tarl {

namespace {

const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kBusName = QStringLiteral("org.mpris.MediaPlayer2.tarl");

} // namespace

MprisService::MprisService(MediaControls& controls, QDBusConnection bus, QObject* parent)
    : QObject(parent), controls_(controls), bus_(std::move(bus)) {
    // Children of the service, which is the object on the bus: Qt exports them as its interfaces.
    new MprisRootAdaptor(*this);
    player_ = new MprisPlayerAdaptor(*this);
}

MprisService::~MprisService() {
    if (!started_)
        return;
    bus_.unregisterService(busName_);
    bus_.unregisterObject(kObjectPath);
}

bool MprisService::fail(const QString& why) {
    failure_ = why;
    return false;
}

bool MprisService::start() {
    if (started_)
        return true;
    if (!bus_.isConnected())
        return fail(QStringLiteral(
            "No session bus: media keys and the desktop's player controls are off."));
    // The object first, so that whoever sees the name appear finds the player behind it.
    if (!bus_.registerObject(kObjectPath, this, QDBusConnection::ExportAdaptors))
        return fail(QStringLiteral("Media keys and the desktop's player controls are off: the "
                                   "session bus refused Tarl's player object (%1).")
                        .arg(bus_.lastError().message()));
    // A second Tarl of the same user takes a name of its own, as the interface allows.
    const QString instanceName =
        kBusName + QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid());
    for (const QString& name : {kBusName, instanceName}) {
        if (!bus_.registerService(name))
            continue;
        busName_ = name;
        started_ = true;
        failure_.clear();
        last_ = controls_.status();
        sinceLast_.start();
        return true;
    }
    bus_.unregisterObject(kObjectPath);
    return fail(QStringLiteral("Media keys and the desktop's player controls are off: the "
                               "session bus gives Tarl neither the name %1 nor %2.")
                    .arg(kBusName, instanceName));
}

void MprisService::refresh() {
    announce(false);
}

void MprisService::announce(bool seeked) {
    if (!started_)
        return;
    const MediaStatus now = controls_.status();
    const qint64 elapsedUs = sinceLast_.restart() * 1000;
    const QVariantMap changed = ChangedProperties(last_, now);
    const bool jumped = PositionJumped(last_, now, elapsedUs);
    last_ = now;
    if (!changed.isEmpty()) {
        QDBusMessage signal = QDBusMessage::createSignal(
            kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
            QStringLiteral("PropertiesChanged"));
        signal << QStringLiteral("org.mpris.MediaPlayer2.Player") << changed << QStringList();
        bus_.send(signal);
    }
    if (seeked || jumped)
        emit player_->Seeked(now.positionUs);
}

} // namespace tarl
