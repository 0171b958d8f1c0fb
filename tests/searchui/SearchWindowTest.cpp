#include "FindFixture.h"
#include "support/WindowParts.h"
#include "tools/ToolRun.h"

#include "browser/TrackListModel.h"
#include "browserui/TrackListView.h"
#include "scan/TemporaryPlaylist.h"
#include "searchui/FindRules.h"
#include "state/Twips.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QTreeView>

using namespace tarl;

namespace {

class FindWindow : public tarl::test::FindFixture {};

TEST_F(FindWindow, TheFindButtonOpensItBesideTheMainWindowWithoutBlockingIt) {
    MainWindow& w = started();
    ASSERT_TRUE(test::Part<QAction>(w, "toolbarButton5")->isEnabled());
    SearchWindow& f = opened();
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.windowModality(), Qt::NonModal);
    EXPECT_EQ(f.windowTitle(), "Search MP3 File");
    EXPECT_TRUE(w.isEnabled());
    EXPECT_EQ(f.selectedField(), SearchField::File);
    EXPECT_TRUE(f.fieldButtons[0]->font().bold());
    EXPECT_FALSE(f.fieldButtons[1]->font().bold());
    EXPECT_EQ(f.model().rowCount(), 0);
    EXPECT_TRUE(f.miniPlayer->isVisible()); // the strip stays covered until a track is played
    EXPECT_FALSE(f.hitMenu->isVisible());

    // Open already: the same window, history and all.
    search(f, "mix", SearchField::Artist);
    EXPECT_EQ(&opened(), &f);
    EXPECT_EQ(f.historyBox->count(), 1);

    // Closed, it is discarded with its history.
    closeAndDiscard(f);
    EXPECT_TRUE((w.findChild<SearchWindow*>() == nullptr));
    EXPECT_EQ(opened().historyBox->count(), 0);
}

TEST_F(FindWindow, TheListFollowsTheWindowsSizeAndTheIndexBarShowsOnlyWhileBuilt) {
    SearchWindow& f = opened();
    f.resize(ToPixels(9000), ToPixels(6000));
    f.windowResized();
    EXPECT_EQ(f.statusBar->geometry().bottom(), f.height() - 1);
    EXPECT_EQ(f.results->width(), ToPixels(9000 - 600));
    EXPECT_EQ(f.results->geometry().bottom(), f.statusBar->y() - 1);
    EXPECT_EQ(f.jumpArrow->x(), ToPixels(9000 - 600));

    EXPECT_FALSE(f.indexProgress->isVisible());
    f.runner().onIndexProgress(50, 200);
    EXPECT_TRUE(f.indexProgress->isVisible());
    EXPECT_EQ(f.indexProgress->value(), 50);
    EXPECT_EQ(f.statusText(), "Building the search index: 25%");
    f.runner().onIndexProgress(200, 200);
    EXPECT_FALSE(f.indexProgress->isVisible());
}

