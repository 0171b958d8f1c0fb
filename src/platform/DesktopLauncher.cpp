#include "platform/DesktopLauncher.h"

#include "platform/DesktopEntry.h"

#include <QProcess>

namespace tarl {

namespace {

bool StartDetached(const QStringList& command) {
    if (command.isEmpty() || command.first().isEmpty())
        return false;
    return QProcess::startDetached(command.first(), command.mid(1));
}

} // namespace

DesktopLauncher::DesktopLauncher() = default;

DesktopLauncher::DesktopLauncher(Tools tools) : tools_(std::move(tools)) {}

bool DesktopLauncher::start(const QString& commandLine) {
    return StartDetached(QProcess::splitCommand(commandLine));
}

bool DesktopLauncher::openFolder(const QString& folder) {
    if (folder.isEmpty())
        return false;
    return StartDetached({tools_.opener, folder});
}

bool DesktopLauncher::openInTextEditor(const QString& file) {
    if (file.isEmpty())
        return false;
    const QStringList folders = tools_.applicationFolders.isEmpty() ? DesktopApplicationFolders()
                                                                    : tools_.applicationFolders;
    const QString entry = FindDesktopFile(textEditorEntry(), folders);
    if (!entry.isEmpty() && StartDetached(DesktopCommandFor(entry, file)))
        return true;
    return StartDetached({tools_.opener, file});
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
