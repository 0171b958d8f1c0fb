#include "platform/PlayerSocket.h"

#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarl {
namespace {

mode_t ModeOf(const QString& path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return 0;
    return st.st_mode & 07777;
}

TEST(PlatformPlayerSocket, TheSocketFolderIsPrivate) {
    test::TempDir dir;
    const uid_t me = ::getuid();

    // In the runtime folder: made with mode 0700.
    QDir().mkpath(dir.file("run"));
    QString why = QStringLiteral("unset");
    EXPECT_EQ(PlayerSocketPath(dir.file("run"), dir.file("tmp"), me, &why),
              dir.file("run/tarl/player.sock"));
    EXPECT_EQ(why, "");
    EXPECT_EQ(ModeOf(dir.file("run/tarl")), 0700u);

    // Without a runtime folder: tarl-<uid> in the temporary folder.
    QDir().mkpath(dir.file("tmp"));
    const QString folder = dir.file("tmp/tarl-" + QString::number(me));
    EXPECT_EQ(PlayerSocketPath(QString(), dir.file("tmp"), me), folder + "/player.sock");
    EXPECT_EQ(ModeOf(folder), 0700u);

    // An existing folder of ours with a looser mode is narrowed.
    ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0777), 0);
    EXPECT_EQ(PlayerSocketPath(QString(), dir.file("tmp"), me), folder + "/player.sock");
    EXPECT_EQ(ModeOf(folder), 0700u);
}

TEST(PlatformPlayerSocket, RefusesAFolderSomeoneElseCouldControl) {
    test::TempDir dir;
    const uid_t me = ::getuid();
    QDir().mkpath(dir.file("tmp"));

    // A link where the folder should be, even to a private folder of ours.
    QDir().mkpath(dir.file("elsewhere"));
    ::chmod(QFile::encodeName(dir.file("elsewhere")).constData(), 0700);
    const QString link = dir.file("tmp/tarl-" + QString::number(me));
    ASSERT_TRUE(QFile::link(dir.file("elsewhere"), link));
    QString why;
    EXPECT_EQ(PlayerSocketPath(QString(), dir.file("tmp"), me, &why), "");
    EXPECT_NE(why, "");

    // A plain file where the folder should be.
    dir.write("run/tarl", "not a folder");
    EXPECT_EQ(PlayerSocketPath(dir.file("run"), QString(), me, &why), "");
    EXPECT_NE(why, "");

    // A folder owned by another user (the owner asked for is not the folder's); its mode is
    // left alone.
    QDir().mkpath(dir.file("theirs/tarl"));
    ::chmod(QFile::encodeName(dir.file("theirs/tarl")).constData(), 0755);
    EXPECT_EQ(PlayerSocketPath(dir.file("theirs"), QString(), me + 1, &why), "");
    EXPECT_TRUE(why.contains("another user")) << why.toStdString();
    EXPECT_EQ(ModeOf(dir.file("theirs/tarl")), 0755u);

    // A folder that cannot be made.
    EXPECT_EQ(PlayerSocketPath(dir.file("missing/deeper"), QString(), me, &why), "");
    EXPECT_NE(why, "");
}

TEST(PlatformPlayerSocket, OpensOnlyWhereSomeoneListens) {
    test::TempDir dir;
    PlayerSocket socket;
    EXPECT_FALSE(socket.open(dir.file("none.sock")));
    EXPECT_FALSE(socket.open(dir.write("plain", "x")));
    EXPECT_FALSE(socket.open(dir.file(QString(200, 'a'))));
    EXPECT_FALSE(socket.isOpen());
    EXPECT_EQ(
        socket.send({QStringLiteral("get_property"), QStringLiteral("pid")}, QDeadlineTimer(100)),
        0);
}

} // namespace
} // namespace tarl