TEST_F(FindWindow, ListsComeFirstThenTracksWithTheirIconsAndTheStatus) {
    SearchWindow& f = opened();
    QAbstractItemModelTester tester(&f.model(),
                                    QAbstractItemModelTester::FailureReportingMode::Warning);
    const QString jazz = music + "Jazz/";
    const struct {
        const char* name;
        QString text;
        SearchField field;
        QStringList rows;
        QString status;
    } cases[] = {
        {"a list before the tracks whatever the field",
         "mix",
         SearchField::Artist,
         {"2|mix.m3u|" + music, "1|02 Elan.mp3|" + jazz, "1|03 Quote.mp3|" + jazz},
         "Found 3 results."},
        {"a track on a disc: its label in the path, icon 3",
         "Love",
         SearchField::File,
         {"3|01 Love me.mp3|(CD)DISC07:>/media/cd/Rock/"},
         "Found 1 results."},
        {"a quote in the text",
         "Rock'n",
         SearchField::Title,
         {"1|03 Quote.mp3|" + jazz},
         "Found 1 results."},
        {"a two-letter text", "mi", SearchField::File, {"2|mix.m3u|" + music}, "Found 1 results."},
        {"nothing found", "zzz", SearchField::File, {"1|No results found|"}, "No results found"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        f.find->setText(c.text);
        f.fieldButtons[static_cast<size_t>(c.field)]->click();
        f.searchButton->click();
        EXPECT_EQ(f.statusText(), "Searching files, please wait...");
        EXPECT_EQ(f.model().rowCount(), 0);
        waitForResult(f);
        EXPECT_EQ(shown(f), c.rows);
        EXPECT_EQ(f.statusText(), c.status);
        EXPECT_TRUE(f.fieldButtons[static_cast<size_t>(c.field)]->font().bold());

        // tarl-catalog search prints the same hits, each as icon and twelve columns.
        QStringList windowLines;
        for (int row = 0; f.statusText() != "No results found" && row < f.model().rowCount();
             ++row) {
            const SearchRow& hit = *f.model().row(row);
            windowLines << QString::number(int(hit.icon)) + '\t' +
                               QStringList(hit.columns.begin(), hit.columns.end()).join('\t');
        }
        const test::ToolRun tool = test::RunTool(
            "search", {home.file("tarl.mdb"), c.text, "--field", SearchFieldCaption(c.field)});
        EXPECT_EQ(tool.lines, windowLines);
        EXPECT_EQ(tool.err, c.status + '\n');
    }
    EXPECT_EQ(f.results->header()->sectionSize(0), ToPixels(3000));
    EXPECT_EQ(f.model().headerData(11, Qt::Horizontal).toString(), "MP3id");
}

TEST_F(FindWindow, AOneLetterTextWarnsAndTheListKeepsItsRows) {
    SearchWindow& f = opened();
    search(f, "mix", SearchField::Artist);
    ASSERT_EQ(f.model().rowCount(), 3);
    services.ui.transcript.clear();

    f.find->setText("m");
    QTest::keyClick(f.find, Qt::Key_Return);
    ASSERT_EQ(services.ui.transcript.size(), 1u);
    const auto& box = services.ui.transcript.front();
    EXPECT_EQ(box.text, "I need almost two characters.");
    EXPECT_EQ(box.title, "Search Warning");
    EXPECT_EQ(box.icon, MsgIcon::Exclamation);
    EXPECT_FALSE(f.runner().busy());
    EXPECT_EQ(f.model().rowCount(), 3);
    EXPECT_EQ(f.statusText(), "Found 3 results.");
    EXPECT_EQ(history(f), QStringList{"mix>>Artist"});
}

TEST_F(FindWindow, AFailedSearchSaysWhyInTheStatusBar) {
    SearchWindow& f = opened();
    run("DROP TABLE Mp3");
    search(f, "mix", SearchField::Artist);
    EXPECT_TRUE(f.statusText().startsWith("The search failed: ")) << f.statusText().toStdString();
    EXPECT_EQ(f.model().rowCount(), 0);
}

TEST_F(FindWindow, TheHistoryKeepsOneEntryASearchNewestFirst) {
    SearchWindow& f = opened();
    search(f, "mix", SearchField::Artist);
    search(f, "mix", SearchField::Artist);
    EXPECT_EQ(history(f), QStringList{"mix>>Artist"});
    search(f, "Love", SearchField::File);
    search(f, "mix", SearchField::Artist); // selected where it stands
    EXPECT_EQ(history(f), QStringList({"Love>>File", "mix>>Artist"}));
    EXPECT_EQ(f.historyBox->currentIndex(), 1);

    // Choosing an entry brings back its text and field without searching.
    f.historyBox->setCurrentIndex(0);
    f.historyChosen();
    EXPECT_EQ(f.find->text(), "Love");
    EXPECT_EQ(f.selectedField(), SearchField::File);
    EXPECT_FALSE(f.runner().busy());

    // Enter reaching the window itself searches too.
    QTest::keyClick(&f, Qt::Key_Return);
    EXPECT_EQ(f.statusText(), "Searching files, please wait...");
    waitForResult(f);
    EXPECT_EQ(f.statusText(), "Found 1 results.");
}

TEST_F(FindWindow, BackAndNextRunTheSearchesOfTheHistoryAgain) {
    SearchWindow& f = opened();
    search(f, "Love", SearchField::File);
    search(f, "mix", SearchField::Artist);
    search(f, "Rock'n", SearchField::Title);
    const struct {
        const char* name;
        QPushButton* button;
        int selected;
        QString text;
        SearchField field;
        bool searched;
    } steps[] = {
        {"back: the middle one", f.Back, 1, "mix", SearchField::Artist, true},
        {"next: the newest", f.next, 0, "Rock'n", SearchField::Title, true},
        {"next on the newest does nothing", f.next, 0, "Rock'n", SearchField::Title, false},
        {"back", f.Back, 1, "mix", SearchField::Artist, true},
        {"back: the oldest", f.Back, 2, "Love", SearchField::File, true},
        {"back on the oldest does nothing", f.Back, 2, "Love", SearchField::File, false},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        f.model().clear();
        s.button->click();
        EXPECT_EQ(f.runner().busy(), s.searched);
        waitForResult(f);
        EXPECT_EQ(f.historyBox->currentIndex(), s.selected);
        EXPECT_EQ(f.find->text(), s.text);
        EXPECT_EQ(f.selectedField(), s.field);
        EXPECT_EQ(f.model().rowCount() > 0, s.searched);
    }
    EXPECT_EQ(f.historyBox->count(), 3);
}

TEST_F(FindWindow, TheRightButtonOffersMoreOfTheSameOnlyOnATrackHit) {
    SearchWindow& f = opened();
    const struct {
        const char* name;
        QString text;
        bool popup;
    } cases[] = {
        {"no results", "zzz", false},
        {"a list hit", "Jazz", false},
        {"a track hit", "Quote", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        search(f, c.text, SearchField::File);
        const QPoint at = rowPoint(f, 0);
        QTest::mouseClick(f.results->viewport(), Qt::RightButton, {}, at);
        EXPECT_EQ(f.hitMenu->isVisible(), c.popup);
        f.hitMenu->hide();
    }
    // 100 twips right of and 2400 below the pointer, as a place in the window.
    const QPoint inList = f.results->viewport()->mapTo(f.results, rowPoint(f, 0));
    EXPECT_EQ(f.popupPlace(),
              QPoint(ToPixels(ToTwips(inList.x()) + 100), ToPixels(ToTwips(inList.y()) + 2400)));

    // Another button moves jumpArrow to the pointer's height.
    QTest::mouseClick(f.results->viewport(), Qt::LeftButton, {}, rowPoint(f, 0));
    EXPECT_EQ(f.jumpArrow->y(), ToPixels(ToTwips(f.results->y()) + ToTwips(inList.y()) - 200));

    // "Artist" searches the artist of the selected track in Artist.
    f.searchSameItems[static_cast<size_t>(SearchField::Artist)]->trigger();
    waitForResult(f);
    EXPECT_EQ(f.find->text(), "Remix Crew");
    EXPECT_EQ(f.selectedField(), SearchField::Artist);
    EXPECT_EQ(shown(f), QStringList{"1|03 Quote.mp3|" + music + "Jazz/"});
}

TEST_F(FindWindow, DoubleClickOnAHardDiscListSearchesItsPath) {
    SearchWindow& f = opened();
    // "No results found" is no hit: opening it does nothing.
    search(f, "zzz", SearchField::File);
    QTest::mouseDClick(f.results->viewport(), Qt::LeftButton, {}, rowPoint(f, 0));
    EXPECT_FALSE(f.runner().busy());
    EXPECT_EQ(f.find->text(), "zzz");

    search(f, "Jazz", SearchField::File);
    ASSERT_EQ(shown(f), QStringList{"2|Jazz/|" + music});
    QTest::mouseClick(f.results->viewport(), Qt::LeftButton, {}, rowPoint(f, 0));
    QTest::mouseDClick(f.results->viewport(), Qt::LeftButton, {}, rowPoint(f, 0));
    waitForResult(f);
    EXPECT_EQ(f.find->text(), music + "Jazz/");
    EXPECT_EQ(f.selectedField(), SearchField::Path);
    EXPECT_EQ(shown(f), QStringList({"1|02 Elan.mp3|" + music + "Jazz/",
                                     "1|03 Quote.mp3|" + music + "Jazz/"}));
}

TEST_F(FindWindow, ATrackPlaysThroughTheTemporaryPlaylistAndTheTimersComeBackOnClose) {
    MainWindow& w = started();
    SearchWindow& f = opened();
    search(f, "Elan", SearchField::Title);
    f.results->setCurrentIndex(f.model().index(0, 0));
    QTest::keyClick(f.results, Qt::Key_Return);
    EXPECT_FALSE(test::Part<QTimer>(w, "saveTimer")->isActive());
    EXPECT_FALSE(test::Part<QTimer>(w, "playerTimer")->isActive());
    EXPECT_FALSE(f.miniPlayer->isVisible());
    EXPECT_TRUE(f.miniPlayerTimer->isActive());
    EXPECT_EQ(f.miniPlayerTimer->interval(), 200);
    ASSERT_EQ(services.player.launches.size(), 1);
    EXPECT_EQ(TemporaryPlaylistEntry(state->tmpPlaylistPath, 0), music + "Jazz/02 Elan.mp3");

    closeAndDiscard(f);
    EXPECT_TRUE(test::Part<QTimer>(w, "saveTimer")->isActive());
    EXPECT_TRUE(test::Part<QTimer>(w, "playerTimer")->isActive());
}

TEST_F(FindWindow, JumpToHitSelectsTheTreeNodeAndTheTrackRowsThenCloses) {
    MainWindow& w = started();
    const struct {
        const char* name;
        QString text;
        std::vector<int> rows; // selected in the track list
    } cases[] = {
        {"a list", "Jazz", {}},
        {"a track", "Quote", {1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SearchWindow& f = opened();
        search(f, c.text, SearchField::File);
        f.results->setCurrentIndex(f.model().index(0, 0));
        test::Part<QTimer>(w, "saveTimer")->stop(); // as after a track was played from the list
        services.player.launches.clear();
        QTest::mouseClick(f.jumpArrow, Qt::LeftButton);
        // The main window comes back, but the player keeps the hit it plays.
        EXPECT_TRUE(services.player.launches.empty());
        ASSERT_NE(test::Part<LibraryBrowser>(w, "browser")->selectedNode(), nullptr);
        EXPECT_EQ(test::Part<LibraryBrowser>(w, "browser")->selectedNode()->key, music + "Jazz/");
        EXPECT_EQ(test::Part<LibraryBrowser>(w, "browser")->trackModel()->rowCount(), 2);
        if (!c.rows.empty()) {
            EXPECT_EQ(test::Part<TrackListView>(w, "trackList")->selectedRows(), c.rows);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE((w.findChild<SearchWindow*>() == nullptr));
        EXPECT_TRUE(test::Part<QTimer>(w, "saveTimer")->isActive());
    }
}

TEST_F(FindWindow, AfterAPlayTheJumpSelectsTheHitAndTheNextTickLeavesIt) {
    MainWindow& w = started();
    SearchWindow& f = opened();
    search(f, "Elan", SearchField::Title);
    f.results->setCurrentIndex(f.model().index(0, 0));
    QTest::keyClick(f.results, Qt::Key_Return);
    services.player.running = true;
    services.player.replies["entry"] = 0;

    search(f, "Quote", SearchField::File);
    f.results->setCurrentIndex(f.model().index(0, 0));
    QTest::mouseClick(f.jumpArrow, Qt::LeftButton);
    w.playerTimerTick();
    EXPECT_EQ(test::Part<TrackListView>(w, "trackList")->selectedRows(), std::vector<int>{1});
}

TEST_F(FindWindow, IgnoreAccentsIsKeptInTheSettingsFile) {
    SearchWindow& first = opened();
    EXPECT_FALSE(first.ignoreAccentsCheck->isChecked());
    first.ignoreAccentsCheck->click();
    EXPECT_EQ(setting("Search", "IgnoreAccents"), "1");
    closeAndDiscard(first);

    SearchWindow& second = opened();
    EXPECT_TRUE(second.ignoreAccentsCheck->isChecked());
    second.ignoreAccentsCheck->click();
    EXPECT_EQ(setting("Search", "IgnoreAccents"), "0");
}

TEST_F(FindWindow, TheMiniPlayersKnobSeeksOnReleaseAndStopStops) {
    using M = tarl::test::FakePlayerLink::Call;
    SearchWindow& f = opened();
    services.player.running = true;
    services.player.replies["lengthSeconds"] = 100;
    services.player.replies["positionMs"] = 100;
    services.player.sent.clear();

    f.positionDragged(900); // no drag yet
    EXPECT_EQ(f.positionKnobLeft(), MiniKnobMin);
    f.positionPressed();
    f.positionDragged(1870); // the wanted place: 1320 + 1870 - 250
    EXPECT_EQ(f.positionKnobLeft(), 2940);
    EXPECT_EQ(f.positionKnob->x(), ToPixels(2940));
    f.positionDragged(5000);
    EXPECT_EQ(f.positionKnobLeft(), MiniKnobMax);
    f.positionDragged(250 - (MiniKnobMax - 2940));
    EXPECT_EQ(f.positionKnobLeft(), 2940);
    f.positionReleased();
    EXPECT_FALSE(f.positionDragging());
    EXPECT_EQ(services.player.sent.back(), (M{4242, "seekTo", 50000}));

    QTest::mouseClick(f.stopButton, Qt::LeftButton);
    EXPECT_EQ(services.player.sent.back(), (M{4242, "stop"}));
}

} // namespace
