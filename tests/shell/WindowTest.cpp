#include "MainFixture.h"

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
    EXPECT_EQ(w.scanAction->text(), "Scan &Drive");
    EXPECT_EQ(w.optionsAction->text(), "&Options");
    EXPECT_EQ(w.viewByPathsAction->text(), "Sort by paths");
    EXPECT_EQ(w.viewByStyleAction->text(), "Sort By Style");
    QStringList modes;
    for (QAction* a : w.listModeActions)
        modes << a->text();
    EXPECT_EQ(modes, QStringList({"Mp3 Little Icons", "Mp3 list Icons", "Mp3 List", "Report"}));
    EXPECT_FALSE(w.historyTopAction->isEnabled());
    EXPECT_EQ(w.clearHistoryAction->text(), "Clear history");
    for (QAction* a : w.historyActions)
        EXPECT_FALSE(a->isVisible());
    EXPECT_EQ(w.addFavoriteAction->text(), "Add to favorites");

    QStringList buttons;
    for (QAction* a : w.toolbarButtons)
        buttons << a->text();
    EXPECT_EQ(buttons, QStringList({"Ini", "View Paths", "View Styles", "separator", "Scan", "Find",
                                    "Refresh"}));
    EXPECT_TRUE(w.toolbarButtons[3]->isSeparator());
    EXPECT_EQ(w.toolBar->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    w.loadMenuIcons();
    EXPECT_EQ(w.toolBar->toolButtonStyle(), Qt::ToolButtonIconOnly);
    EXPECT_TRUE(w.toolbarButtons[5]->isEnabled());
    EXPECT_EQ(w.showPlayingButton->text(), "<>");
    EXPECT_EQ(w.compactButton->text(), ">>");
}

TEST_F(Window, ResizeMainLaysTheControlsOutAroundTheSplitter) {
    MainWindow& w = start();
    w.show();
    w.setSplitterLeft(4500);
    w.resizeMain();
    EXPECT_EQ(ToTwips(w.treeView->y()), 630);
    EXPECT_EQ(ToTwips(w.treeView->width()), 4500);
    EXPECT_EQ(w.trackList->x(), ToPixels(4560));
    EXPECT_EQ(w.trackList->y(), w.treeView->y());
    EXPECT_EQ(w.trackList->height(), w.treeView->height());
    EXPECT_EQ(w.splitterBar->height(), w.treeView->height());
    EXPECT_EQ(w.playerFrame->x(), ToPixels(4540));
    const QWidget* client = w.centralWidget();
    EXPECT_EQ(w.statusBar->geometry().bottom(), client->height() - 1);
    EXPECT_EQ(w.treeView->geometry().bottom() + 1, w.statusBar->y());
    EXPECT_EQ(w.trackList->width(), ToPixels(ToTwips(client->width()) - 4500 - 200));
}

TEST_F(Window, DraggingTheSplitterMovesTreeAndList) {
    MainWindow& w = start();
    w.show();
    const int before = w.treeView->width();
    QTest::mousePress(w.splitterBar, Qt::LeftButton, {}, QPoint(2, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(42, 10),
                     w.splitterBar->mapToGlobal(QPointF(42, 10)), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(w.splitterBar, &move);
    QTest::mouseRelease(w.splitterBar, Qt::LeftButton, {}, QPoint(42, 10));
    EXPECT_GT(w.treeView->width(), before + 30);
    EXPECT_EQ(w.trackList->x(), w.treeView->width() + ToPixels(60));
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
