#include "platform/PlayerSocket.h"

#include "support/HandWrittenPlayer.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

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

TEST(PlatformPlayerSocket, EventsGoToTheHandlerInOrderWhereverTheyAreRead) {
    test::TempDir dir;
    test::HandWrittenPlayer player(dir.file("p.sock"));
    ASSERT_TRUE(player.listening());
    PlayerSocket socket;
    ASSERT_TRUE(socket.open(dir.file("p.sock")));
    ASSERT_TRUE(player.accept());
    // The kernel names the listening process: here, this one.
    EXPECT_EQ(socket.peerProcessId(), qint64(::getpid()));
    std::vector<QByteArray> events;
    socket.setEventHandler([&](const QJsonObject& event) {
        events.push_back(QJsonDocument(event).toJson(QJsonDocument::Compact));
    });

    // Nothing arrived: no wait, nothing handed on.
    EXPECT_TRUE(socket.readArrived());
    EXPECT_TRUE(events.empty());
    // A line cut in two is handed on once complete, never half.
    player.write(R"({"event":"property-change","id":1,"name":"duration","da)");
    EXPECT_TRUE(socket.readArrived());
    EXPECT_TRUE(events.empty());
    player.write("ta\":4.5}\n{\"event\":\"file-loaded\"}\n");
    EXPECT_TRUE(socket.readArrived());
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], R"({"data":4.5,"event":"property-change","id":1,"name":"duration"})");
    EXPECT_EQ(events[1], R"({"event":"file-loaded"})");

    // Events read while waiting for an answer are handed on too, before the answer returns.
    const qint64 id =
        socket.send({QStringLiteral("get_property"), QStringLiteral("pid")}, QDeadlineTimer(1000));
    ASSERT_NE(id, 0);
    player.write(R"({"event":"start-file"})"
                 "\n" +
                 QJsonDocument(QJsonObject{{"request_id", id}, {"error", "success"}, {"data", 7}})
                     .toJson(QJsonDocument::Compact) +
                 "\n");
    const std::optional<QJsonObject> answer = socket.reply(id, QDeadlineTimer(1000));
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->value("data").toInt(), 7);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[2], R"({"event":"start-file"})");

    // A hang-up closes the connection.
    player.hangUp();
    EXPECT_FALSE(socket.readArrived());
    EXPECT_FALSE(socket.isOpen());
    EXPECT_EQ(socket.peerProcessId(), 0);
}

TEST(PlatformPlayerSocket, OnlyTheLinksCommandsMayBeSent) {
    for (const char* name : {"get_property", "set_property", "observe_property", "enable_event",
                             "disable_event", "seek", "loadfile", "loadlist", "quit"})
        EXPECT_TRUE(PlayerSocket::IsAllowed(QLatin1String(name))) << name;
    for (const char* name :
         {"run", "subprocess", "load-script", "script-message", "expand-text", "Run", ""})
        EXPECT_FALSE(PlayerSocket::IsAllowed(QLatin1String(name))) << name;
}

} // namespace
} // namespace tarl
