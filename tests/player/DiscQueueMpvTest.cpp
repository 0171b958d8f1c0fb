// A queue over discs that are not in the drive, over a real mpv (silent): each disc is asked for
// once, just before its first song, its songs are copied while it is in, and the queue plays to
// its end with every disc out after its turn. The drive is a folder whose disc the person at the
// screen (a box answered by the test) swaps.
#include "MpvFixture.h"
#include "catalog/engine/CatalogFile.h"
#include "platform/MpvPlayerLink.h"
#include "player/DiscQueue.h"
#include "player/PlayQueue.h"
#include "player/PlayerControl.h"
#include "player/TrackCache.h"
#include "scan/TemporaryPlaylist.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"
#include "support/TestServices.h"
#include "support/WavFile.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>

using namespace tarl;

namespace {

class PlayerMpvDiscs : public test::MpvFixture {
protected:
    PlayerMpvDiscs() : MpvFixture(2000, true) {}
    void SetUp() override {
        MpvFixture::SetUp();
        if (IsSkipped())
            return;
        const QString db = dir.file("tarl.mdb");
        ASSERT_TRUE(CreateCatalog(db));
        ASSERT_TRUE(state.catalog.connection.open(db));
        drive = dir.path() + "/cdrom/";
        services.drives.addDrive(drive, DriveType::CdRom);
        queue.startPlayer = [this](const QString& list) { return control.StartPlayer(mpv, list); };
        services.ui.onBox = [this](const test::FakeUi::Box& box) { insertDiscAsked(box); };
    }
    // Disc `n` ("DISC<n>", labelled "VOL<n>") with `songs` songs, on the shelf until put in.
    QStringList makeDisc(int n, int songs, double seconds) {
        EXPECT_TRUE(state.catalog.connection.execute(
            QStringLiteral("INSERT INTO CD (name, m3us, label, labelCd, isCd) VALUES ('%1', 1, "
                           "'DISC%2', 'Vol%2', '1')")
                .arg(drive)
                .arg(n)));
        QStringList keys;
        for (int s = 0; s < songs; ++s) {
            const QString name = QStringLiteral("d%1/song%2.wav").arg(n).arg(s);
            EXPECT_TRUE(test::WriteWav(dir.file("shelf/" + name), seconds, 300 + 40 * s));
            keys << QStringLiteral("DISC%1:>").arg(n) + drive + name;
        }
        return keys;
    }
    // The person takes the disc in the drive out and puts in the one the box names.
    void insertDiscAsked(const test::FakeUi::Box& box) {
        const qsizetype at = box.text.indexOf("CD Name:   DISC");
        if (at < 0)
            return;
        ++asked;
        const QString n = box.text.mid(at + 15).section(u'\r', 0, 0);
        QDir(drive).removeRecursively();
        QDir().mkpath(drive + "d" + n);
        for (const QString& file : QDir(dir.file("shelf/d" + n)).entryList(QDir::Files))
            QFile::copy(dir.file("shelf/d" + n + "/" + file), drive + "d" + n + "/" + file);
        services.drives.addDrive(drive, DriveType::CdRom, "VOL" + n);
        services.ui.answers.push_back(MsgAnswer::Ok);
    }

    QString drive;
    PlayQueue queue{state};
    TrackCache cache{dir.file("cache"), 64 * 1024 * 1024};
    DiscQueue discs{state, queue, cache};
    int asked = 0;
};

TEST_F(PlayerMpvDiscs, SixtySongsOfEightDiscsAskForEachDiscOnceAndPlayToTheEnd) {
    QStringList keys;
    for (int n = 1; n <= 8; ++n)
        keys += makeDisc(n, n <= 4 ? 8 : 7, n == 1 ? 1.0 : 0.3); // the first seen starting
    ASSERT_EQ(keys.size(), 60);
    QStringList said;
    discs.report = [&](const QString& sentence) { said << sentence; };

    ASSERT_TRUE(discs.queueKeys(keys, false));
    EXPECT_EQ(asked, 1) << "the first disc, needed at once";
    ASSERT_NE(link.waitForWindow(10000), 0);

    // The window's tick, every 20 ms, until the list has ended.
    const QDeadlineTimer deadline(90000);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents();
        const PlayerWindow window = link.findWindow();
        const PlayerState now = link.state(window);
        const qint64 entry = link.entry(window);
        // As the window's tick: the entry the player is at while one answers.
        discs.follow(window != 0 ? qint32(entry) : -1);
        if (entry == 59 && now == PlayerState::Stopped)
            break;
        QThread::msleep(20);
    }
    EXPECT_EQ(asked, 8) << said.join('\n').toStdString();
    // The player's own log: every one of the 60 songs opened, none missing (a song of a disc
    // taken out too early would fail to open and be passed over).
    QFile log(dir.file("mpv.log"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray text = log.readAll();
    EXPECT_EQ(text.count("] Playing: "), 60);
    EXPECT_EQ(text.count("Failed to open"), 0) << said.join('\n').toStdString();
    // The last disc is still in; every other one came out at the next one's prompt, and the
    // queue holds copies for all but the first song (which played from its disc).
    const QStringList tracks = ReadTemporaryPlaylist(state.tmpPlaylistPath);
    for (qsizetype i = 1; i < tracks.size(); ++i)
        EXPECT_TRUE(tracks[i].startsWith(cache.folder())) << i << tracks[i].toStdString();
}

TEST_F(PlayerMpvDiscs, ADiscNotPutInIsPassedOverAndSaid) {
    QStringList keys = makeDisc(1, 2, 0.3);
    keys += makeDisc(2, 2, 0.3);
    QStringList said;
    discs.report = [&](const QString& sentence) { said << sentence; };
    ASSERT_TRUE(discs.queueKeys(keys, false));
    ASSERT_NE(link.waitForWindow(10000), 0);
    services.ui.onBox = nullptr; // the second disc is not put in: the box is cancelled
    const QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired() && !said.join('\n').contains("passed over")) {
        QCoreApplication::processEvents();
        const PlayerWindow window = link.findWindow();
        discs.follow(qint32(link.entry(window)));
        QThread::msleep(20);
    }
    EXPECT_TRUE(said.contains("The songs of the disc DISC2 are passed over: it was not put in."))
        << said.join('\n').toStdString();
    EXPECT_TRUE(discs.waiting().empty());
}

} // namespace
