#include "../shell/MainFixture.h"
#include "support/WindowParts.h"

#include "browser/LibraryTreeModel.h"
#include "browser/TrackListModel.h"
#include "browserui/LibraryBrowser.h"
#include "browserui/TrackListView.h"
#include "catalog/engine/Connection.h"
#include "player/Resume.h"
#include "scan/TemporaryPlaylist.h"
#include "shell/LibraryRefresh.h"
#include "state/PlayActions.h"

#include <QAction>
#include <QHeaderView>
#include <QListView>
#include <QRegularExpression>
#include <QTest>
#include <QTreeView>

using namespace tarl;

namespace {

// Records what the browser hands to the player side.
class FakePlay : public PlayActions {
public:
    void PlayFile(const QString& target) override { played << target; }
    void PlayKey(const QString& key) override { played << key; }
    void RecordHistory() override { ++histories; }
    // The jump itself goes to the player as the program sends it.
    void ResumeAt(qint32 entry, bool launched) override {
        ResumeTemporaryPlaylist(*state, launched, {entry, std::nullopt});
    }
    void QueueKeys(const QStringList& keys, bool next) override {
        queued << (next ? QStringLiteral("next:") : QStringLiteral("end:")) + keys.join(u'|');
    }
    QStringList queued;
    AppState* state = nullptr;
    QStringList played;
    int histories = 0;
};

// A catalog with a hard-disc folder of three tracks, an empty folder and a disc with one track.
class Browser : public tarl::test::MainFixture {
protected:
    void SetUp() override {
        MainFixture::SetUp();
        const QString file = newCatalog();
        Connection c;
        ASSERT_TRUE(c.open(file));
        for (const char* sql :
             {"INSERT INTO CD (name,m3us,label,isCd) VALUES ('/music/',2,'EOF','0')",
              "INSERT INTO CD (name,m3us,label,isCd,labelcd) "
              "VALUES ('/media/cd/',1,'Disc1','1','My Disc')",
              "INSERT INTO M3u (path,file,cd_id,mp3s) VALUES ('/music/','rock/',1,0)",
              "INSERT INTO M3u (path,file,cd_id,mp3s) VALUES ('/music/','empty/',1,0)",
              "INSERT INTO M3u (path,file,cd_id,mp3s) VALUES ('/media/cd/','jazz/',2,0)",
              "INSERT INTO Mp3 (path,file,m3u_id,title,time) VALUES "
              "('/music/rock/','a.mp3',1,'A',187)",
              "INSERT INTO Mp3 (path,file,m3u_id,title) VALUES ('/music/rock/','b.mp3',1,'B')",
              "INSERT INTO Mp3 (path,file,m3u_id,title) VALUES ('/music/rock/','c.mp3',1,'C')",
              "INSERT INTO Mp3 (path,file,m3u_id,title) VALUES "
              "('/media/cd/jazz/','j.mp3',3,'J')"})
            ASSERT_TRUE(c.execute(QString::fromLatin1(sql))) << sql;
        c.close();
        writeIni("[Database]\nPath=" + file.toUtf8() + "\n");
        services.drives.addDrive("/", DriveType::Fixed);
        services.drives.addDrive("/media/cd/", DriveType::CdRom, "OTHER DISC");
    }

    MainWindow& open() {
        MainWindow& w = start();
        state->play = &play;
        play.state = state.get();
        w.startUp();
        w.show();
        return w;
    }
    QStringList listed() const {
        QStringList names;
        TrackListModel* m = test::Part<LibraryBrowser>(*window, "browser")->trackModel();
        for (int i = 0; i < m->rowCount(); ++i)
            names << m->row(i).columns[ColFile];
        return names;
    }
    QRect rectOf(const QString& key) {
        LibraryBrowser* b = test::Part<LibraryBrowser>(*window, "browser");
        const QModelIndex index = b->treeModel()->indexOf(b->tree().FindNodeByKey(key));
        test::Part<QTreeView>(*window, "treeView")->scrollTo(index);
        return test::Part<QTreeView>(*window, "treeView")->visualRect(index);
    }
    void clickNode(const QString& key) {
        QTest::mouseClick(test::Part<QTreeView>(*window, "treeView")->viewport(), Qt::LeftButton,
                          {}, rectOf(key).center());
    }
    QString tmp() const { return QString::fromUtf8(home.read("m3uTmp.m3u")); }

