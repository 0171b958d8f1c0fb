#pragma once

#include "catalog/engine/CatalogAddress.h"

#include <QString>
#include <QStringList>
#include <functional>

class QSqlDatabase;

namespace tarl {

// The session a catalog connection holds on a server, made again when the server ends it (a
// restart, an administrator, a broken network) so an open window goes on at its next action.
//
// The driver closes a session the server ended as the statement that met the end fails. Before
// each statement a closed session is opened again, with what the first one had set up (the
// notices listened to, the wait for locks). A statement that met the end is run again on the new
// session only when it cannot have changed anything (a read, BEGIN) and no transaction was open:
// a write may or may not have reached the server, and a transaction's writes went with the
// session. The statements of such a lost transaction are refused until the caller's ROLLBACK,
// so nothing of it is ever committed by halves on the new session.
class ServerSession {
public:
    // Starts over for a session just opened on `address`.
    void start(const ServerAddress& address);

    // Called with a sentence for the status bar each time a session is made again.
    void setReconnectNotice(std::function<void(const QString&)> notice) {
        notice_ = std::move(notice);
    }

    // Whether `statement` may run now, the session opened again first where the server ended
    // it. `inTransaction` is the connection's, and cleared when the transaction was lost. False,
    // with the sentence in *error, when the session cannot be made again or the statement
    // belongs to a lost transaction.
    bool beforeStatement(QSqlDatabase& db, const QString& statement, bool& inTransaction,
                         QString* error);

    // After `statement` failed and took the session with it (`why`: the server's words): the
    // session is made again; true when the statement may run again on it. False, with the
    // sentence in *error, otherwise.
    bool afterLoss(QSqlDatabase& db, const QString& statement, bool wasInTransaction,
                   const QString& why, QString* error);

    // Listens for `channel`'s notices, now and on every session made again.
    bool subscribe(QSqlDatabase& db, const QString& channel);
    // The wait for another program's lock this session runs with (ms), kept for the next.
    void keepLockWait(int ms) { lockWaitMs_ = ms; }

private:
    // Opens a new session; false with the sentence in *error.
    bool reopen(QSqlDatabase& db, const QString& why, QString* error);
    QString lostTransactionSentence(const QString& why) const;

    ServerAddress address_;
    QStringList channels_;
    int lockWaitMs_ = -1;
    bool transactionLost_ = false;
    QString lostWhy_;
    std::function<void(const QString&)> notice_;
};

} // namespace tarl
