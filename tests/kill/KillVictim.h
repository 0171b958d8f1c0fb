#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <random>

namespace tarl::test {

// How a run of the kill victim (tests/kill/victim) ended.
struct VictimRun {
    bool killed = false; // killed before it ended on its own
    int exitCode = -1;   // when it ended on its own
    QString errors;      // its error output
    qint64 goToEnd = 0;  // milliseconds from its "go" to its end
};

// Runs the victim's `operation` on `folder` to its end ("once" for the repeating operations).
VictimRun RunVictim(const QString& operation, const QString& folder);
// Starts the victim's `operation` on `folder` and kills it with SIGKILL `delayMs` milliseconds
// after it said "go", unless it ended first.
VictimRun KillVictim(const QString& operation, const QString& folder, int delayMs);

// The rounds of each kill loop: TARL_KILL_ROUNDS, 10 when unset.
int KillRounds();
// The random source of the kill delays, seeded from TARL_KILL_SEED when set (the seed used is
// printed, so a failing round can be run again).
std::mt19937& KillRandom();

// Runs `sql` (any number of statements) on the SQLite file `file` with a plain connection; ""
// when all ran, else the engine's reason.
QString ExecSql(const QString& file, const QString& sql);
// The first column of the first row of `query` on `file`; a null QVariant when there is none.
QVariant ScalarSql(const QString& file, const QString& query);

// Copies `from` to `to`, replacing `to` and the journal files beside it.
bool ReplaceCatalog(const QString& from, const QString& to);
// The names in `folder`, sorted.
QStringList FolderNames(const QString& folder);

} // namespace tarl::test
