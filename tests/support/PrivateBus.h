#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QList>
#include <QObject>
#include <QProcess>
#include <QStringList>

namespace tarl::test {

// A session bus of the test's own: a dbus-daemon started for it, killed and waited for when the
// bus goes, every connection made to it closed first.
class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    // Why the daemon is not running; "" while it is.
    QString problem;
    // A new connection of its own to the bus.
    QDBusConnection connect();
    // The bus's address, as DBUS_SESSION_BUS_ADDRESS gives it.
    QString address() const { return address_; }

private:
    QProcess daemon_;
    QString address_;
    QStringList names_;
};

// Sends `call` and waits for its answer, running the event loop meanwhile so that a service of
// this very process can answer.
QDBusMessage Ask(const QDBusConnection& bus, const QDBusMessage& call);

// The signals heard, in order.
class HeardSignals : public QObject {
    Q_OBJECT

public:
    // Listens for `name` of `interface` from the object at `path`, from any sender.
    void listen(QDBusConnection bus, const QString& path, const QString& interface,
                const QString& name);
    // The arguments of each `name` heard.
    QList<QVariantList> of(const QString& name) const;
    QList<QDBusMessage> messages;

public slots:
    void take(const QDBusMessage& message) { messages.append(message); }
};

} // namespace tarl::test
