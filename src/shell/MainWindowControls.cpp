#include "shell/MainWindow.h"

#include "browserui/LibraryBrowser.h"
#include "browserui/TrackListView.h"
#include "desktop/IconLabel.h"
#include "player/PlayerPanel.h"
#include "shell/Picture.h"
#include "shell/Twips.h"

#include <QAction>
#include <QFrame>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include <array>

// The main window's controls, built once: the menus, the toolbar, the player panel and the
// status bar, each wired to its handler.
namespace tarl {

namespace {

QLabel* knob(QWidget* parent, const QString& name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Raised);
    label->setAutoFillBackground(true);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

} // namespace

void MainWindow::buildMenus() {
    fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    scanAction = fileMenu->addAction(QStringLiteral("Scan &Drive"));
    optionsAction = fileMenu->addAction(QStringLiteral("&Options"));
    fileMenu->addSeparator();
    exitAction = fileMenu->addAction(QStringLiteral("E&xit"));
    exitAction->setShortcut(QKeySequence::Quit);
    connect(scanAction, &QAction::triggered, this, &MainWindow::showScanWindow);
    connect(optionsAction, &QAction::triggered, this, &MainWindow::optionsClicked);
    connect(exitAction, &QAction::triggered, this, &QWidget::close);

    viewMenu = menuBar()->addMenu(QStringLiteral("&View"));
    viewByPathsAction = viewMenu->addAction(QStringLiteral("Sort by paths"));
    viewByStyleAction = viewMenu->addAction(QStringLiteral("Sort By Style"));
    viewByPathsAction->setCheckable(true);
    viewByStyleAction->setCheckable(true);
    connect(viewByPathsAction, &QAction::triggered, this, [this] { browser->showTreeByPaths(); });
    connect(viewByStyleAction, &QAction::triggered, this, [this] { browser->showTreeByStyle(); });
    viewMenu->addSeparator();
    const std::array<QString, 4> modes{QStringLiteral("Mp3 Little Icons"),
                                       QStringLiteral("Mp3 list Icons"), QStringLiteral("Mp3 List"),
                                       QStringLiteral("Report")};
    for (int i = 0; i < 4; ++i) {
        listModeActions[i] = viewMenu->addAction(modes[i]);
        listModeActions[i]->setCheckable(true);
        connect(listModeActions[i], &QAction::triggered, this,
                [this, i] { browser->setListViewMode(i + 1); });
    }

    // The properties menu holds no items of its own; the layouts hide and show it with the rest.
    propertiesMenu = new QMenu(QStringLiteral("Properties"), this);

    historyMenu = menuBar()->addMenu(QStringLiteral("History"));
    historyTopAction = historyMenu->addAction(QStringLiteral("Up"));
    historyTopAction->setEnabled(false);
    historyMenu->addSeparator();
    for (int i = 0; i < 10; ++i) {
        historyActions[i] = historyMenu->addAction(QStringLiteral("History %1").arg(i + 1));
        historyActions[i]->setVisible(false);
    }
    historyMenu->addSeparator();
    clearHistoryAction = historyMenu->addAction(QStringLiteral("Clear history"));

    favoritesMenu = menuBar()->addMenu(QStringLiteral("Favorites"));
    addFavoriteAction = favoritesMenu->addAction(QStringLiteral("Add to favorites"));
    favoritesMenu->addSeparator();
    firstFavoriteAction = favoritesMenu->addAction(QStringLiteral("Favorite 1"));

    helpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
    aboutAction = helpMenu->addAction(QStringLiteral("&About"));
    connect(aboutAction, &QAction::triggered, this, &MainWindow::aboutClicked);
}

void MainWindow::buildToolbar() {
    toolBar = new QToolBar(client_);
    toolBar->setObjectName(QStringLiteral("toolBar"));
    toolBar->setIconSize(QSize(24, 24));
    toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    QStyle* s = style();
    const std::array<QString, 7> texts{QStringLiteral("Ini"),         QStringLiteral("View Paths"),
                                       QStringLiteral("View Styles"), QStringLiteral("separator"),
                                       QStringLiteral("Scan"),        QStringLiteral("Find"),
                                       QStringLiteral("Refresh")};
    const std::array<QStyle::StandardPixmap, 7> icons{
        QStyle::SP_DirHomeIcon,  QStyle::SP_DirIcon,     QStyle::SP_FileDialogListView,
        QStyle::SP_CustomBase,   QStyle::SP_DriveCDIcon, QStyle::SP_FileDialogContentsView,
        QStyle::SP_BrowserReload};
    for (int i = 0; i < 7; ++i) {
        if (i == 3) {
            toolbarButtons[i] = toolBar->addSeparator();
            toolbarButtons[i]->setText(texts[i]);
            continue;
        }
        toolbarButtons[i] = toolBar->addAction(s->standardIcon(icons[i]), texts[i]);
        toolbarButtons[i]->setToolTip(texts[i]);
    }
    toolbarButtons[1]->setCheckable(true);
    toolbarButtons[2]->setCheckable(true);
    connect(toolbarButtons[1], &QAction::triggered, this, [this] { browser->showTreeByPaths(); });
    connect(toolbarButtons[2], &QAction::triggered, this, [this] { browser->showTreeByStyle(); });
    connect(toolbarButtons[4], &QAction::triggered, this, &MainWindow::showScanWindow);
    connect(toolbarButtons[5], &QAction::triggered, this, &MainWindow::showSearchWindow);
    connect(toolbarButtons[6], &QAction::triggered, this, &MainWindow::rescanSelected);
}

void MainWindow::buildPlayerPanel() {
    playerFrame = new QFrame(client_);
    playerFrame->setObjectName(QStringLiteral("playerFrame"));
    playerFrame->setFrameShape(QFrame::StyledPanel);

    nowPlayingDisplay = new QLabel(playerFrame);
    nowPlayingDisplay->setObjectName(QStringLiteral("nowPlayingDisplay"));
    nowPlayingDisplay->setMinimumWidth(ToPixels(2000));
    PlaceInTwips(nowPlayingDisplay, 60, 30, 4500, 270);
    elapsedDisplay = new QLabel(QStringLiteral("00:00."), playerFrame);
    elapsedDisplay->setObjectName(QStringLiteral("elapsedDisplay"));
    PlaceInTwips(elapsedDisplay, 1600, 330, 900, 270);

    // Buttons 0 to 4: play, pause, previous, stop, next.
    const std::array<PanelPicture, 5> icons{PanelPicture::Play, PanelPicture::Pause,
                                            PanelPicture::Previous, PanelPicture::Stop,
                                            PanelPicture::Next};
    const std::array<QString, 5> tips{QStringLiteral("Play"), QStringLiteral("Pause"),
                                      QStringLiteral("Previous"), QStringLiteral("Stop"),
                                      QStringLiteral("Next")};
    for (int i = 0; i < 5; ++i) {
        auto* button = new IconLabel(playerFrame);
        button->setIcon(PanelIcon(icons[i]), QSize(16, 16));
        panelButtons[i] = button;
        panelButtons[i]->setObjectName(QStringLiteral("panelButton%1").arg(i));
        panelButtons[i]->setToolTip(tips[i]);
        panelButtons[i]->setCursor(Qt::PointingHandCursor);
        PlaceInTwips(panelButtons[i], 60 + i * 300, 330, 270, 270);
    }

    // The knobs slide over thin tracks: position above, volume below.
    auto* positionTrack = new QFrame(playerFrame);
    positionTrack->setFrameShape(QFrame::HLine);
    PlaceInTwips(positionTrack, PositionKnobMin, 360, PositionKnobMax - PositionKnobMin + 120, 60);
    auto* volumeTrack = new QFrame(playerFrame);
    volumeTrack->setFrameShape(QFrame::HLine);
    PlaceInTwips(volumeTrack, VolumeKnobMin, 510, VolumeKnobTrack + 120, 60);
    panelButtons[5] = knob(playerFrame, QStringLiteral("positionKnob"));
    panelButtons[5]->setToolTip(QStringLiteral("Position"));
    PlaceInTwips(panelButtons[5], PositionKnobMin, 330, 120, 120);
    panelButtons[6] = knob(playerFrame, QStringLiteral("volumeKnob"));
    panelButtons[6]->setToolTip(QStringLiteral("Volume"));
    PlaceInTwips(panelButtons[6], VolumeKnobMin, 480, 120, 120);
    auto* speaker = new IconLabel(playerFrame);
    speaker->setIcon(PanelIcon(PanelPicture::Speaker), QSize(12, 12));
    panelButtons[7] = speaker;
    panelButtons[7]->setObjectName(QStringLiteral("speakerIcon"));
    PlaceInTwips(panelButtons[7], 2450, 465, 180, 180);

    showPlayingButton = new QPushButton(QStringLiteral("<>"), playerFrame);
    showPlayingButton->setObjectName(QStringLiteral("showPlayingButton"));
    showPlayingButton->setToolTip(QStringLiteral("Show the playing song"));
    PlaceInTwips(showPlayingButton, 4500, 300, 420, 300);
    compactButton = new QPushButton(QStringLiteral(">>"), playerFrame);
    compactButton->setObjectName(QStringLiteral("compactButton"));
    compactButton->setToolTip(QStringLiteral("Compact layout"));
    PlaceInTwips(compactButton, 4950, 300, 420, 300);
    connect(compactButton, &QPushButton::clicked, this, &MainWindow::compactClicked);
    nowPlayingDisplay->installEventFilter(this);
}

void MainWindow::buildStatusBar() {
    statusBar = new QStatusBar(client_);
    statusBar->setObjectName(QStringLiteral("statusBar"));
    statusBar->setSizeGripEnabled(false);
    for (int i = 0; i < 2; ++i) {
        panels_[i] = new QLabel(statusBar);
        panels_[i]->setObjectName(QStringLiteral("panel%1").arg(i + 1));
        panels_[i]->setTextFormat(Qt::PlainText);
        statusBar->addWidget(panels_[i], i == 0 ? 1 : 2);
    }
}

} // namespace tarl
