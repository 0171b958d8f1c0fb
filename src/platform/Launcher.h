#pragma once

#include "text/Result.h"

#include <QString>

namespace tarl {

// Starts other programs; none of them is watched once started.
class Launcher {
public:
    virtual ~Launcher() = default;

    // Starts a command line: the program, a space, the argument in double quotes. False when the
    // line is empty or the program could not be started.
    virtual bool start(const QString& commandLine) = 0;
    // Shows a folder in the desktop's file manager. `folder` must be the absolute path of an
    // existing folder: anything else (a relative path, a text starting with "-" or "+", which
    // the program would read as an option or a command) is refused with the reason.
    virtual Result<> openFolder(const QString& folder) = 0;
    // Opens a file (a playlist) in the desktop's text editor, whatever its own type is. `file`
    // must be the absolute path of an existing file that is not a folder; anything else is
    // refused with the reason.
    virtual Result<> openInTextEditor(const QString& file) = 0;
};

} // namespace tarl
