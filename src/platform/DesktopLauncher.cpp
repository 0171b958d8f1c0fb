#include "platform/DesktopLauncher.h"

#include "platform/DesktopEntry.h"

#include <QFile>
#include <QProcess>

#include <sys/stat.h>

namespace tarl {

namespace {

enum class PathKind { File, Folder };

// Whether `path` may be handed to another program as the file or folder to open. Only the
// absolute path of something that exists passes: a path starting with "/" is never read as an
// option ("-x", "--eval=...") or a command ("+:!cmd") by the editor or the file manager, and a
// name from a catalog row that is not there (a relative one, a URL) is never tried.
Result<> CheckPathToOpen(const QString& path, PathKind kind) {
    if (path.isEmpty())
        return Result<>::failed(QStringLiteral("No file or folder was named."));
    if (!path.startsWith(u'/') || path.contains(QChar(u'\0')))
        return Result<>::failed(
            QStringLiteral("%1 is not the full path of a file or folder on this computer.")
                .arg(path));
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return Result<>::failed(QStringLiteral("%1 does not exist.").arg(path));
    if (kind == PathKind::Folder && !S_ISDIR(st.st_mode))
        return Result<>::failed(QStringLiteral("%1 is not a folder.").arg(path));
    if (kind == PathKind::File && !S_ISREG(st.st_mode))
        return Result<>::failed(QStringLiteral("%1 is not a file that can be edited.").arg(path));
    return {};
}

bool StartDetached(const QStringList& command) {
    if (command.isEmpty() || command.first().isEmpty())
        return false;
    return QProcess::startDetached(command.first(), command.mid(1));
}

QString CouldNotStart(const QString& program) {
    return QStringLiteral("The program %1 could not be started.").arg(program);
}

} // namespace

DesktopLauncher::DesktopLauncher() = default;

DesktopLauncher::DesktopLauncher(Tools tools) : tools_(std::move(tools)) {}

bool DesktopLauncher::start(const QString& commandLine) {
    return StartDetached(QProcess::splitCommand(commandLine));
}

Result<> DesktopLauncher::openFolder(const QString& folder) {
    if (const Result<> usable = CheckPathToOpen(folder, PathKind::Folder); !usable)
        return usable;
    if (!StartDetached({tools_.opener, folder}))
        return Result<>::failed(CouldNotStart(tools_.opener));
    return {};
}

Result<> DesktopLauncher::openInTextEditor(const QString& file) {
    if (const Result<> usable = CheckPathToOpen(file, PathKind::File); !usable)
        return usable;
    const QStringList folders = tools_.applicationFolders.isEmpty() ? DesktopApplicationFolders()
                                                                    : tools_.applicationFolders;
    const QString entry = FindDesktopFile(textEditorEntry(), folders);
    if (!entry.isEmpty() && StartDetached(DesktopCommandFor(entry, file)))
        return {};
    if (!StartDetached({tools_.opener, file}))
        return Result<>::failed(CouldNotStart(tools_.opener));
    return {};
}

QString DesktopLauncher::textEditorEntry() const {
    QProcess query;
    query.start(tools_.mimeQuery,
                {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/plain")});
    // The query is a short script; a desktop that hangs in it must not hang the caller.
    if (!query.waitForFinished(3000)) {
        query.kill();
        query.waitForFinished(1000);
        return {};
    }
    if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0)
        return {};
    const QString output = QString::fromUtf8(query.readAllStandardOutput()).trimmed();
    // Several ids may be listed; the first is the default.
    return output.section(';', 0, 0).section('\n', 0, 0).trimmed();
}

} // namespace tarl
