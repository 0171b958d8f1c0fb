#include "platform/DesktopLauncher.h"

#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>
#include <gtest/gtest.h>

namespace tarl {
namespace {

// A shell script `name` that writes its arguments, one a line, to `name`.out once it ran.
QString RecorderScript(const test::TempDir& dir, const QString& name) {
    const QString out = dir.file(name + ".out");
    const QString script =
        dir.write(name, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + out.toUtf8() + ".part'\nmv '" +
                            out.toUtf8() + ".part' '" + out.toUtf8() + "'\n");
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return script;
}

// What the recorder `name` wrote, waiting for the detached program; "" when it never ran.
QString Recorded(const test::TempDir& dir, const QString& name) {
    const QDeadlineTimer deadline(10000);
    while (!QFile::exists(dir.file(name + ".out")) && !deadline.hasExpired())
        QThread::msleep(20);
    return QString::fromUtf8(dir.read(name + ".out"));
}

TEST(PlatformDesktopLauncher, StartsACommandLineDetached) {
    test::TempDir dir;
    const QString script = RecorderScript(dir, "folder with blanks/run");
    DesktopLauncher launcher;
    ASSERT_TRUE(launcher.start("/bin/sh \"" + script + "\" \"/media/ann/MUSIC 01/a.m3u\""));
    EXPECT_EQ(Recorded(dir, "folder with blanks/run"), "/media/ann/MUSIC 01/a.m3u\n");
}

TEST(PlatformDesktopLauncher, FailsWhenNothingCanStart) {
    test::TempDir dir;
    const QString notExecutable = dir.write("plain.txt", "text");
    const QString lines[] = {
        "",
        "   ",
        "/no/such/program \"x.m3u\"",
        "\"" + notExecutable + "\" \"x.m3u\"",
        "no-such-program-in-path-tarl \"x.m3u\"",
    };
    DesktopLauncher launcher;
    for (const QString& line : lines)
        EXPECT_FALSE(launcher.start(line)) << line.toStdString();
}

TEST(PlatformDesktopLauncher, OpensFoldersWithTheOpener) {
    test::TempDir dir;
    DesktopLauncher launcher(
        {.opener = RecorderScript(dir, "opener"), .mimeQuery = {}, .applicationFolders = {}});
    ASSERT_TRUE(launcher.openFolder("/home/ann/My Music/"));
    EXPECT_EQ(Recorded(dir, "opener"), "/home/ann/My Music/\n");
    EXPECT_FALSE(launcher.openFolder(""));
}

TEST(PlatformDesktopLauncher, EditsWithTheDefaultTextApplication) {
    test::TempDir dir;
    const QString editor = RecorderScript(dir, "editor");
    const QString query =
        dir.write("xdg-mime", "#!/bin/sh\n[ \"$*\" = 'query default text/plain' ] "
                              "&& echo 'my-editor.desktop;other.desktop'\n");
    QFile::setPermissions(query, QFile::ReadOwner | QFile::ExeOwner);
    dir.write("apps/my-editor.desktop",
              "[Desktop Entry]\nType=Application\nExec=/bin/sh " + editor.toUtf8() + " -n %U\n");

    DesktopLauncher launcher({.opener = RecorderScript(dir, "opener"),
                              .mimeQuery = query,
                              .applicationFolders = {dir.file("apps")}});
    ASSERT_TRUE(launcher.openInTextEditor("/tmp/list one.m3u"));
    EXPECT_EQ(Recorded(dir, "editor"), "-n\n/tmp/list one.m3u\n");
    EXPECT_FALSE(QFile::exists(dir.file("opener.out")));
    EXPECT_FALSE(launcher.openInTextEditor(""));
}

TEST(PlatformDesktopLauncher, EditingFallsBackToTheOpener) {
    const struct {
        const char* what;
        QByteArray queryAnswer; // "" when there is no query program
        QByteArray entry;
    } cases[] = {
        {"no query program", "", ""},
        {"no default", "#!/bin/sh\nexit 4\n", ""},
        {"entry not found", "#!/bin/sh\necho missing.desktop\n", ""},
        {"terminal editor", "#!/bin/sh\necho ed.desktop\n",
         "[Desktop Entry]\nExec=vi %f\nTerminal=true\n"},
        {"editor that cannot start", "#!/bin/sh\necho ed.desktop\n",
         "[Desktop Entry]\nExec=/no/such/editor %f\n"},
    };
    for (const auto& c : cases) {
        test::TempDir dir;
        QString query = dir.file("no-xdg-mime");
        if (!c.queryAnswer.isEmpty()) {
            query = dir.write("xdg-mime", c.queryAnswer);
            QFile::setPermissions(query, QFile::ReadOwner | QFile::ExeOwner);
        }
        if (!c.entry.isEmpty())
            dir.write("apps/ed.desktop", c.entry);
        DesktopLauncher launcher({.opener = RecorderScript(dir, "opener"),
                                  .mimeQuery = query,
                                  .applicationFolders = {dir.file("apps")}});
        EXPECT_TRUE(launcher.openInTextEditor("/tmp/a.m3u")) << c.what;
        EXPECT_EQ(Recorded(dir, "opener"), "/tmp/a.m3u\n") << c.what;
    }
}

} // namespace
} // namespace tarl
