#include "KillVictim.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <iostream>
#include <sqlite3.h>

namespace tarl::test {

namespace {

// Waits for the victim's "go" line; false when it ended or stayed silent for a minute.
bool waitForGo(QProcess& process) {
    QByteArray seen;
    while (!seen.contains("go\n")) {
        if (!process.waitForReadyRead(60000))
            return false;
        seen += process.readAllStandardOutput();
    }
    return true;
}

VictimRun run(const QString& operation, const QString& folder, int delayMs) {
    QProcess process;
    QStringList arguments{operation, folder};
    if (delayMs < 0)
        arguments << QStringLiteral("once");
    process.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    process.start(QStringLiteral(TARL_KILL_VICTIM), arguments);
    VictimRun result;
    if (!process.waitForStarted() || !waitForGo(process)) {
        process.kill();
        process.waitForFinished();
        result.errors = QStringLiteral("the victim did not start: ") +
                        QString::fromLocal8Bit(process.readAllStandardError());
        return result;
    }
    QElapsedTimer clock;
    clock.start();
    const bool ended = process.waitForFinished(delayMs < 0 ? 120000 : delayMs);
    result.goToEnd = clock.elapsed();
    if (!ended) {
        process.kill(); // SIGKILL
        process.waitForFinished();
        result.killed = true;
    } else {
        result.exitCode = process.exitCode();
    }
    result.errors = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}

} // namespace

VictimRun RunVictim(const QString& operation, const QString& folder) {
    return run(operation, folder, -1);
}

VictimRun KillVictim(const QString& operation, const QString& folder, int delayMs) {
    return run(operation, folder, delayMs);
}

int KillRounds() {
    bool ok = false;
    const int rounds = qEnvironmentVariableIntValue("TARL_KILL_ROUNDS", &ok);
    return ok && rounds > 0 ? rounds : 10;
}

std::mt19937& KillRandom() {
    static std::mt19937 random = [] {
        bool ok = false;
        unsigned seed = qEnvironmentVariableIntValue("TARL_KILL_SEED", &ok);
        if (!ok)
            seed = std::random_device{}();
        std::cout << "kill delays seeded with TARL_KILL_SEED=" << seed << "\n";
        return std::mt19937(seed);
    }();
    return random;
}

QString ExecSql(const QString& file, const QString& sql) {
    sqlite3* db = nullptr;
    QString error;
    if (sqlite3_open(file.toUtf8().constData(), &db) != SQLITE_OK ||
        sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        error = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_close_v2(db);
    return error;
}

QVariant ScalarSql(const QString& file, const QString& query) {
    sqlite3* db = nullptr;
    sqlite3_stmt* statement = nullptr;
    QVariant value;
    if (sqlite3_open(file.toUtf8().constData(), &db) == SQLITE_OK &&
        sqlite3_prepare_v2(db, query.toUtf8().constData(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        if (text)
            value = QString::fromUtf8(text);
    }
    sqlite3_finalize(statement);
    sqlite3_close_v2(db);
    return value;
}

bool ReplaceCatalog(const QString& from, const QString& to) {
    for (const QString& suffix :
         {QString(), QStringLiteral("-wal"), QStringLiteral("-shm"), QStringLiteral("-journal")})
        QFile::remove(to + suffix);
    return QFile::copy(from, to);
}

QStringList FolderNames(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

} // namespace tarl::test
