#include "state/WindowPlacement.h"
#include "state/AppState.h"
#include "state/WindowGeometry.h"
#include "support/TempDir.h"
#include "support/TestServices.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace tarl;
using tarl::test::TempDir;
using tarl::test::TestServices;

namespace {

// A window that logs what is applied to it, in order.
class LoggingWindow : public WindowGeometry {
public:
    int windowStateValue() const override { return state; }
    void setWindowStateValue(int value) override {
        state = value;
        log << QStringLiteral("state=%1").arg(value);
    }
    double left() const override { return l; }
    double top() const override { return t; }
    double width() const override { return w; }
    double height() const override { return h; }
    void setLeft(double v) override { l = v, log << QStringLiteral("left=%1").arg(v); }
    void setTop(double v) override { t = v, log << QStringLiteral("top=%1").arg(v); }
    void setWidth(double v) override { w = v, log << QStringLiteral("width=%1").arg(v); }
    void setHeight(double v) override { h = v, log << QStringLiteral("height=%1").arg(v); }
    double splitterLeft() const override { return split; }
    void setSplitterLeft(double v) override { split = v, log << QStringLiteral("split=%1").arg(v); }
    void setResizeSuspended(bool on) override { log << (on ? "suspend" : "resume"); }
    void runResize() override { log << "resize"; }

    int state = StateNormal;
    double l = 0, t = 0, w = 0, h = 0, split = 0;
    QStringList log;
};

class Placement : public ::testing::Test {
protected:
    void SetUp() override { state.settings.setPath(dir.file("tarl.ini")); }
    QString ini() const { return QString::fromUtf8(dir.read("tarl.ini")); }
    TempDir dir;
    TestServices services;
    AppState state{services.services()};
    LoggingWindow window;
};

TEST_F(Placement, NoSettingsGiveTheBuiltInPlaceAndSizesComeBeforeTheState) {
    window.state = StateMaximised;
    LoadMainPlacement(state, window);
    EXPECT_EQ(window.log,
              QStringList({"suspend", "state=0", "width=11000", "height=7500", "top=1000",
                           "left=1000", "split=5000", "state=0", "resume", "resize"}));
}

TEST_F(Placement, SavingWhileMaximisedKeepsTheNormalSizeAndRestoresMaximisedOverIt) {
    window.l = 1500, window.t = 900, window.w = 12000, window.h = 8000, window.split = 4000;
    SaveMainPlacement(state, window);
    window.state = StateMaximised;
    window.w = 99999;
    SaveMainPlacement(state, window);
    EXPECT_TRUE(ini().contains("Main_state=2"));
    EXPECT_TRUE(ini().contains("width=12000"));
    EXPECT_FALSE(ini().contains("99999"));

    LoggingWindow next;
    LoadMainPlacement(state, next);
    EXPECT_EQ(next.log, QStringList({"suspend", "width=12000", "height=8000", "top=900",
                                     "left=1500", "split=4000", "state=2", "resume", "resize"}));
}

TEST_F(Placement, CompactLayoutKeepsItsOwnPlaceAndPlaylistFlag) {
    EXPECT_TRUE(state.miniPlaylist);
    LoadMiniPlacement(state, window); // nothing saved yet: the playlist panel opens
    EXPECT_TRUE(state.miniPlaylist);
    EXPECT_EQ(window.log, QStringList({"suspend", "top=1000", "left=1000", "height=1000", "state=0",
                                       "resume", "resize"}));
    window.t = 30, window.l = 45, window.h = 3000;
    state.miniPlaylist = false;
    SaveMiniPlacement(state, window);
    EXPECT_TRUE(ini().contains("mini_playlist=False"));
    state.miniPlaylist = true;
    LoadMiniPlacement(state, window);
    EXPECT_FALSE(state.miniPlaylist);
    EXPECT_EQ(window.h, 3000);
}

} // namespace
