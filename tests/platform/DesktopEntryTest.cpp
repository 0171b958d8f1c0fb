#include "platform/DesktopEntry.h"

#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

const QString kFile = "/home/ann/My Lists/a.m3u";

TEST(PlatformDesktopEntry, ExpandsExecLines) {
    const struct {
        QString exec;
        QStringList command;
    } cases[] = {
        {"gedit %U", {"gedit", kFile}},
        {"kate -b %u", {"kate", "-b", kFile}},
        {"mousepad", {"mousepad", kFile}}, // no field code: the file goes last
        {"  xed   --new-window   %F  ", {"xed", "--new-window", kFile}},
        {"\"/opt/My Editor/ed\" %f", {"/opt/My Editor/ed", kFile}},
        {"app --file=%f", {"app", "--file=" + kFile}},
        {"app %i %c %k %f", {"app", kFile}}, // codes without a value go away
        {"app 100%% %f", {"app", "100%", kFile}},
        {"app \"say \\\"hi\\\" \\$HOME \\\\ \" %f", {"app", "say \"hi\" $HOME \\ ", kFile}},
        {"app \"\" %f", {"app", "", kFile}},
        {"", {}},
        {"   ", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExpandDesktopExec(c.exec, kFile), c.command) << c.exec.toStdString();
}

TEST(PlatformDesktopEntry, ReadsTheMainGroupOfADesktopFile) {
    test::TempDir dir;
    const struct {
        const char* what;
        QByteArray text;
        QStringList command;
    } cases[] = {
        {"plain", "[Desktop Entry]\nName=Ed\nExec=ed %f\n", {"ed", kFile}},
        {"value escapes before quoting",
         "[Desktop Entry]\nExec=\"/opt/a\\\\\\\\b/ed\" %f\n",
         {"/opt/a\\b/ed", kFile}},
        {"actions ignored",
         "[Desktop Entry]\nExec=ed %f\n[Desktop Action new]\nExec=ed --new\n",
         {"ed", kFile}},
        {"blanks around =", "[Desktop Entry]\nExec = ed %f\n", {"ed", kFile}},
        {"terminal program", "[Desktop Entry]\nExec=vim %F\nTerminal=true\n", {}},
        {"no Exec", "[Desktop Entry]\nName=Nothing\n", {}},
        {"Exec outside the main group", "[Other]\nExec=ed\n", {}},
    };
    for (const auto& c : cases) {
        const QString file = dir.write(QString(c.what) + ".desktop", c.text);
        EXPECT_EQ(DesktopCommandFor(file, kFile), c.command) << c.what;
    }
    EXPECT_EQ(DesktopCommandFor(dir.file("missing.desktop"), kFile), QStringList());
}

TEST(PlatformDesktopEntry, FindsEntriesByIdInFolderOrder) {
    test::TempDir dir;
    const QString first = dir.file("first");
    const QString second = dir.file("second");
    dir.write("first/ed.desktop", "[Desktop Entry]\n");
    dir.write("second/ed.desktop", "[Desktop Entry]\n");
    dir.write("second/kde4/kate.desktop", "[Desktop Entry]\n");
    const struct {
        QString id;
        QString file;
    } cases[] = {
        {"ed.desktop", first + "/ed.desktop"},
        {"kde4-kate.desktop", second + "/kde4/kate.desktop"},
        {"kate.desktop", ""},
        {"kde4/kate.desktop", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindDesktopFile(c.id, {first, second, dir.file("none")}), c.file)
            << c.id.toStdString();
}

} // namespace
} // namespace tarl
