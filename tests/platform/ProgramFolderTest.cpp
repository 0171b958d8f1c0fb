#include "platform/ProgramFolder.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using tarl::ProgramFolder;
using tarl::test::TempDir;

namespace {

// Sets environment variables for one test and puts the old values back.
class Env {
public:
    void set(const char* name, const QByteArray& value) {
        saved_.emplace_back(name, qgetenv(name), qEnvironmentVariableIsSet(name));
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~Env() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            const auto& [name, value, wasSet] = *it;
            if (wasSet)
                qputenv(name, value);
            else
                qunsetenv(name);
        }
    }

private:
    std::vector<std::tuple<const char*, QByteArray, bool>> saved_;
};

TEST(ProgramFolder, TarlHomeWinsThenAPortableInstallThenTheConfigFolder) {
    TempDir dir;
    const QString exe = QFileInfo(dir.write("bin/tarl", "x")).absolutePath();
    Env env;
    env.set("XDG_CONFIG_HOME", dir.file("config").toUtf8());

    env.set("TARL_HOME", dir.file("home").toUtf8());
    EXPECT_EQ(ProgramFolder(exe), dir.file("home") + "/");
    EXPECT_TRUE(QFileInfo(dir.file("home")).isDir());

    env.set("TARL_HOME", QByteArray());
    EXPECT_EQ(ProgramFolder(exe), dir.file("config/tarl/"));
    EXPECT_TRUE(QFileInfo(dir.file("config/tarl")).isDir());

    dir.write("bin/tarl.ini", "[Database]\n");
    EXPECT_EQ(ProgramFolder(exe), exe + "/");
}

} // namespace
