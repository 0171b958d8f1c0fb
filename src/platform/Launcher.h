#pragma once

#include <QString>

namespace tarl {

// Starts other programs; none of them is watched once started.
class Launcher {
public:
    virtual ~Launcher() = default;

    // Starts a command line: the program, a space, the argument in double quotes. False when the
    // line is empty or the program could not be started.
    virtual bool start(const QString& commandLine) = 0;
    // Shows a folder in the desktop's file manager.
    virtual bool openFolder(const QString& folder) = 0;
    // Opens a file (a playlist) in the desktop's text editor, whatever its own type is.
    virtual bool openInTextEditor(const QString& file) = 0;
};

} // namespace tarl
