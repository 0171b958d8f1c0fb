#include "MainFixture.h"
#include "support/WindowParts.h"

#include "shell/Twips.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

using namespace tarl;

namespace {

class CompactLayout : public tarl::test::MainFixture {
protected:
    // A started window on a new empty catalog, with `layout` as the settings' Dimensions section.
    MainWindow& started(const QByteArray& layout) {
        const QString file = newCatalog(QStringLiteral("tarl%1.mdb").arg(++runs_));
        writeIni("[Database]\nPath=" + file.toUtf8() + "\n[Dimensions]\n" + layout);
        MainWindow& w = start();
        w.startUp();
        return w;
    }
    static bool compactFace(MainWindow& w) {
        return !w.menuBar()->isVisibleTo(&w) &&
               !test::Part<QToolBar>(w, "toolBar")->isVisibleTo(&w) &&
               !test::Part<QStatusBar>(w, "statusBar")->isVisibleTo(&w) &&
               w.windowFlags().testFlag(Qt::FramelessWindowHint);
    }
    static bool fullFace(MainWindow& w) {
        return w.menuBar()->isVisibleTo(&w) &&
               test::Part<QToolBar>(w, "toolBar")->isVisibleTo(&w) &&
               test::Part<QStatusBar>(w, "statusBar")->isVisibleTo(&w) &&
               !w.windowFlags().testFlag(Qt::FramelessWindowHint);
    }

private:
    int runs_ = 0;
};

// The folded window ends 670 twips below the display (650 on entry), the unfolded one is
// 2230 twips high for an empty list; both are 5800 wide.
TEST_F(CompactLayout, CompactTwiceRestoresTheFullWindowAndTheNextEntryKeepsTheFold) {
    const struct {
        const char* name;
        bool foldWhileCompact;
        int nextMode;
        const char* miniPlaylist;
    } cases[] = {
        {"left unfolded", false, 2, "True"},
        {"left folded", true, 1, "False"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MainWindow& w = started("mini_playlist=True\nmini_top=600\nmini_left=750\n");
        w.setLeft(300);
        w.setTop(450);
        w.setWidth(9000);
        w.setHeight(6000);
        w.setSplitterLeft(3000);

        test::Part<QPushButton>(w, "compactButton")->click();
        EXPECT_EQ(state->visualMode, 2);
        EXPECT_TRUE(compactFace(w));
        EXPECT_EQ(w.left(), 750);
        EXPECT_EQ(w.top(), 600);
        EXPECT_EQ(w.width(), 5800);
        EXPECT_EQ(w.height(), 2230);
        if (c.foldWhileCompact) {
            w.displayMouseDown(Qt::LeftButton);
            EXPECT_EQ(state->visualMode, 1);
            EXPECT_EQ(w.height(), ToTwips(test::Part<QLabel>(w, "nowPlayingDisplay")->y()) + 670);
        }

        test::Part<QPushButton>(w, "compactButton")->click();
        EXPECT_EQ(state->visualMode, 0);
        EXPECT_TRUE(fullFace(w));
        EXPECT_EQ(w.left(), 300);
        EXPECT_EQ(w.top(), 450);
        EXPECT_EQ(w.width(), 9000);
        EXPECT_EQ(w.height(), 6000);
        EXPECT_EQ(w.splitterLeft(), 3000);
        EXPECT_EQ(setting("Dimensions", "mini_playlist"), c.miniPlaylist);

        test::Part<QPushButton>(w, "compactButton")->click();
        EXPECT_EQ(state->visualMode, c.nextMode);
        w.close();
    }
}

TEST_F(CompactLayout, TheFirstEntryAfterStartUpFoldsAsTheUserLeftIt) {
    const struct {
        const char* stored;
        int mode;
    } cases[] = {
        {"mini_playlist=False\n", 1},
        {"mini_playlist=True\n", 2},
        {"", 2}, // never stored: the default "1000" reads as true
    };
    for (const auto& c : cases) {
        MainWindow& w = started(c.stored);
        test::Part<QPushButton>(w, "compactButton")->click();
        EXPECT_EQ(state->visualMode, c.mode) << c.stored;
        w.close();
    }
}

TEST_F(CompactLayout, StartUpEntersTheStoredModeAndTheTickKeepsTheFullWindowsWidth) {
    const struct {
        const char* name;
        QByteArray layout;
        int mode;
        double width, height;
    } cases[] = {
        {"unfolded", "visual_mode=2\nmini_playlist=False\n", 2, 5800, 2230},
        {"folded", "visual_mode=1\n", 1, 5800, 30 + 650},
        {"an unknown mode shows the full layout", "visual_mode=7\n", 0, 9000, 6000},
        {"full", "visual_mode=0\n", 0, 9000, 6000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MainWindow& w =
            started("Width=9000\nheigth=6000\nmini_top=600\nmini_left=750\n" + c.layout);
        EXPECT_EQ(state->visualMode, c.mode);
        EXPECT_EQ(w.compactShown(), c.mode > 0);
        EXPECT_EQ(c.mode > 0 ? compactFace(w) : fullFace(w), true);
        w.saveTimerTick();
        EXPECT_EQ(w.width(), c.width);
        EXPECT_EQ(w.height(), c.height);
        w.close();
        // The full window's keys are left as they were by a compact run.
        EXPECT_EQ(setting("Dimensions", "Width"), "9000");
        if (c.mode > 0) {
            EXPECT_EQ(setting("Dimensions", "mini_heigh"), QString::number(c.height));
        }
    }
}

void SendMouse(QWidget* target, QEvent::Type type, QPoint global) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(5, 5), QPointF(global), Qt::LeftButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

TEST_F(CompactLayout, AClickOnTheDisplayFoldsAndADragMovesTheBorderlessWindow) {
    const struct {
        const char* name;
        QPoint releasedAt; // the press is at (100, 100) on the screen
        int mode;
        QPoint moved;
    } cases[] = {
        {"a click unfolds the list", {101, 100}, 2, {0, 0}},
        {"a drag moves the window and keeps the fold", {160, 130}, 1, {60, 30}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MainWindow& w = started("visual_mode=1\nmini_top=600\nmini_left=750\n");
        const QPoint before = w.pos();
        SendMouse(test::Part<QLabel>(w, "nowPlayingDisplay"), QEvent::MouseButtonPress, {100, 100});
        SendMouse(test::Part<QLabel>(w, "nowPlayingDisplay"), QEvent::MouseMove, c.releasedAt);
        SendMouse(test::Part<QLabel>(w, "nowPlayingDisplay"), QEvent::MouseButtonRelease,
                  c.releasedAt);
        EXPECT_EQ(state->visualMode, c.mode);
        EXPECT_EQ(w.pos() - before, c.moved);
        EXPECT_EQ(w.left(), ToTwips(w.x()));
        w.close();
    }
}

TEST_F(CompactLayout, AStoredPlaceBeyondEveryScreenComesBackOntoOne) {
    const struct {
        const char* name;
        QByteArray layout;
    } cases[] = {
        {"compact", "visual_mode=1\nmini_left=900000\nmini_top=900000\n"},
        {"full", "visual_mode=0\nMain_left=-900000\nMain_top=900000\nWidth=9000\nheigth=6000\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MainWindow& w = started(c.layout);
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        EXPECT_TRUE(screen.contains(w.geometry().topLeft())) << w.x() << "," << w.y();
        w.close();
    }
}

} // namespace
