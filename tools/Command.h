#pragma once

#include <QStringList>
#include <QTextStream>
#include <span>

namespace tarl {
class Connection;
class PathMap;
} // namespace tarl

namespace tarl::tool {

// Exit codes of every command.
enum ExitCode { kSuccess = 0, kFailure = 1, kBadUsage = 2 };

// One subcommand of tarl-catalog. `run` gets the arguments after the command's name and
// writes results to `out`, reasons to `err`; it returns an ExitCode.
struct Command {
    const char* name;
    const char* arguments; // as the usage shows them, e.g. "FILE"
    const char* summary;   // one line
    int (*run)(const QStringList& arguments, QTextStream& out, QTextStream& err);
};

// Every command, in the order the usage lists them.
std::span<const Command> Commands();

// Runs the command named by the first argument; the usage for none, "--help" or an unknown one.
int Dispatch(const QStringList& arguments, QTextStream& out, QTextStream& err);

// A field as the line-per-record commands print it: a backslash, tab, line feed or carriage
// return is written "\\", "\t", "\n" or "\r", so one record is always one line; every other
// control character (C0, DEL, C1) as "\xHH", so no field reaches the terminal as a command.
QString FieldText(const QString& text);

// Once a catalog is open: how it is kept, when that is worth knowing (a rollback journal on a
// network share), as one line on `err`.
void PrintCatalogNote(const Connection& connection, const char* command, QTextStream& err);

// This machine's "[Database] PathMap" from the settings file the window reads (found as the
// window finds it; none when there is no such file): the commands store, look up and check
// paths through it exactly as the window does.
PathMap MachinePathMap();

// "Usage: tarl-catalog NAME ARGUMENTS" and the summary of one command.
void PrintCommandUsage(const Command& command, QTextStream& stream);

} // namespace tarl::tool
