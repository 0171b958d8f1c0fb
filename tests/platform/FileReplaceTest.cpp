#include "platform/FileReplace.h"

#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarl {
namespace {

using test::TempDir;

TEST(FileReplace, SaysWhyAWriteFailedInWords) {
    const struct {
        const char* name;
        int error;
        QString text;
    } cases[] = {
        {"full", ENOSPC,
         "The disc is full: /m/tarl.ini could not be written and was left as it was."},
        {"quota", EDQUOT,
         "The disc is full: /m/tarl.ini could not be written and was left as it was."},
        {"denied", EACCES, "Cannot write /m/tarl.ini: Permission denied"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WriteFailureText("/m/tarl.ini", c.error), c.text) << c.name;
}

TEST(FileReplace, KeepsThePermissionsOfTheOldFile) {
    TempDir dir;
    const QString file = dir.write("tarl.ini", "old");
    ASSERT_EQ(::chmod(qPrintable(file), 0640), 0);

    ASSERT_TRUE(ReplaceFile(file, "new"));
    EXPECT_EQ(dir.read("tarl.ini"), "new");
    struct stat written {};
    ASSERT_EQ(::stat(qPrintable(file), &written), 0);
    EXPECT_EQ(written.st_mode & 07777, 0640u);
}

// What a killed program left is removed; what a running one is writing, and anything else, stays.
TEST(FileReplace, RemovesTheNewFilesOfKilledWrites) {
    TempDir dir;
    const QString running = "tarl.ini.partial." + QString::number(::getpid()) + ".7";
    for (const QString& name : {QString("tarl.ini.partial.4194305.1"), running,
                                QString("tarl.ini.backup"), QString("other.ini.partial.4194305.1")})
        dir.write(name, "x");

    ASSERT_TRUE(ReplaceFile(dir.file("tarl.ini"), "new"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name),
              (QStringList{"other.ini.partial.4194305.1", "tarl.ini", "tarl.ini.backup", running}));
}

} // namespace
} // namespace tarl
