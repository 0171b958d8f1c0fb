#pragma once

#include "platform/Launcher.h"

#include <QStringList>

namespace tarl::test {

// Records what would have been started and answers `result` to every call.
class FakeLauncher : public Launcher {
public:
    bool start(const QString& commandLine) override {
        commandLines.append(commandLine);
        return result;
    }
    bool openFolder(const QString& folder) override {
        openedFolders.append(folder);
        return result;
    }
    bool openInTextEditor(const QString& file) override {
        editedFiles.append(file);
        return result;
    }

    bool result = true;
    QStringList commandLines;
    QStringList openedFolders;
    QStringList editedFiles;
};

} // namespace tarl::test
