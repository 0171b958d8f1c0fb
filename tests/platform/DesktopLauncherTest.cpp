#include "platform/DesktopLauncher.h"

#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QDeadlineTimer>
#include <QDir>
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
    const QString folder = dir.file("My Music") + u'/';
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(launcher.openFolder(folder));
    EXPECT_EQ(Recorded(dir, "opener"), folder + u'\n');
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
    const QString list = dir.write("list one.m3u", "a.mp3\n");
    ASSERT_TRUE(launcher.openInTextEditor(list));
    EXPECT_EQ(Recorded(dir, "editor"), "-n\n" + list + u'\n');
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
        const QString list = dir.write("a.m3u", "a.mp3\n");
        EXPECT_TRUE(launcher.openInTextEditor(list)) << c.what;
        EXPECT_EQ(Recorded(dir, "opener"), list + u'\n') << c.what;
    }
}

// A key of a catalog row reaches the launcher as it was stored: only the absolute path of what
// exists reaches the editor or the file manager, never a text they would read as an option or
// a command.
TEST(PlatformDesktopLauncher, HandsOverOnlyAbsolutePathsOfWhatExists) {
    test::TempDir dir;
    const QString editor = RecorderScript(dir, "editor");
    const QString query = dir.write("xdg-mime", "#!/bin/sh\necho ed.desktop\n");
    QFile::setPermissions(query, QFile::ReadOwner | QFile::ExeOwner);
    dir.write("apps/ed.desktop", "[Desktop Entry]\nExec=/bin/sh " + editor.toUtf8() + " %F\n");
    const QString list = dir.write("rock/a.m3u", "a.mp3\n");
    const QString folder = dir.file("rock/");
    const struct {
        QString path;
        bool edits;
        bool opensFolder;
    } cases[] = {
        {"a.m3u", false, false},
        {"rock/", false, false},
        {"+:!touch PWNED", false, false},
        {"-opt", false, false},
        {"--eval=(shell-command \"touch PWNED\")", false, false},
        {dir.file("missing.m3u"), false, false},
        {dir.file("missing/"), false, false},
        {folder, false, true},
        {list, true, false},
    };
    for (const auto& c : cases) {
        QFile::remove(dir.file("editor.out"));
        QFile::remove(dir.file("opener.out"));
        DesktopLauncher launcher({.opener = RecorderScript(dir, "opener"),
                                  .mimeQuery = query,
                                  .applicationFolders = {dir.file("apps")}});
        const Result<> edited = launcher.openInTextEditor(c.path);
        EXPECT_EQ(edited.ok, c.edits) << c.path.toStdString();
        EXPECT_EQ(edited.error.isEmpty(), c.edits) << c.path.toStdString();
        const Result<> shown = launcher.openFolder(c.path);
        EXPECT_EQ(shown.ok, c.opensFolder) << c.path.toStdString();
        EXPECT_EQ(shown.error.isEmpty(), c.opensFolder) << c.path.toStdString();
        // A refused path starts nothing, so there is nothing to wait for.
        EXPECT_EQ(c.edits ? Recorded(dir, "editor") : QString::fromUtf8(dir.read("editor.out")),
                  c.edits ? c.path + u'\n' : QString())
            << c.path.toStdString();
        EXPECT_EQ(c.opensFolder ? Recorded(dir, "opener")
                                : QString::fromUtf8(dir.read("opener.out")),
                  c.opensFolder ? c.path + u'\n' : QString())
            << c.path.toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir.file("PWNED")));
}

} // namespace
} // namespace tarl
