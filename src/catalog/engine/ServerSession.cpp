#include "catalog/engine/ServerSession.h"

#include "catalog/engine/ServerCatalog.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlQuery>

namespace tarl {

namespace {

// A plain ROLLBACK, which ends a transaction (ROLLBACK TO a savepoint stays inside it).
bool EndsTransaction(const QString& statement) {
    const QString words = statement.simplified().toUpper();
    return StatementWord(statement) == QLatin1String("ROLLBACK") &&
           !words.startsWith(QLatin1String("ROLLBACK TO"));
}

// Statements that change nothing stored, so running one again cannot do anything twice.
bool ChangesNothing(const QString& statement) {
    const QString word = StatementWord(statement);
    for (const char* harmless : {"SELECT", "SHOW", "BEGIN", "START", "SET", "LISTEN"}) {
        if (word == QLatin1String(harmless))
            return true;
    }
    return false;
}

QString Reason(const QString& why) {
    return why.isEmpty() ? QStringLiteral("the server ended the session") : why;
}

} // namespace

void ServerSession::start(const ServerAddress& address) {
    address_ = address;
    channels_.clear();
    lockWaitMs_ = -1;
    transactionLost_ = false;
    lostWhy_.clear();
}

bool ServerSession::beforeStatement(QSqlDatabase& db, const QString& statement, bool& inTransaction,
                                    QString* error) {
    if (!db.isOpen()) {
        if (!reopen(db, {}, error))
            return false;
        if (inTransaction) {
            transactionLost_ = true;
            lostWhy_ = Reason({});
            inTransaction = false;
        }
    }
    if (!transactionLost_)
        return true;
    if (EndsTransaction(statement)) {
        transactionLost_ = false;
        return true;
    }
    *error = lostTransactionSentence(lostWhy_);
    return false;
}

bool ServerSession::afterLoss(QSqlDatabase& db, const QString& statement, bool wasInTransaction,
                              const QString& why, QString* error) {
    if (!reopen(db, why, error))
        return false;
    if (wasInTransaction) {
        transactionLost_ = !EndsTransaction(statement);
        lostWhy_ = Reason(why);
        if (transactionLost_) {
            *error = lostTransactionSentence(lostWhy_);
            return false;
        }
        return true;
    }
    if (ChangesNothing(statement) || EndsTransaction(statement))
        return true;
    *error = QStringLiteral("The connection to the catalog server of %1 was lost (%2) while a "
                            "change was sent: the server may not have made it. Tarl connected "
                            "again; look whether the change is there, then try again.")
                 .arg(address_.shown, Reason(why));
    return false;
}

bool ServerSession::subscribe(QSqlDatabase& db, const QString& channel) {
    QSqlDriver* driver = db.driver();
    if (!driver || !driver->subscribeToNotification(channel))
        return false;
    if (!channels_.contains(channel))
        channels_ << channel;
    return true;
}

bool ServerSession::reopen(QSqlDatabase& db, const QString& why, QString* error) {
    db.close();
    if (const Result<> opened = OpenServerDatabase(db, address_); !opened) {
        *error = QStringLiteral("The connection to the catalog server was lost (%1). %2 Tarl "
                                "tries again at the next action.")
                     .arg(Reason(why), opened.error);
        return false;
    }
    if (lockWaitMs_ >= 0)
        QSqlQuery(db).exec(QStringLiteral("SET lock_timeout = %1").arg(lockWaitMs_));
    for (const QString& channel : channels_)
        db.driver()->subscribeToNotification(channel);
    if (notice_)
        notice_(QStringLiteral("The connection to the catalog server of %1 was lost (%2); Tarl "
                               "connected again.")
                    .arg(address_.shown, Reason(why)));
    return true;
}

QString ServerSession::lostTransactionSentence(const QString& why) const {
    return QStringLiteral("The connection to the catalog server of %1 was lost (%2): what this "
                          "work wrote since it began was not saved. Tarl connected again; run "
                          "the work again.")
        .arg(address_.shown, why);
}

} // namespace tarl
