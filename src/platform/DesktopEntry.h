#pragma once

#include <QString>
#include <QStringList>

namespace tarl {

// Reading the desktop's application entries (.desktop files), to start the application the
// desktop chose for a type of file.

// The folders holding .desktop files: $XDG_DATA_HOME/applications, then each of $XDG_DATA_DIRS.
QStringList DesktopApplicationFolders();

// The file of a desktop entry id ("org.gnome.TextEditor.desktop"; "kde4-kate.desktop" may live in
// "kde4/kate.desktop"), from the first folder holding it; "" when none does.
QString FindDesktopFile(const QString& id, const QStringList& folders);

// The program and arguments of a .desktop file's Exec key with `file` put in place of its field
// codes (added at the end when there is none). Empty when the file has no Exec, or names a
// terminal program, which cannot be shown without a terminal.
QStringList DesktopCommandFor(const QString& desktopFile, const QString& file);

// The same for an Exec value: splits it on blanks outside double quotes (in which "\" escapes the
// next character) and replaces the field codes.
QStringList ExpandDesktopExec(const QString& exec, const QString& file);

} // namespace tarl
