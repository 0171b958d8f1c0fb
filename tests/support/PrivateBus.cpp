#include "support/PrivateBus.h"

#include <QDBusPendingCall>
#include <QDeadlineTimer>
#include <QStandardPaths>
#include <QTest>

namespace tarl::test {

namespace {

constexpr int kWaitMs = 10000;

} // namespace

PrivateBus::PrivateBus() {
    // The window tests keep PATH to a folder of their own (no player found by chance).
    QString program = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (program.isEmpty())
        program = QStandardPaths::findExecutable(
            QStringLiteral("dbus-daemon"), {QStringLiteral("/usr/bin"), QStringLiteral("/bin")});
    if (program.isEmpty()) {
        problem = QStringLiteral("dbus-daemon is not installed (Debian: dbus)");
        return;
    }
    // It says on stderr that it may not raise its file limit: nothing the tests need.
    daemon_.setStandardErrorFile(QProcess::nullDevice());
    daemon_.start(program, {"--session", "--nofork", "--print-address=1"});
    const QDeadlineTimer deadline(kWaitMs);
    while (!daemon_.canReadLine() && !deadline.hasExpired() &&
           daemon_.waitForReadyRead(int(deadline.remainingTime()))) {
    }
    address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    if (address_.isEmpty())
        problem = QStringLiteral("dbus-daemon gave no address: ") + daemon_.errorString();
}

PrivateBus::~PrivateBus() {
    for (const QString& name : names_)
        QDBusConnection::disconnectFromBus(name);
    daemon_.kill();
    daemon_.waitForFinished(kWaitMs);
}

QDBusConnection PrivateBus::connect() {
    // Unique in the process: Qt shares a connection by its name.
    static int count = 0;
    names_.append(QStringLiteral("tarl-test-bus-%1").arg(++count));
    return QDBusConnection::connectToBus(address_, names_.last());
}

QDBusMessage Ask(const QDBusConnection& bus, const QDBusMessage& call) {
    const QDBusPendingCall pending = bus.asyncCall(call, kWaitMs);
    // Qt D-Bus itself answers an error after kWaitMs.
    if (!QTest::qWaitFor([&] { return pending.isFinished(); }, kWaitMs + 1000))
        return QDBusMessage::createError(QStringLiteral("org.tarl.Test.NoAnswer"), QString());
    return pending.reply();
}

void HeardSignals::listen(QDBusConnection bus, const QString& path, const QString& interface,
                          const QString& name) {
    bus.connect(QString(), path, interface, name, this, SLOT(take(QDBusMessage)));
}

QList<QVariantList> HeardSignals::of(const QString& name) const {
    QList<QVariantList> heard;
    for (const QDBusMessage& message : messages) {
        if (message.member() == name)
            heard.append(message.arguments());
    }
    return heard;
}

} // namespace tarl::test
