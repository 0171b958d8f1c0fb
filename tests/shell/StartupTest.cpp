#include "MainFixture.h"
#include "support/WindowParts.h"

#include "browserui/TrackListView.h"
#include "catalog/engine/CatalogFile.h"
#include "dialogs/OptionsDialog.h"
#include "shell/Twips.h"
#include "support/NetworkShare.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>

using namespace tarl;
using tarl::test::FakeUi;

namespace {

using Startup = tarl::test::MainFixture;

const QString DbErrorText = QStringLiteral("Missing Data Base or Wrong format\t\rRestart the Tarl");

TEST_F(Startup, FirstRunCancelEndsTheProgramAndLeavesTheDefaults) {
    services.ui.answers = {MsgAnswer::Cancel};
    MainWindow& w = start();
    bool shownBeforeBox = true;
    services.ui.onBox = [&](const FakeUi::Box&) { shownBeforeBox = w.isVisible(); };
    w.startUp();

    ASSERT_EQ(services.ui.transcript.size(), 1u);
    const FakeUi::Box& box = services.ui.transcript[0];
    EXPECT_EQ(box.title, "Database not selected!");
    EXPECT_EQ(box.text, "Ok for select the Dbase or Cancel for exit");
    EXPECT_EQ(box.buttons, MsgButtons::OkCancel);
    EXPECT_FALSE(shownBeforeBox);
    EXPECT_TRUE(w.unloaded());
    EXPECT_EQ(w.windowTitle(), "Tarl Beta Version 2.7.2");

    EXPECT_EQ(setting("Player", "sorted_by_cd"), "True");
    EXPECT_EQ(setting("Dimensions", "visual_mode"), "0");
    EXPECT_EQ(setting("Dimensions", "Main_state"), "0");
    EXPECT_EQ(setting("Dimensions", "Width"), "11000");
    EXPECT_EQ(setting("Dimensions", "heigth"), "7500");
    EXPECT_EQ(setting("Dimensions", "Main_top"), "1000");
    EXPECT_EQ(setting("Dimensions", "Main_left"), "1000");
    EXPECT_EQ(setting("Dimensions", "divisorH"), "5000");
    EXPECT_EQ(setting("Database", "Path"), "");
    // The last song was never read, so nothing overwrites it.
    EXPECT_FALSE(ini().contains("Mp3"));
}

TEST_F(Startup, OkAndANewCatalogNameOpensAnEmptyCatalog) {
    const QString file = home.file("music/first.mdb");
    QDir().mkpath(home.file("music"));
    services.ui.answers = {MsgAnswer::Ok, MsgAnswer::Ok, MsgAnswer::Ok};
    services.ui.files = {file};
    MainWindow& w = start();
    w.startUp();

    EXPECT_EQ(services.ui.titles(),
              QStringList({"Database not selected!", "Select data base Tarl",
                           "Select data base Tarl", "Ok for reload the new Data Base "}));
    EXPECT_EQ(services.ui.transcript[1].kind, "openFile");
    EXPECT_EQ(services.ui.transcript[1].extra, ".mdb");
    EXPECT_EQ(services.ui.transcript[1].text, "BAse de datos ACCES para Tarl (*.mdb)|*.mdb");
    EXPECT_EQ(services.ui.transcript[3].text, "Data Base changed");
    EXPECT_FALSE(w.unloaded());
    EXPECT_TRUE(QFileInfo::exists(file));
    EXPECT_EQ(setting("Database", "Path"), file);
    EXPECT_EQ(state->dbPath, file);
    EXPECT_EQ(state->catalog.connection.state(), 1);
    EXPECT_EQ(state->catalog.connection.fileName(), file);
}

TEST_F(Startup, CancelledFileDialogAsksAgainUntilCancel) {
    services.ui.answers = {MsgAnswer::Ok, MsgAnswer::Ok, MsgAnswer::Cancel};
    MainWindow& w = start();
    w.startUp(); // no file chosen: the path stays empty, so the first box comes back
    EXPECT_EQ(services.ui.titles(),
              QStringList({"Database not selected!", "Select data base Tarl",
                           "Ok for reload the new Data Base ", "Database not selected!"}));
    EXPECT_TRUE(w.unloaded());
}

struct BadCatalog {
    const char* name;
    QByteArray bytes; // written as the catalog file; null means no file
};

class BadCatalogs : public tarl::test::MainFixture,
                    public ::testing::WithParamInterface<BadCatalog> {};

TEST_P(BadCatalogs, ShowDataBaseErrorKeepTheWindowUpAndLeaveTheFileAlone) {
    const QString file = home.file("catalog.mdb");
    if (!GetParam().bytes.isNull())
        home.write("catalog.mdb", GetParam().bytes);
    writeIni("[Database]\nPath=" + file.toUtf8() + "\n");
    MainWindow& w = start();
    w.startUp();

    ASSERT_EQ(services.ui.transcript.size(), 1u);
    const FakeUi::Box& box = services.ui.transcript[0];
    EXPECT_EQ(box.title, "Data Base Error");
    EXPECT_EQ(box.text, DbErrorText);
    EXPECT_EQ(box.icon, MsgIcon::Critical);
    EXPECT_EQ(box.buttons, MsgButtons::Ok);
    EXPECT_FALSE(w.unloaded());
    EXPECT_EQ(state->catalog.connection.state(), 0);
    EXPECT_FALSE(w.statusPanel(1).isEmpty()); // the reason, in words
    // Nothing after the failure ran: the player was never started.
    EXPECT_TRUE(services.player.launches.isEmpty());
    // Closing after the failure keeps the last song of the run before.
    writeIni(ini().toUtf8() + "[Player]\nMp3_song=last.mp3\nMp3_index=4\n");
    w.saveTimerTick();
    w.close();
    EXPECT_EQ(setting("Player", "Mp3_song"), "last.mp3");
    EXPECT_EQ(setting("Player", "Mp3_index"), "4");
    if (GetParam().bytes.isNull())
        EXPECT_FALSE(QFileInfo::exists(file));
    else
        EXPECT_EQ(home.read("catalog.mdb"), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(Cases, BadCatalogs,
                         ::testing::Values(BadCatalog{"missing", QByteArray()},
                                           BadCatalog{"text_file",
                                                      QByteArray("these are not the tables\n")},
                                           BadCatalog{"empty_file", QByteArray("")}),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_F(Startup, AFailedStartUpKeepsTheSavedLayout) {
    // The catalog's drive is unplugged: "Data Base Error", then the user closes the window.
    const QByteArray catalog = "[Database]\nPath=" + home.file("gone/tarl.mdb").toUtf8() + "\n";
    const struct {
        const char* name;
        QByteArray layout;
    } cases[] = {
        {"full layout",
         "[Dimensions]\nWidth=9000\nheigth=6000\ndivisorH=3000\nMain_top=450\nMain_left=300\n"
         "Main_state=0\nvisual_mode=0\n[Player]\nsorted_by_cd=False\n"},
        {"compact layout",
         "[Dimensions]\nvisual_mode=2\nmini_top=30\nmini_left=45\nmini_heigh=3000\n"
         "mini_state=0\nmini_playlist=False\nWidth=9000\n[Player]\nsorted_by_cd=True\n"},
    };
    for (const auto& c : cases) {
        writeIni(catalog + c.layout);
        MainWindow& w = start();
        w.startUp();
        ASSERT_EQ(services.ui.titles(), QStringList("Data Base Error")) << c.name;
        w.close();
        EXPECT_EQ(ini(), QString::fromUtf8(catalog + c.layout)) << c.name;
        services.ui.transcript.clear();
    }
}

TEST_F(Startup, RestorePreviousStartsThePlayerAndSendsTheResumeInOrder) {
    const QString file = newCatalog();
    writeIni("[Database]\nPath=" + file.toUtf8() +
             "\n[Player]\nPath=/usr/bin/mpv\nMp3_index=3\nMp3_position=42\nVolum=255\n"
             "Mp3folder=/music/a/\nMp3_song=x.mp3\n[Dimensions]\nMain_top=-300\n");
    services.player.launchStarts = true;
    MainWindow& w = start();
    w.startUp();

    EXPECT_TRUE(services.ui.transcript.empty());
    EXPECT_EQ(services.player.launches,
              (QList<QStringList>{{"/usr/bin/mpv", home.file("m3uTmp.m3u")}}));
    EXPECT_EQ(state->lastListIndex, -1);
    const auto win = services.player.window;
    using M = test::FakePlayerLink::Call;
    const std::vector<M> expected{
        {win, "selectEntry", 3}, {win, "play"}, {win, "seekTo", 42000}, {win, "setVolume", 255}};
    EXPECT_EQ(services.player.sent, expected);
    EXPECT_EQ(w.top(), 0); // a window above the screen comes down to its edge
    EXPECT_EQ(ToTwips(test::Part<QLabel>(w, "panelButton6")->x()),
              3315); // the volume knob at its right end (3320)
    EXPECT_EQ(state->playerVolume, 255);
    EXPECT_FALSE(
        test::Part<TrackListView>(w, "trackList")->reportView()->header()->sectionsClickable());
}

TEST_F(Startup, ACatalogOnANetworkShareOpensWithANoteInTheStatusBar) {
    const QString file = newCatalog();
    writeIni("[Database]\nPath=" + file.toUtf8() + "\n");
    const test::NetworkShare share;
    MainWindow& w = start();
    w.startUp();

    EXPECT_EQ(state->catalog.connection.state(), 1);
    EXPECT_TRUE(w.statusPanel(1).startsWith("The catalog file " + file +
                                            " is on a file system where SQLite cannot share"))
        << w.statusPanel(1).toStdString();
}

TEST_F(Startup, UnloadWritesEveryKeyAndClosesCatalogAndPlayer) {
    const QString file = newCatalog();
    writeIni("[Database]\nPath=" + file.toUtf8() + "\n[Player]\nsorted_by_cd=False\n");
    services.player.launchStarts = true;
    services.player.replies["lengthSeconds"] = 61500;
    services.player.replies["positionMs"] = 61500;
    MainWindow& w = start();
    w.startUp();
    QHeaderView* header = test::Part<TrackListView>(w, "trackList")->reportView()->header();
    header->resizeSection(0, 200);
    header->moveSection(2, 0);
    state->lastSong = "y.mp3";
    state->lastIndex = 5;
    state->lastFolder = "/m/b/";
    w.setWidth(9000);
    w.close();

    EXPECT_TRUE(w.unloaded());
    EXPECT_EQ(state->catalog.connection.state(), 0);
    EXPECT_EQ(setting("Player", "sorted_by_cd"), "False");
    EXPECT_EQ(setting("Dimensions", "visual_mode"), "0");
    EXPECT_EQ(setting("Dimensions", "width"), "9000");
    EXPECT_EQ(setting("Dimensions", "mp3F1"), "3000");
    EXPECT_EQ(setting("Dimensions", "mp3FO3"), "1"); // places count from 1 in the file
    EXPECT_EQ(setting("Dimensions", "mp3FO1"), "2");
    EXPECT_EQ(setting("Dimensions", "mp3F11"), QString::number(ToTwips(header->sectionSize(10))));
    EXPECT_EQ(setting("Dimensions", "mp3F12"), "");     // the twelfth column keeps its own width
    EXPECT_EQ(setting("Player", "Mp3_position"), "62"); // 61.5 s, halves to even
    EXPECT_EQ(setting("Player", "Mp3_song"), "y.mp3");
    EXPECT_EQ(setting("Player", "Mp3_index"), "5");
    EXPECT_EQ(setting("Player", "Mp3folder"), "/m/b/");
    ASSERT_FALSE(services.player.sent.empty());
    EXPECT_EQ(services.player.sent.back().verb, "askToClose");
    EXPECT_FALSE(services.player.running);
}

TEST_F(Startup, GeometrySurvivesARestartAlsoMaximisedOverItsNormalSize) {
    const QString file = newCatalog();
    writeIni("[Database]\nPath=" + file.toUtf8() + "\n");
    {
        MainWindow& w = start();
        w.startUp();
        w.setWidth(9000);
        w.setHeight(6000);
        w.setLeft(450);
        w.setTop(300);
        w.setSplitterLeft(3000);
        w.close();
    }
    EXPECT_EQ(setting("Dimensions", "width"), "9000");
    EXPECT_EQ(setting("Dimensions", "divisorH"), "3000");
    {
        MainWindow& w = start();
        w.startUp();
        EXPECT_EQ(w.width(), 9000);
        EXPECT_EQ(w.top(), 300);
        w.show();
        w.setWindowStateValue(StateMaximised);
        w.close();
    }
    EXPECT_EQ(setting("Dimensions", "Main_state"), "2");
    EXPECT_EQ(setting("Dimensions", "width"), "9000"); // the normal size stays in the file

    MainWindow& again = start();
    again.startUp();
    EXPECT_EQ(again.windowStateValue(), StateMaximised);
    EXPECT_EQ(again.normalGeometry().width(), ToPixels(9000));
    EXPECT_EQ(again.normalGeometry().height(), ToPixels(6000));
    EXPECT_EQ(again.splitterLeft(), 3000);
}

TEST_F(Startup, UnreadableSettingsUseDefaultsAndAreNamed) {
    const QString file = newCatalog();
    writeIni("[Database]\nPath=" + file.toUtf8() +
             "\n[Dimensions]\nWidth=very wide\nvisual_mode=x\n[Player]\nVolum=loud\n");
    MainWindow& w = start();
    w.startUp();
    EXPECT_TRUE(services.ui.transcript.empty());
    EXPECT_EQ(w.width(), 11000);
    EXPECT_EQ(state->playerVolume, 50);
    EXPECT_EQ(state->visualMode, 0);
    EXPECT_TRUE(w.statusPanel(2).contains("Dimensions/Width=very wide"));
    EXPECT_TRUE(w.statusPanel(2).contains("Player/Volum=loud"));
}

TEST_F(Startup, ASettingsFileThatCannotBeWrittenIsReportedOnce) {
    QDir().mkpath(home.file("tarl.ini")); // a folder where the file should be
    services.ui.answers = {MsgAnswer::Cancel};
    MainWindow& w = start();
    w.startUp();
    ASSERT_EQ(services.ui.transcript.size(), 2u);
    EXPECT_EQ(services.ui.transcript[1].title, "Tarl Beta Version 2.7.2");
    EXPECT_TRUE(services.ui.transcript[1].text.startsWith("Tarl cannot save its settings."));
    w.saveTimerTick();
    EXPECT_EQ(services.ui.transcript.size(), 2u);
}

TEST_F(Startup, SetupsApplyOnANewCatalogRunsTheStartUpAgainOnIt) {
    const QString first = newCatalog("one.mdb");
    const QString second = newCatalog("two.mdb");
    writeIni("[Database]\nPath=" + first.toUtf8() + "\n");
    MainWindow& w = start();
    w.startUp();
    ASSERT_EQ(state->catalog.connection.fileName(), first);

    // Apply with the new catalog chosen, "Data Base changed" answered OK.
    services.player.launchStarts = false;
    services.ui.answers = {MsgAnswer::Ok};
    QTimer::singleShot(0, &w, [&w, second] {
        auto* options = w.findChild<OptionsDialog*>();
        ASSERT_NE(options, nullptr);
        options->catalogPathEdit->setText(second);
        options->okButton->click();
    });
    test::Part<QAction>(w, "optionsAction")->trigger();
    EXPECT_EQ(services.ui.titles(), QStringList("Ok for reload the new Data Base "));
    EXPECT_EQ(setting("Database", "Path"), second);
    EXPECT_EQ(state->catalog.connection.fileName(), second);
    EXPECT_EQ(state->dbPath, second);
}

} // namespace
