#include "MainFixture.h"
#include "support/WindowParts.h"

#include "shell/TrayIcon.h"

#include <QApplication>
#include <QSystemTrayIcon>
#include <QTest>

using namespace tarl;

namespace {

using TrayWindow = tarl::test::MainFixture;

TEST(TrayTip, TheTrayKeepsSixtyThreeCharacters) {
    const QString long64(64, QLatin1Char('a'));
    const struct {
        const char* name;
        QString text, tip;
    } cases[] = {
        {"short text as it is", "Song.mp3", "Song.mp3"},
        {"63 characters as they are", long64.left(63), long64.left(63)},
        {"64 characters cut to 63", long64, long64.left(63)},
        {"empty", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TrayTip(c.text), c.tip) << c.name;
}

// The tray is stood for by the window's hook that tells whether its icon is there.
TEST_F(TrayWindow, MinimisingHidesTheWindowOnlyWhereATrayHoldsTheIcon) {
    const struct {
        const char* name;
        bool tray;
    } cases[] = {{"with a tray", true}, {"without a tray", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MainWindow& w = start();
        w.hooks().trayIconVisible = [&c] { return c.tray; };
        w.show();
        w.setWindowState(Qt::WindowMinimized);
        QApplication::processEvents();
        EXPECT_EQ(w.isVisible(), !c.tray); // without a tray it stays in the task bar

        w.trayIconClicked();
        EXPECT_TRUE(w.isVisible());
        EXPECT_FALSE(w.isMinimized());
        w.trayIconClicked();
        EXPECT_TRUE(w.isMinimized());
        EXPECT_EQ(w.isVisible(), !c.tray);
        w.hide();
    }
}

// The click as the tray reports it: only a left click (Trigger) brings the window back or hides it.
TEST_F(TrayWindow, OnlyALeftClickOnTheIconTogglesTheWindow) {
    MainWindow& w = start();
    w.hooks().trayIconVisible = [] { return true; };
    auto* tray = test::Part<TrayIcon>(w, "trayIcon")->findChild<QSystemTrayIcon*>();
    ASSERT_NE(tray, nullptr);
    w.show();
    w.setWindowState(Qt::WindowMinimized);
    QApplication::processEvents();
    ASSERT_FALSE(w.isVisible());
    const struct {
        const char* name;
        QSystemTrayIcon::ActivationReason reason;
        bool visibleAfter;
    } clicks[] = {
        {"right button: the tray's menu, no toggle", QSystemTrayIcon::Context, false},
        {"middle button", QSystemTrayIcon::MiddleClick, false},
        {"left click shows", QSystemTrayIcon::Trigger, true},
        {"double click does not hide again", QSystemTrayIcon::DoubleClick, true},
        {"left click hides", QSystemTrayIcon::Trigger, false},
    };
    for (const auto& c : clicks) {
        emit tray->activated(c.reason);
        QApplication::processEvents();
        EXPECT_EQ(w.isVisible(), c.visibleAfter) << c.name;
    }
    w.hide();
}

TEST_F(TrayWindow, TheFirstTipAndThePlayingSongsName) {
    MainWindow& w = start();
    test::Part<TrayIcon>(w, "trayIcon")->showTrayIcon();
    EXPECT_EQ(test::Part<TrayIcon>(w, "trayIcon")->tip(), "TarlV3.0");
    w.hooks().setTrayTip(QString(70, QLatin1Char('x')));
    EXPECT_EQ(test::Part<TrayIcon>(w, "trayIcon")->tip(), QString(63, QLatin1Char('x')));
}

} // namespace
