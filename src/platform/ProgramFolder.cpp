#include "platform/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>

namespace tarl {

namespace {
QString withSlash(QString folder) {
    if (!folder.endsWith('/'))
        folder += '/';
    return folder;
}

// The folder without making it.
QString FolderOfSettings(const QString& executableFolder) {
    const QString home = qEnvironmentVariable("TARL_HOME");
    if (!home.isEmpty())
        return withSlash(QDir(home).absolutePath());
    if (!executableFolder.isEmpty() && QFileInfo::exists(withSlash(executableFolder) + "tarl.ini"))
        return withSlash(executableFolder);
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + "/.config";
    return withSlash(config + "/tarl");
}

} // namespace

QString ProgramFolder(const QString& executableFolder) {
    const QString folder = FolderOfSettings(executableFolder);
    QDir().mkpath(folder);
    return folder;
}

QString ExistingSettingsFile(const QString& executableFolder) {
    const QString file = FolderOfSettings(executableFolder) + QStringLiteral("tarl.ini");
    return QFileInfo(file).isFile() ? file : QString();
}

} // namespace tarl
