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
} // namespace

QString ProgramFolder(const QString& executableFolder) {
    const QString home = qEnvironmentVariable("TARL_HOME");
    if (!home.isEmpty()) {
        QDir().mkpath(home);
        return withSlash(QDir(home).absolutePath());
    }
    if (!executableFolder.isEmpty() && QFileInfo::exists(withSlash(executableFolder) + "tarl.ini"))
        return withSlash(executableFolder);
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + "/.config";
    const QString folder = config + "/tarl";
    QDir().mkpath(folder);
    return withSlash(folder);
}

} // namespace tarl
