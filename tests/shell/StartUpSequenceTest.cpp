#include "catalog/engine/CatalogFile.h"
#include "player/PlayerControl.h"
#include "shell/StartUp.h"
#include "state/AppState.h"
#include "state/WindowGeometry.h"
#include "support/QtPrinters.h"
#include "support/ScopedPath.h"
#include "support/TempDir.h"
#include "support/TestServices.h"

#include <gtest/gtest.h>

using namespace tarl;

namespace {

// The window as the start-up sees it, recording what is asked of it.
class RecordingView : public StartUpView, public WindowGeometry {
public:
    void setTitle(const QString& text) override { title = text; }
    void refreshActions() override {}
    void setStatusPanel(int panel, const QString& text) override { status[panel] = text; }
    bool fillTree(bool byPaths) override {
        calls << (byPaths ? "tree by paths" : "tree by style");
        return treeReadable;
    }
    void loadMenuIcons() override {}
    bool loadmp3list() override { return calls << "list", true; }
    void selectFolderNode(const QString& folder) override { calls << "select " + folder; }
    WindowGeometry& geometry() override { return *this; }
    void setVolume(int volume) override { calls << QString("volume %1").arg(volume); }
    void applyCompactLayout() override { calls << "compact"; }
    void showTrayIcon() override {}
    void removeTrayIcon() override {}
    void buildHistoryMenu() override { calls << "history menu"; }
    void stopTimers() override {}
    void saveColumns() override { calls << "columns saved"; }
    void endProgram() override { calls << "end"; }

    int windowStateValue() const override { return state_; }
    void setWindowStateValue(int state) override { state_ = state; }
    double left() const override { return left_; }
    double top() const override { return top_; }
    double width() const override { return width_; }
    double height() const override { return height_; }
    void setLeft(double twips) override { left_ = twips; }
    void setTop(double twips) override { top_ = twips; }
    void setWidth(double twips) override { width_ = twips; }
    void setHeight(double twips) override { height_ = twips; }
    double splitterLeft() const override { return splitter_; }
    void setSplitterLeft(double twips) override { splitter_ = twips; }
    void setResizeSuspended(bool) override {}
    void runResize() override {}

    QString title;
    std::map<int, QString> status;
    QStringList calls;
    bool treeReadable = true;

private:
    int state_ = 0;
    double left_ = 1000, top_ = 1000, width_ = 11000, height_ = 7500, splitter_ = 5000;
};

class StartUpSequence : public ::testing::Test {
protected:
    void SetUp() override {
        previousHome_ = qgetenv("TARL_HOME");
        qputenv("TARL_HOME", home.path().toUtf8());
    }
    void TearDown() override { qputenv("TARL_HOME", previousHome_); }
    QString newCatalog(const QString& name) {
        const QString file = home.file(name);
        EXPECT_TRUE(CreateCatalog(file));
        return file;
    }

    test::TempDir home;
    test::ScopedPath programSearch{home.file(QStringLiteral("bin"))};
    test::TestServices services;
    AppState state{services.services()};
    PlayerControl player{state};
    RecordingView view;
    StartUp startUp{state, view, player};

private:
    QByteArray previousHome_;
};

TEST_F(StartUpSequence, FillsTheTreeTheSettingsNameAndStopsAtATreeThatCannotBeRead) {
    const QString file = newCatalog("tarl.mdb");
    const struct {
        const char* name;
        QByteArray ini;
        bool treeReadable;
        QStringList calls;
    } cases[] = {
        {"by paths",
         "[Player]\nMp3folder=/music/a/\nVolum=200\n[Dimensions]\nvisual_mode=1\n",
         true,
         {"tree by paths", "list", "select /music/a/", "volume 200", "compact", "history menu"}},
        {"by style, unreadable", "[Player]\nsorted_by_cd=0\n", false, {"tree by style"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        home.write("tarl.ini", "[Database]\nPath=" + file.toUtf8() + "\n" + c.ini);
        state.catalog.connection.close();
        services.ui.transcript.clear();
        view.calls.clear();
        view.status.clear();
        view.treeReadable = c.treeReadable;
        startUp.start();
        EXPECT_EQ(view.title, "Tarl Beta Version 2.7.2");
        EXPECT_EQ(view.calls, c.calls);
        if (c.treeReadable) {
            EXPECT_TRUE(services.ui.transcript.empty());
            continue;
        }
        // A tree that cannot be read stops the start-up like a bad catalog.
        ASSERT_EQ(services.ui.titles(), QStringList("Data Base Error"));
        EXPECT_EQ(view.status[1], "The library tree could not be read from the catalog.");
    }
}

TEST_F(StartUpSequence, ARerunKeepsAnOpenCatalogAndOpensTheNewOneOnceSetupClosedIt) {
    const QString first = newCatalog("one.mdb");
    const QString second = newCatalog("two.mdb");
    home.write("tarl.ini", "[Database]\nPath=" + first.toUtf8() + "\n");
    startUp.start();
    ASSERT_EQ(state.catalog.connection.fileName(), first);

    home.write("tarl.ini", "[Database]\nPath=" + second.toUtf8() + "\n");
    startUp.start(); // a rerun with the connection still open keeps that catalog
    EXPECT_EQ(view.calls.count("tree by paths"), 2);
    EXPECT_EQ(state.catalog.connection.fileName(), first);

    state.catalog.connection.close(); // what Apply does after "Data Base changed" is answered OK
    startUp.start();
    EXPECT_EQ(state.catalog.connection.fileName(), second);
    EXPECT_EQ(view.calls.count("tree by paths"), 3);
}

TEST_F(StartUpSequence, ShutdownRunsOnceAndSavesColumnsOnlyAfterTheyWereSetUp) {
    startUp.shutDown(); // no start-up ran: the saved columns stay
    startUp.shutDown();
    EXPECT_EQ(view.calls, QStringList("end"));
    EXPECT_TRUE(startUp.unloaded());
}

} // namespace
