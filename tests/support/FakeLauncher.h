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
    Result<> openFolder(const QString& folder) override {
        openedFolders.append(folder);
        return answer();
    }
    Result<> openInTextEditor(const QString& file) override {
        editedFiles.append(file);
        return answer();
    }
    Result<> answer() const {
        return result ? Result<>() : Result<>::failed(QStringLiteral("Refused by the test."));
    }

    bool result = true;
    QStringList commandLines;
    QStringList openedFolders;
    QStringList editedFiles;
};

} // namespace tarl::test
