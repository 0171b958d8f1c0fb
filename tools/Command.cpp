#include "Command.h"

#include "BackupCommands.h"
#include "CatalogEditCommands.h"
#include "CopyCommand.h"
#include "ImportCommand.h"
#include "ListCommand.h"
#include "NewCommand.h"
#include "SearchCommand.h"
#include "TagsCommand.h"
#include "TreeCommand.h"
#include "catalog/engine/Connection.h"
#include "platform/IniProfile.h"
#include "platform/ProgramFolder.h"
#include "state/Settings.h"
#include "text/PathMap.h"

#include <QCoreApplication>

namespace tarl::tool {

namespace {

// Add a command here and in a file of its own.
const Command kCommands[] = {
    {"new", "FILE|postgresql://USER@HOST:PORT/DATABASE",
     "Make a new, empty catalog file (an existing file is never replaced), or the catalog's "
     "tables in an empty database on a server.",
     RunNew},
    {"tags", "FILE...", "Print the tag fields of each file as one JSON object per line.", RunTags},
    {"list", "[--by paths|styles] CATALOG KEY",
     "Print the track list of the tree node with that key: one row a line, tab-separated; in a "
     "field a backslash, tab, line feed and carriage return are written \\\\, \\t, \\n and \\r, "
     "any other control character \\xHH.",
     RunList},
    {"tree", "[--by paths|styles] CATALOG",
     "Print the library tree as the window builds it: one node a line, depth first.", RunTree},
    {"import",
     "[--playlists|--sound-files|--all] [--no-subdirs] [--depth N] [--cd-name NAME] "
     "[--formats mp3,wav,wma,flac,ogg,m4a] --catalog CATALOG FOLDER",
     "Scan a folder for sound files or playlists and add what is found to the catalog.", RunImport},
    {"search",
     "CATALOG TEXT [--field File|Path|Album|Title|Artist|Genre|Year|Comments|Rating] "
     "[--ignore-accents]",
     "Print the hits of a search as the search window lists them: one a line, tab-separated, "
     "fields escaped as by list.",
     RunSearch},
    {"style", "add|rename|delete CATALOG NAME [NEW]",
     "Add a style, give a style a new name, or delete a style (its lists stay, with no style).",
     RunStyle},
    {"file-list", "CATALOG LIST-KEY STYLE",
     "File the list with that key in the tree by styles under a style.", RunFileList},
    {"delete-volume", "CATALOG KEY",
     "Delete the volume with that key in the tree by paths, with its lists and tracks.",
     RunDeleteVolume},
    {"backup", "CATALOG [DEST [--force]]",
     "Copy the catalog to DEST (--force replaces a DEST that is not a catalog), or without DEST "
     "to CATALOG.bak1 (older copies move to .bak2, .bak3).",
     RunBackup},
    {"restore", "BACKUP CATALOG [--force]",
     "Put a sound backup back as the catalog; --force replaces an existing one, kept aside.",
     RunRestore},
    {"check", "[--strip-foreign] CATALOG",
     "Run the full integrity check: \"ok\", or the problems (exit 1); --strip-foreign first "
     "removes triggers, views and tables Tarl did not make, after a backup.",
     RunCheck},
    {"copy", "SOURCE DEST [--force]",
     "Copy a whole catalog between a file and a server; --force replaces a DEST that has rows.",
     RunCopy},
};

void PrintUsage(QTextStream& stream) {
    stream << "Usage: tarl-catalog COMMAND [ARGUMENTS]\n\nCommands:\n";
    for (const Command& command : kCommands) {
        const QString head = QStringLiteral("%1 %2").arg(command.name, command.arguments);
        stream << "  " << head.leftJustified(20) << " " << command.summary << "\n";
    }
    stream << "\nA CATALOG is a catalog file or a server address, postgresql://USER@HOST:PORT/"
              "DATABASE\n(the password from ~/.pgpass or PGPASSWORD).\n"
              "\n\"tarl-catalog COMMAND --help\" describes one command.\n"
              "Exit status: 0 success, 1 failure, 2 bad usage.\n";
}

bool IsHelp(const QString& argument) {
    return argument == QLatin1String("--help") || argument == QLatin1String("-h");
}

} // namespace

std::span<const Command> Commands() {
    return kCommands;
}

void PrintCommandUsage(const Command& command, QTextStream& stream) {
    stream << "Usage: tarl-catalog " << command.name << " " << command.arguments << "\n"
           << command.summary << "\n";
}

int Dispatch(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    if (arguments.isEmpty()) {
        PrintUsage(err);
        return kBadUsage;
    }
    if (IsHelp(arguments.first())) {
        PrintUsage(out);
        return kSuccess;
    }
    for (const Command& command : kCommands) {
        if (arguments.first() != QLatin1String(command.name))
            continue;
        const QStringList rest = arguments.mid(1);
        if (rest.size() == 1 && IsHelp(rest.first())) {
            PrintCommandUsage(command, out);
            return kSuccess;
        }
        return command.run(rest, out, err);
    }
    err << "tarl-catalog: unknown command \"" << arguments.first() << "\"\n\n";
    PrintUsage(err);
    return kBadUsage;
}

PathMap MachinePathMap() {
    const QString file = ExistingSettingsFile(QCoreApplication::applicationDirPath());
    if (file.isEmpty())
        return {};
    IniProfile profile;
    Settings settings(profile);
    settings.setPath(file);
    return PathMap::Parse(settings.read(keys::PathMap));
}

void PrintCatalogNote(const Connection& connection, const char* command, QTextStream& err) {
    const QString note = connection.journalNote();
    if (!note.isEmpty())
        err << "tarl-catalog " << command << ": " << note << "\n";
}

QString FieldText(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        switch (code) {
        case u'\\':
            shown += QLatin1String("\\\\");
            break;
        case u'\t':
            shown += QLatin1String("\\t");
            break;
        case u'\n':
            shown += QLatin1String("\\n");
            break;
        case u'\r':
            shown += QLatin1String("\\r");
            break;
        default:
            // Any other control character would reach the terminal as a command (a title holding
            // ESC ] 52 writes its clipboard, ESC [ 2 J clears it): C0, DEL and C1 as \xHH.
            if (code < 0x20 || (code >= 0x7F && code <= 0x9F))
                shown += QLatin1String("\\x") +
                         QString::number(int(code), 16).toUpper().rightJustified(2, u'0');
            else
                shown += c;
        }
    }
    return shown;
}

} // namespace tarl::tool
