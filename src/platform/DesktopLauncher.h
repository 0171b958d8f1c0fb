#pragma once

#include "platform/Launcher.h"

#include <QStringList>

namespace tarl {

// Starts programs detached from this process, and opens folders and files the way the desktop
// does (xdg-open). A playlist is opened with the desktop's application for plain text, since
// xdg-open would hand it to the music player. Only absolute paths of what exists are handed
// over (see Launcher), whoever calls.
class DesktopLauncher : public Launcher {
public:
    // The desktop's tools; tests put small scripts in their place.
    struct Tools {
        QString opener = QStringLiteral("xdg-open");
        // Answers "xdg-mime query default text/plain" with a desktop entry id.
        QString mimeQuery = QStringLiteral("xdg-mime");
        // Where desktop entries are looked up; empty for the XDG data folders.
        QStringList applicationFolders;
    };

    DesktopLauncher();
    explicit DesktopLauncher(Tools tools);

    bool start(const QString& commandLine) override;
    Result<> openFolder(const QString& folder) override;
    Result<> openInTextEditor(const QString& file) override;

private:
    QString textEditorEntry() const;

    Tools tools_;
};

} // namespace tarl
