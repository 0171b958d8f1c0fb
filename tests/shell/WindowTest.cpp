#include "MainFixture.h"
#include "support/WindowParts.h"

#include "browserui/TrackListView.h"
#include "desktop/IconLabel.h"
#include "shell/About.h"
#include "shell/TerminationSignals.h"
#include "shell/Twips.h"

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <csignal>

using namespace tarl;

namespace {

using Window = tarl::test::MainFixture;

TEST_F(Window, MenusToolbarAndPanelsCarryTheirCaptions) {
    MainWindow& w = start();
    QStringList menus;
    for (QAction* a : w.menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, QStringList({"&File", "&View", "History", "Favorites", "&Help"}));
    EXPECT_EQ(test::Part<QAction>(w, "scanAction")->text(), "Scan &Drive");
    EXPECT_EQ(test::Part<QAction>(w, "optionsAction")->text(), "&Options");
    EXPECT_EQ(test::Part<QAction>(w, "viewByPathsAction")->text(), "Sort by paths");
    EXPECT_EQ(test::Part<QAction>(w, "viewByStyleAction")->text(), "Sort By Style");
    QStringList modes;
    for (QAction* a : test::Parts<QAction>(w, "listModeAction", 4))
        modes << a->text();
    EXPECT_EQ(modes, QStringList({"Mp3 Little Icons", "Mp3 list Icons", "Mp3 List", "Report"}));
    EXPECT_FALSE(test::Part<QAction>(w, "historyTopAction")->isEnabled());
    EXPECT_EQ(test::Part<QAction>(w, "clearHistoryAction")->text(), "Clear history");
    for (QAction* a : test::Parts<QAction>(w, "historyAction", 10))
        EXPECT_FALSE(a->isVisible());
    EXPECT_EQ(test::Part<QAction>(w, "addFavoriteAction")->text(), "Add to favorites");

    QStringList buttons;
    for (QAction* a : test::Parts<QAction>(w, "toolbarButton", 7))
        buttons << a->text();
    EXPECT_EQ(buttons, QStringList({"Ini", "View Paths", "View Styles", "separator", "Scan", "Find",
                                    "Refresh"}));
    EXPECT_TRUE(test::Part<QAction>(w, "toolbarButton3")->isSeparator());
    EXPECT_EQ(test::Part<QToolBar>(w, "toolBar")->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    w.loadMenuIcons();
    EXPECT_EQ(test::Part<QToolBar>(w, "toolBar")->toolButtonStyle(), Qt::ToolButtonIconOnly);
    EXPECT_TRUE(test::Part<QAction>(w, "toolbarButton5")->isEnabled());
    EXPECT_EQ(test::Part<QPushButton>(w, "showPlayingButton")->text(), "<>");
    EXPECT_EQ(test::Part<QPushButton>(w, "compactButton")->text(), ">>");
}

TEST_F(Window, ResizeMainLaysTheControlsOutAroundTheSplitter) {
    MainWindow& w = start();
    w.show();
    w.setSplitterLeft(4500);
    w.resizeMain();
    EXPECT_EQ(ToTwips(test::Part<QTreeView>(w, "treeView")->y()), 630);
    EXPECT_EQ(ToTwips(test::Part<QTreeView>(w, "treeView")->width()), 4500);
    EXPECT_EQ(test::Part<TrackListView>(w, "trackList")->x(), ToPixels(4560));
    EXPECT_EQ(test::Part<TrackListView>(w, "trackList")->y(),
              test::Part<QTreeView>(w, "treeView")->y());
    EXPECT_EQ(test::Part<TrackListView>(w, "trackList")->height(),
              test::Part<QTreeView>(w, "treeView")->height());
    EXPECT_EQ(test::Part<QFrame>(w, "splitterBar")->height(),
              test::Part<QTreeView>(w, "treeView")->height());
    EXPECT_EQ(test::Part<QFrame>(w, "playerFrame")->x(), ToPixels(4540));
    const QWidget* client = w.centralWidget();
    EXPECT_EQ(test::Part<QStatusBar>(w, "statusBar")->geometry().bottom(), client->height() - 1);
    EXPECT_EQ(test::Part<QTreeView>(w, "treeView")->geometry().bottom() + 1,
              test::Part<QStatusBar>(w, "statusBar")->y());
    EXPECT_EQ(test::Part<TrackListView>(w, "trackList")->width(),
              ToPixels(ToTwips(client->width()) - 4500 - 200));
}

TEST_F(Window, DraggingTheSplitterMovesTreeAndList) {
    MainWindow& w = start();
    w.show();
    const int before = test::Part<QTreeView>(w, "treeView")->width();
    QTest::mousePress(test::Part<QFrame>(w, "splitterBar"), Qt::LeftButton, {}, QPoint(2, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(42, 10),
                     test::Part<QFrame>(w, "splitterBar")->mapToGlobal(QPointF(42, 10)),
                     Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(test::Part<QFrame>(w, "splitterBar"), &move);
    QTest::mouseRelease(test::Part<QFrame>(w, "splitterBar"), Qt::LeftButton, {}, QPoint(42, 10));
    EXPECT_GT(test::Part<QTreeView>(w, "treeView")->width(), before + 30);
    EXPECT_EQ(test::Part<TrackListView>(w, "trackList")->x(),
              test::Part<QTreeView>(w, "treeView")->width() + ToPixels(60));
}

TEST_F(Window, AboutShowsThePictureTheVersionAndCloses) {
    About about;
    const auto* version = about.findChild<QLabel*>("version");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), "Tarl Beta Version 2.7.2");
    const auto* picture = about.findChild<IconLabel*>("picture");
    ASSERT_NE(picture, nullptr);
    EXPECT_FALSE(picture->icon().isNull());
    EXPECT_EQ(about.closeButton()->text(), "CLOSE");
    about.show();
    about.closeButton()->click();
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

TEST_F(Window, TerminationSignalClosesTheWindowAndSavesTheSettings) {
    const QString file = newCatalog();
    writeIni("[Database]\nPath=" + file.toUtf8() + "\n");
    MainWindow& w = start();
    w.startUp();
    w.show();
    TerminationSignals terminationSignals(&w);
    std::raise(SIGTERM);
    for (int i = 0; i < 50 && !w.unloaded(); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(w.unloaded());
    EXPECT_EQ(setting("Player", "sorted_by_cd"), "True");
    EXPECT_EQ(setting("Dimensions", "Width"), "11000");
}

} // namespace
