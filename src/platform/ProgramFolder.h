#pragma once

#include <QString>

namespace tarl {

// The folder where tarl.ini, m3uTmp.m3u and history/ live, ending in "/":
// $TARL_HOME when set; else the executable's folder when it already holds a tarl.ini (a portable
// install); else $XDG_CONFIG_HOME/tarl (default ~/.config/tarl), created on first use.
// `executableFolder` is QCoreApplication::applicationDirPath() in the programs.
QString ProgramFolder(const QString& executableFolder);

// The tarl.ini the programs of `executableFolder` use, found as ProgramFolder finds it; "" when
// there is none yet. Nothing is created.
QString ExistingSettingsFile(const QString& executableFolder);

} // namespace tarl
