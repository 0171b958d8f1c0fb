// MprisService on a private bus, driven from a second connection as a desktop drives it; the
// window is RecordingControls.

#include "mpris/MprisService.h"
#include "RecordingControls.h"
#include "mpris/MprisValues.h"
#include "support/PrivateBus.h"

#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>

namespace tarl {
namespace {

const QString kName = QStringLiteral("org.mpris.MediaPlayer2.tarl");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kRoot = QStringLiteral("org.mpris.MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

MediaStatus Playing() {
    MediaStatus s;
    s.playback = Playback::Playing;
    s.track = {3, "Song", "Singer", "Album", "/music/a b.mp3", 200'000'000, ""};
    s.positionUs = 10'000'000;
    s.volume = 0.75;
    s.canGoNext = s.canGoPrevious = s.canPlay = s.canPause = s.canSeek = true;
    return s;
}

QDBusMessage Call(const QString& interface, const QString& method, const QVariantList& args = {}) {
    QDBusMessage call = QDBusMessage::createMethodCall(kName, kPath, interface, method);
    call.setArguments(args);
    return call;
}
QDBusMessage Set(const QString& property, const QVariant& value) {
    return Call(kProperties, "Set", {kPlayer, property, QVariant::fromValue(QDBusVariant(value))});
}
QDBusMessage SetPosition(const QString& trackId, qlonglong position) {
    return Call(kPlayer, "SetPosition", {QVariant::fromValue(QDBusObjectPath(trackId)), position});
}
QDBusMessage Open(const QString& uri) {
    return Call(kPlayer, "OpenUri", {uri});
}
QString UrlOf(const QString& path) {
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
}

// "name=value" of each entry, by name, nested maps in braces: readable when a test fails.
QStringList Describe(const QVariantMap& map);
QString Describe(const QVariant& value) {
    if (value.metaType() == QMetaType::fromType<QDBusArgument>())
        return "{" + Describe(qdbus_cast<QVariantMap>(value)).join("; ") + "}";
    if (value.metaType() == QMetaType::fromType<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    if (value.metaType() == QMetaType::fromType<QStringList>())
        return "[" + value.toStringList().join(",") + "]";
    return value.toString();
}
QStringList Describe(const QVariantMap& map) {
    QStringList lines;
    for (auto it = map.begin(); it != map.end(); ++it)
        lines << it.key() + "=" + Describe(it.value());
    return lines;
}

class Mpris : public ::testing::Test {
public:
    void SetUp() override {
        bus = std::make_unique<test::PrivateBus>();
        if (bus->problem.contains("not installed"))
            GTEST_SKIP() << bus->problem.toStdString();
        ASSERT_EQ(bus->problem, QString());
        client = std::make_unique<QDBusConnection>(bus->connect());
        controls.state = Playing();
        service = std::make_unique<MprisService>(controls, bus->connect());
        ASSERT_TRUE(service->start()) << service->failure().toStdString();
        heard.listen(*client, kPath, kProperties, "PropertiesChanged");
        heard.listen(*client, kPath, kPlayer, "Seeked");
        settle();
    }
    void TearDown() override {
        service.reset();
        client.reset();
        bus.reset(); // last: it closes the connections and ends the daemon
    }

    // Whatever the service sent before now has been heard and done: the bus keeps each sender's
    // messages in order, so a question to it and its answer come after them.
    void settle() {
        test::Ask(*client, Call(kProperties, "Get", {kRoot, "Identity"}));
        QCoreApplication::processEvents();
    }
    QDBusMessage ask(const QDBusMessage& call) {
        const QDBusMessage reply = test::Ask(*client, call);
        settle();
        return reply;
    }
    // Starts a case from `status`, told to the desktop, nothing recorded or heard yet.
    void begin(const MediaStatus& status) {
        controls.state = status;
        service->refresh();
        settle();
        controls.calls.clear();
        heard.messages.clear();
    }
    QStringList seekedTo() const {
        QStringList positions;
        for (const QVariantList& args : heard.of("Seeked"))
            positions << args.value(0).toString();
        return positions;
    }
    QStringList all(const QString& interface) {
        const QDBusMessage reply = ask(Call(kProperties, "GetAll", {interface}));
        return Describe(qdbus_cast<QVariantMap>(reply.arguments().value(0)));
    }

    test::RecordingControls controls;
    test::HeardSignals heard;
    std::unique_ptr<test::PrivateBus> bus;
    std::unique_ptr<QDBusConnection> client;
    std::unique_ptr<MprisService> service;
};

TEST_F(Mpris, EveryRequestReachesTheWindowOnlyWhenItMay) {
    const test::TempDir dir;
    const QString song = dir.write("a b.mp3", "ID3");
    const QString list = dir.write("list.m3u", "http://example.org/a.mp3\n");
    const QString folder = dir.write("album.mp3/x", "").section('/', 0, -2);
    const struct {
        const char* name;
        QDBusMessage call;
        QString done;                 // "" when nothing reaches the window
        bool MediaStatus::*allowedBy; // the flag without which nothing does
        bool refused = false;         // answered with an error
    } cases[] = {
        {"raise", Call(kRoot, "Raise"), "raise", nullptr},
        {"quit", Call(kRoot, "Quit"), "quit", nullptr},
        {"play-pause", Call(kPlayer, "PlayPause"), "playPause", &MediaStatus::canPause},
        {"play", Call(kPlayer, "Play"), "play", &MediaStatus::canPlay},
        {"pause", Call(kPlayer, "Pause"), "pause", &MediaStatus::canPause},
        {"stop", Call(kPlayer, "Stop"), "stop", nullptr},
        {"next", Call(kPlayer, "Next"), "next", &MediaStatus::canGoNext},
        {"previous", Call(kPlayer, "Previous"), "previous", &MediaStatus::canGoPrevious},
        {"seek", Call(kPlayer, "Seek", {qlonglong(-5'000'000)}), "seekBy -5000000",
         &MediaStatus::canSeek},
        {"set-position", SetPosition("/org/tarl/track/3", 30'000'000), "setPosition 30000000",
         &MediaStatus::canSeek},
        // The desktop may still ask for the track before, or for a time outside this one.
        {"set-position-track-before", SetPosition("/org/tarl/track/2", 30'000'000), "", nullptr},
        {"set-position-no-track",
         SetPosition("/org/mpris/MediaPlayer2/TrackList/NoTrack", 30'000'000), "", nullptr},
        {"set-position-before-start", SetPosition("/org/tarl/track/3", -1), "", nullptr},
        {"set-position-past-end", SetPosition("/org/tarl/track/3", 200'000'001), "", nullptr},
        {"open", Open(UrlOf(song)), "openUri " + song, nullptr},
        {"open-http", Open("http://example.org/a.mp3"), "", nullptr, true},
        {"open-plain-path", Open(song), "", nullptr, true},
        {"open-share", Open("file://server/music/a.mp3"), "", nullptr, true},
        {"open-missing", Open(UrlOf(dir.file("missing.mp3"))), "", nullptr, true},
        {"open-folder", Open(UrlOf(folder)), "", nullptr, true},
        {"open-playlist", Open(UrlOf(list)), "", nullptr, true},
        {"open-nul", Open("file:///music/a%00.mp3"), "", nullptr, true},
        {"loop", Set("LoopStatus", "Playlist"), "setLoop 2", nullptr},
        {"loop-unknown", Set("LoopStatus", "Sometimes"), "", nullptr},
        {"shuffle", Set("Shuffle", true), "setShuffle 1", nullptr},
        {"volume", Set("Volume", 0.5), "setVolume 0.5", nullptr},
        {"volume-over", Set("Volume", 1.5), "setVolume 1", nullptr},
        {"volume-under", Set("Volume", -0.5), "setVolume 0", nullptr},
        {"rate", Set("Rate", 2.0), "", nullptr},
    };
    for (const auto& c : cases) {
        for (const bool allowed : {true, false}) {
            if (!allowed && !c.allowedBy)
                continue;
            MediaStatus status = Playing();
            if (!allowed)
                status.*c.allowedBy = false;
            begin(status);
            const QDBusMessage reply = ask(c.call);
            EXPECT_EQ(reply.errorName(), c.refused ? "org.freedesktop.DBus.Error.InvalidArgs" : "")
                << c.name;
            EXPECT_EQ(controls.calls,
                      allowed && !c.done.isEmpty() ? QStringList{c.done} : QStringList{})
                << c.name << (allowed ? "" : ", not allowed");
        }
    }
}

TEST_F(Mpris, PropertiesSayWhatTheStatusSaysWhenAsked) {
    controls.state.track = {7, "Other", "", "", "/music/other.flac", 0, "/music/cover.jpg"};
    controls.state.playback = Playback::Paused;
    controls.state.shuffle = true;
    controls.state.loop = LoopMode::Track;
    controls.state.canGoNext = controls.state.canSeek = false;
    controls.state.positionUs = 42; // never announced, read when asked
    EXPECT_EQ(all(kPlayer), QStringList({"CanControl=true", "CanGoNext=false", "CanGoPrevious=true",
                                         "CanPause=true", "CanPlay=true", "CanSeek=false",
                                         "LoopStatus=Track", "MaximumRate=1",
                                         "Metadata={mpris:artUrl=file:///music/cover.jpg; "
                                         "mpris:trackid=/org/tarl/track/7; xesam:title=Other; "
                                         "xesam:url=file:///music/other.flac}",
                                         "MinimumRate=1", "PlaybackStatus=Paused", "Position=42",
                                         "Rate=1", "Shuffle=true", "Volume=0.75"}));
    EXPECT_EQ(all(kRoot), QStringList({"CanQuit=true", "CanRaise=true", "DesktopEntry=tarl",
                                       "HasTrackList=false", "Identity=Tarl",
                                       "SupportedMimeTypes=[audio/mpeg,audio/flac,audio/ogg,"
                                       "audio/opus,audio/x-wav,audio/x-ms-wma,audio/mp4]",
                                       "SupportedUriSchemes=[file]"}));
    controls.state = MediaStatus();
    EXPECT_EQ(all(kPlayer).filter("Metadata="),
              QStringList{"Metadata={mpris:trackid=/org/mpris/MediaPlayer2/TrackList/NoTrack}"});
}

TEST_F(Mpris, ChangesAreAnnouncedOnceWithTheChangedPropertiesOnly) {
    const struct {
        const char* name;
        void (*change)(MediaStatus&);
        QStringList announced;
    } cases[] = {
        {"nothing", [](MediaStatus&) {}, {}},
        {"position-runs-on", [](MediaStatus& s) { s.positionUs += 300'000; }, {}},
        {"paused",
         [](MediaStatus& s) { s.playback = Playback::Paused; },
         {"PlaybackStatus=Paused"}},
        {"next-song",
         [](MediaStatus& s) {
             s.track = {4, "Next", "", "", "/music/n.ogg", 0, ""};
             s.canGoNext = false;
         },
         {"CanGoNext=false", "Metadata={mpris:trackid=/org/tarl/track/4; xesam:title=Next; "
                             "xesam:url=file:///music/n.ogg}"}},
        {"knobs",
         [](MediaStatus& s) {
             s.shuffle = true;
             s.loop = LoopMode::Playlist;
             s.volume = 0.25;
         },
         {"LoopStatus=Playlist", "Shuffle=true", "Volume=0.25"}},
    };
    for (const auto& c : cases) {
        begin(Playing());
        c.change(controls.state);
        service->refresh();
        service->refresh(); // told once
        settle();
        const QList<QVariantList> changes = heard.of("PropertiesChanged");
        ASSERT_EQ(changes.size(), c.announced.isEmpty() ? 0 : 1) << c.name;
        if (changes.isEmpty())
            continue;
        EXPECT_EQ(changes[0].value(0).toString(), kPlayer) << c.name;
        EXPECT_EQ(Describe(qdbus_cast<QVariantMap>(changes[0].value(1))), c.announced) << c.name;
        EXPECT_EQ(changes[0].value(2).toStringList(), QStringList()) << c.name;
    }
}

TEST_F(Mpris, SeekedTellsOfEveryJumpAndEverySeekOnce) {
    const struct {
        const char* name;
        qint64 positionUs; // where the player is next, when no call moves it
        Playback playback;
        QDBusMessage call;
        QStringList seekedTo;
    } cases[] = {
        {"runs-on", 10'500'000, Playback::Playing, {}, {}},
        {"jumps-ahead", 100'000'000, Playback::Playing, {}, {"100000000"}},
        {"jumps-back", 2'000'000, Playback::Playing, {}, {"2000000"}},
        {"moves-while-paused", 13'000'000, Playback::Paused, {}, {"13000000"}},
        {"seek", 0, {}, Call(kPlayer, "Seek", {qlonglong(5'000'000)}), {"15000000"}},
        {"small-seek", 0, {}, Call(kPlayer, "Seek", {qlonglong(100'000)}), {"10100000"}},
        {"set-position", 0, {}, SetPosition("/org/tarl/track/3", 42'000'000), {"42000000"}},
        {"set-position-ignored", 0, {}, SetPosition("/org/tarl/track/2", 42'000'000), {}},
    };
    for (const auto& c : cases) {
        begin(Playing());
        if (c.call.type() == QDBusMessage::MethodCallMessage) {
            ask(c.call);
        } else {
            controls.state.positionUs = c.positionUs;
            controls.state.playback = c.playback;
        }
        service->refresh();
        service->refresh(); // told once
        settle();
        EXPECT_EQ(seekedTo(), c.seekedTo) << c.name;
    }
    // A new track starts at its start: its metadata says so, no seek.
    begin(Playing());
    controls.state.track.entry = 4;
    controls.state.positionUs = 0;
    service->refresh();
    settle();
    EXPECT_EQ(seekedTo(), QStringList());
}

TEST(MprisPosition, TheTimePlayedIsNoJump) {
    MediaStatus paused = Playing();
    paused.playback = Playback::Paused;
    const struct {
        const char* name;
        MediaStatus before;
        qint64 nowUs;
        qint64 elapsedUs;
        bool jumped;
    } cases[] = {
        {"played-on", Playing(), 13'000'000, 3'000'000, false},
        {"stood-still-while-playing", Playing(), 10'000'000, 3'000'000, true},
        {"paused", paused, 10'000'000, 3'000'000, false},
        {"moved-while-paused", paused, 13'000'000, 3'000'000, true},
    };
    for (const auto& c : cases) {
        MediaStatus now = c.before;
        now.positionUs = c.nowUs;
        EXPECT_EQ(PositionJumped(c.before, now, c.elapsedUs), c.jumped) << c.name;
    }
}

TEST_F(Mpris, ASecondTarlTakesAnInstanceNameAndAThirdNone) {
    EXPECT_EQ(service->busName(), kName);
    const QString instance =
        kName + ".instance" + QString::number(QCoreApplication::applicationPid());
    MprisService second(controls, bus->connect());
    ASSERT_TRUE(second.start()) << second.failure().toStdString();
    EXPECT_EQ(second.busName(), instance);
    MprisService third(controls, bus->connect());
    EXPECT_FALSE(third.start());
    EXPECT_EQ(third.failure(), "Media keys and the desktop's player controls are off: the session "
                               "bus gives Tarl neither the name " +
                                   kName + " nor " + instance + ".");
    service.reset(); // leaving gives the name back
    MprisService fourth(controls, bus->connect());
    ASSERT_TRUE(fourth.start()) << fourth.failure().toStdString();
    EXPECT_EQ(fourth.busName(), kName);
}

TEST(MprisWithoutBus, StartFailsWithASentenceForTheStatusBar) {
    test::RecordingControls controls;
    MprisService service(controls, QDBusConnection::connectToBus(
                                       QStringLiteral("unix:path=/nonexistent/bus"), "no-bus"));
    EXPECT_FALSE(service.start());
    EXPECT_EQ(service.failure(),
              "No session bus: media keys and the desktop's player controls are off.");
    EXPECT_EQ(service.busName(), QString());
}

} // namespace
} // namespace tarl