    FakePlay play;
};

TEST_F(Browser, AClickFillsTheListAndAnArrowShowsTheNodeItMovesTo) {
    MainWindow& w = open();
    ASSERT_TRUE(services.ui.transcript.empty());
    clickNode("/music/rock/");
    EXPECT_EQ(listed(), QStringList({"a.mp3", "b.mp3", "c.mp3"}));
    EXPECT_EQ(test::Part<LibraryBrowser>(w, "browser")->trackModel()->row(0).columns[ColTime],
              "03:07");

    QTest::keyClick(test::Part<QTreeView>(w, "treeView"), Qt::Key_Down);
    EXPECT_EQ(test::Part<LibraryBrowser>(w, "browser")->selectedNode()->key, "/music/empty/");
    EXPECT_TRUE(listed().isEmpty());
    QTest::keyClick(test::Part<QTreeView>(w, "treeView"), Qt::Key_Up);
    EXPECT_EQ(listed(), QStringList({"a.mp3", "b.mp3", "c.mp3"}));
}

TEST_F(Browser, ARebuildKeepsTheOpenNodesAndTheSelection) {
    MainWindow& w = open();
    clickNode("/music/rock/");
    const QString disc = "Disc1";
    LibraryTreeModel* model = test::Part<LibraryBrowser>(w, "browser")->treeModel();
    test::Part<QTreeView>(w, "treeView")
        ->setExpanded(
            model->indexOf(test::Part<LibraryBrowser>(w, "browser")->tree().FindNodeByKey(disc)),
            true);
    const QStringList open = test::Part<LibraryBrowser>(w, "browser")->expandedKeys();
    ASSERT_TRUE(open.contains(disc)) << open.join(' ').toStdString();

    RebuildLibraryTree(*test::Part<LibraryBrowser>(w, "browser"), true);
    EXPECT_EQ(test::Part<LibraryBrowser>(w, "browser")->expandedKeys(), open);
    EXPECT_EQ(test::Part<LibraryBrowser>(w, "browser")->selectedNode()->key, "/music/rock/");
}

TEST_F(Browser, EnterOnOneSongInThePlayersListJumpsWithoutRewritingIt) {
    MainWindow& w = open();
    clickNode("/music/rock/");
    ASSERT_TRUE(WriteTemporaryPlaylist(
        home.file("m3uTmp.m3u"), {"/music/rock/x.mp3", "/music/pop/y.mp3", "/music/rock/b.mp3"}));
    const QString before = tmp();
    services.player.running = true;
    state->playerPid = services.player.findWindow();
    services.player.sent.clear();
    test::Part<TrackListView>(w, "trackList")->selectRows({1}, 1);
    QTest::keyClick(test::Part<TrackListView>(w, "trackList")->reportView(), Qt::Key_Return);

    using M = test::FakePlayerLink::Call;
    const std::vector<M> expected{{4242, "selectEntry", 2}, {4242, "play"}};
    EXPECT_EQ(services.player.sent, expected);
    EXPECT_EQ(tmp(), before);
    EXPECT_TRUE(play.played.isEmpty());
}

TEST_F(Browser, EnterOnThreeRowsRewritesExactlyThoseLinesInListOrderAndPlays) {
    MainWindow& w = open();
    clickNode("/music/rock/");
    test::Part<TrackListView>(w, "trackList")->selectRows({2, 0, 1}, 2);
    QTest::keyClick(test::Part<TrackListView>(w, "trackList")->reportView(), Qt::Key_Return);
    EXPECT_EQ(tmp(), "/music/rock/a.mp3\r\n/music/rock/b.mp3\r\n/music/rock/c.mp3\r\n");
    EXPECT_EQ(play.played, QStringList(home.file("m3uTmp.m3u")));
    EXPECT_EQ(play.histories, 2);
}

TEST_F(Browser, DoubleClickOnAnEmptyListEmptiesTheTemporaryPlaylistAndPlaysNothing) {
    MainWindow& w = open();
    home.write("m3uTmp.m3u", "/music/old.mp3\r\n");
    const QPoint at = rectOf("/music/empty/").center();
    QTest::mouseClick(test::Part<QTreeView>(w, "treeView")->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(test::Part<QTreeView>(w, "treeView")->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(tmp(), "");
    EXPECT_TRUE(play.played.isEmpty());

    clickNode("/music/rock/");
    QTest::mouseDClick(test::Part<QTreeView>(w, "treeView")->viewport(), Qt::LeftButton, {},
                       rectOf("/music/rock/").center());
    EXPECT_EQ(tmp(), "/music/rock/a.mp3\r\n/music/rock/b.mp3\r\n/music/rock/c.mp3\r\n");
    EXPECT_EQ(play.played.size(), 1);
}

TEST_F(Browser, TheDiscPromptRepeatsWhileTheWrongDiscIsInAndEndsOnCancel) {
    MainWindow& w = open();
    const QString key = "Disc1:>/media/cd/jazz/";
    clickNode(key);
    EXPECT_EQ(listed(), QStringList("j.mp3"));
    home.write("m3uTmp.m3u", "/music/old.mp3\r\n");
    services.ui.answers = {MsgAnswer::Ok, MsgAnswer::Ok, MsgAnswer::Cancel};
    QTest::mouseDClick(test::Part<QTreeView>(w, "treeView")->viewport(), Qt::LeftButton, {},
                       rectOf(key).center());
    ASSERT_EQ(services.ui.transcript.size(), 3u);
    for (const auto& box : services.ui.transcript) {
        EXPECT_EQ(box.title, "INSERT MP3 CDROM");
        EXPECT_EQ(box.text, "CD Name:   DISC1\r\nCD Label:   MY DISC\r\nAt Drive:    /media/cd/");
        EXPECT_EQ(box.buttons, MsgButtons::OkCancel);
    }
    EXPECT_TRUE(play.played.isEmpty());
    EXPECT_EQ(tmp(), "/music/old.mp3\r\n");

    services.drives.removeDrive("/media/cd/");
    services.drives.addDrive("/media/cd/", DriveType::CdRom, "MY DISC"); // the right disc
    QTest::mouseDClick(test::Part<QTreeView>(w, "treeView")->viewport(), Qt::LeftButton, {},
                       rectOf(key).center());
    EXPECT_EQ(services.ui.transcript.size(), 3u);
    EXPECT_EQ(play.played.size(), 1);
    EXPECT_EQ(tmp(), "/media/cd/jazz/j.mp3\r\n");
}

TEST_F(Browser, ColumnWidthsSurviveARestartAndAnUnreadableOneKeepsItsBuiltInWidth) {
    {
        MainWindow& w = open();
        QHeaderView* header = test::Part<TrackListView>(w, "trackList")->reportView()->header();
        header->resizeSection(0, 100);
        header->resizeSection(3, 150);
        header->moveSection(header->visualIndex(4), 0);
        w.close();
    }
    EXPECT_EQ(setting("Dimensions", "mp3F1"), "1500");
    EXPECT_EQ(setting("Dimensions", "mp3F4"), "2250");
    EXPECT_EQ(setting("Dimensions", "mp3F3"), "2000"); // untouched columns keep their twips
    writeIni(ini().replace(QRegularExpression("mp3F3=\\d+"), "mp3F3=abc").toUtf8());

    MainWindow& w = open();
    QHeaderView* header = test::Part<TrackListView>(w, "trackList")->reportView()->header();
    EXPECT_EQ(header->sectionSize(0), 100);
    EXPECT_EQ(header->sectionSize(3), 150);
    EXPECT_EQ(header->sectionSize(2), 2000 / 15 + 0); // the built-in Title width
    EXPECT_EQ(header->visualIndex(4), 0);
}

TEST_F(Browser, TheFourViewModesSwitchTheListAndTheirCheckMarks) {
    MainWindow& w = open();
    EXPECT_TRUE(test::Part<QAction>(w, "listModeAction3")->isChecked());
    EXPECT_EQ(test::Part<TrackListView>(w, "trackList")->currentView(),
              test::Part<TrackListView>(w, "trackList")->reportView());
    const bool clickable =
        test::Part<TrackListView>(w, "trackList")->reportView()->header()->sectionsClickable();
    for (int mode : {1, 2, 3}) {
        test::Part<QAction>(w, "listModeAction" + QString::number(mode - 1))->trigger();
        EXPECT_EQ(test::Part<TrackListView>(w, "trackList")->mode(), mode);
        EXPECT_EQ(test::Part<TrackListView>(w, "trackList")->currentView(),
                  test::Part<TrackListView>(w, "trackList")->iconView());
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(test::Part<QAction>(w, "listModeAction" + QString::number(i))->isChecked(),
                      i == mode - 1)
                << mode;
    }
    EXPECT_EQ(test::Part<TrackListView>(w, "trackList")->iconView()->viewMode(),
              QListView::ListMode);
    test::Part<QAction>(w, "listModeAction3")->trigger();
    EXPECT_EQ(test::Part<TrackListView>(w, "trackList")->currentView(),
              test::Part<TrackListView>(w, "trackList")->reportView());
    EXPECT_NE(
        test::Part<TrackListView>(w, "trackList")->reportView()->header()->sectionsClickable(),
        clickable);
}

TEST_F(Browser, TheViewMenuRebuildsTheTreeByStyleAndBack) {
    MainWindow& w = open();
    EXPECT_TRUE(test::Part<QAction>(w, "toolbarButton1")->isChecked());
    EXPECT_TRUE(test::Part<QAction>(w, "viewByPathsAction")->isChecked());
    test::Part<QAction>(w, "viewByStyleAction")->trigger();
    EXPECT_FALSE(state->sortedByCd);
    EXPECT_TRUE(test::Part<QAction>(w, "toolbarButton2")->isChecked());
    EXPECT_FALSE(test::Part<QAction>(w, "toolbarButton1")->isChecked());
    EXPECT_TRUE(test::Part<LibraryBrowser>(w, "browser")->tree().NodeExists("Unsorted"));
    test::Part<QAction>(w, "toolbarButton1")->trigger();
    EXPECT_TRUE(state->sortedByCd);
    EXPECT_TRUE(test::Part<LibraryBrowser>(w, "browser")->tree().NodeExists("/music/rock/"));
    w.close();
    EXPECT_EQ(setting("Player", "sorted_by_cd"), "True");
}

TEST_F(Browser, StartUpReselectsTheLastFolder) {
    writeIni(ini().toUtf8() + "[Player]\nMp3folder=/music/rock/\n");
    MainWindow& w = open();
    EXPECT_EQ(test::Part<LibraryBrowser>(w, "browser")->selectedNode()->key, "/music/rock/");
    EXPECT_EQ(listed(), QStringList({"a.mp3", "b.mp3", "c.mp3"}));
}

} // namespace
