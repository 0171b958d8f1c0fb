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
    fileMenu_ = menuBar()->addMenu(QStringLiteral("&File"));
    scanAction_ = fileMenu_->addAction(QStringLiteral("Scan &Drive"));
    optionsAction_ = fileMenu_->addAction(QStringLiteral("&Options"));
    fileMenu_->addSeparator();
    exitAction_ = fileMenu_->addAction(QStringLiteral("E&xit"));
    exitAction_->setShortcut(QKeySequence::Quit);
    connect(scanAction_, &QAction::triggered, this, &MainWindow::showScanWindow);
    connect(optionsAction_, &QAction::triggered, this, &MainWindow::optionsClicked);
    connect(exitAction_, &QAction::triggered, this, &QWidget::close);

    viewMenu_ = menuBar()->addMenu(QStringLiteral("&View"));
    viewByPathsAction_ = viewMenu_->addAction(QStringLiteral("Sort by paths"));
    viewByStyleAction_ = viewMenu_->addAction(QStringLiteral("Sort By Style"));
    viewByPathsAction_->setCheckable(true);
    viewByStyleAction_->setCheckable(true);
    connect(viewByPathsAction_, &QAction::triggered, this, [this] { browser_->showTreeByPaths(); });
    connect(viewByStyleAction_, &QAction::triggered, this, [this] { browser_->showTreeByStyle(); });
    viewMenu_->addSeparator();
    const std::array<QString, 4> modes{QStringLiteral("Mp3 Little Icons"),
                                       QStringLiteral("Mp3 list Icons"), QStringLiteral("Mp3 List"),
                                       QStringLiteral("Report")};
    for (int i = 0; i < 4; ++i) {
        listModeActions_[i] = viewMenu_->addAction(modes[i]);
        listModeActions_[i]->setCheckable(true);
        connect(listModeActions_[i], &QAction::triggered, this,
                [this, i] { browser_->setListViewMode(i + 1); });
    }

    // The properties menu holds no items of its own; the layouts hide and show it with the rest.
    propertiesMenu_ = new QMenu(QStringLiteral("Properties"), this);

    historyMenu_ = menuBar()->addMenu(QStringLiteral("History"));
    historyTopAction_ = historyMenu_->addAction(QStringLiteral("Up"));
    historyTopAction_->setEnabled(false);
    historyMenu_->addSeparator();
    for (int i = 0; i < 10; ++i) {
        historyActions_[i] = historyMenu_->addAction(QStringLiteral("History %1").arg(i + 1));
        historyActions_[i]->setVisible(false);
    }
    historyMenu_->addSeparator();
    clearHistoryAction_ = historyMenu_->addAction(QStringLiteral("Clear history"));

    favoritesMenu_ = menuBar()->addMenu(QStringLiteral("Favorites"));
    addFavoriteAction_ = favoritesMenu_->addAction(QStringLiteral("Add to favorites"));
    favoritesMenu_->addSeparator();
    firstFavoriteAction_ = favoritesMenu_->addAction(QStringLiteral("Favorite 1"));

    helpMenu_ = menuBar()->addMenu(QStringLiteral("&Help"));
    aboutAction_ = helpMenu_->addAction(QStringLiteral("&About"));
    connect(aboutAction_, &QAction::triggered, this, &MainWindow::aboutClicked);
}

void MainWindow::buildToolbar() {
    toolBar_ = new QToolBar(client_);
    toolBar_->setObjectName(QStringLiteral("toolBar"));
    toolBar_->setIconSize(QSize(24, 24));
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
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
            toolbarButtons_[i] = toolBar_->addSeparator();
            toolbarButtons_[i]->setText(texts[i]);
            continue;
        }
        toolbarButtons_[i] = toolBar_->addAction(s->standardIcon(icons[i]), texts[i]);
        toolbarButtons_[i]->setToolTip(texts[i]);
    }
    toolbarButtons_[1]->setCheckable(true);
    toolbarButtons_[2]->setCheckable(true);
    connect(toolbarButtons_[1], &QAction::triggered, this, [this] { browser_->showTreeByPaths(); });
    connect(toolbarButtons_[2], &QAction::triggered, this, [this] { browser_->showTreeByStyle(); });
    connect(toolbarButtons_[4], &QAction::triggered, this, &MainWindow::showScanWindow);
    connect(toolbarButtons_[5], &QAction::triggered, this, &MainWindow::showSearchWindow);
    connect(toolbarButtons_[6], &QAction::triggered, this, &MainWindow::rescanSelected);
}

void MainWindow::buildPlayerPanel() {
    playerFrame_ = new QFrame(client_);
    playerFrame_->setObjectName(QStringLiteral("playerFrame"));
    playerFrame_->setFrameShape(QFrame::StyledPanel);

    nowPlayingDisplay_ = new QLabel(playerFrame_);
    nowPlayingDisplay_->setObjectName(QStringLiteral("nowPlayingDisplay"));
    nowPlayingDisplay_->setMinimumWidth(ToPixels(2000));
    PlaceInTwips(nowPlayingDisplay_, 60, 30, 4500, 270);
    elapsedDisplay_ = new QLabel(QStringLiteral("00:00."), playerFrame_);
    elapsedDisplay_->setObjectName(QStringLiteral("elapsedDisplay"));
    PlaceInTwips(elapsedDisplay_, 1600, 330, 900, 270);

    // Buttons 0 to 4: play, pause, previous, stop, next.
    const std::array<PanelPicture, 5> icons{PanelPicture::Play, PanelPicture::Pause,
                                            PanelPicture::Previous, PanelPicture::Stop,
                                            PanelPicture::Next};
    const std::array<QString, 5> tips{QStringLiteral("Play"), QStringLiteral("Pause"),
                                      QStringLiteral("Previous"), QStringLiteral("Stop"),
                                      QStringLiteral("Next")};
    for (int i = 0; i < 5; ++i) {
        auto* button = new IconLabel(playerFrame_);
        button->setIcon(PanelIcon(icons[i]), QSize(16, 16));
        panelButtons_[i] = button;
        panelButtons_[i]->setObjectName(QStringLiteral("panelButton%1").arg(i));
        panelButtons_[i]->setToolTip(tips[i]);
        panelButtons_[i]->setCursor(Qt::PointingHandCursor);
        PlaceInTwips(panelButtons_[i], 60 + i * 300, 330, 270, 270);
    }

    // The knobs slide over thin tracks: position above, volume below.
    auto* positionTrack = new QFrame(playerFrame_);
    positionTrack->setFrameShape(QFrame::HLine);
    PlaceInTwips(positionTrack, PositionKnobMin, 360, PositionKnobMax - PositionKnobMin + 120, 60);
    auto* volumeTrack = new QFrame(playerFrame_);
    volumeTrack->setFrameShape(QFrame::HLine);
    PlaceInTwips(volumeTrack, VolumeKnobMin, 510, VolumeKnobTrack + 120, 60);
    panelButtons_[5] = knob(playerFrame_, QStringLiteral("positionKnob"));
    panelButtons_[5]->setToolTip(QStringLiteral("Position"));
    PlaceInTwips(panelButtons_[5], PositionKnobMin, 330, 120, 120);
    panelButtons_[6] = knob(playerFrame_, QStringLiteral("volumeKnob"));
    panelButtons_[6]->setToolTip(QStringLiteral("Volume"));
    PlaceInTwips(panelButtons_[6], VolumeKnobMin, 480, 120, 120);
    auto* speaker = new IconLabel(playerFrame_);
    speaker->setIcon(PanelIcon(PanelPicture::Speaker), QSize(12, 12));
    panelButtons_[7] = speaker;
    panelButtons_[7]->setObjectName(QStringLiteral("panelButton7"));
    PlaceInTwips(panelButtons_[7], 2450, 465, 180, 180);

    showPlayingButton_ = new QPushButton(QStringLiteral("<>"), playerFrame_);
    showPlayingButton_->setObjectName(QStringLiteral("showPlayingButton"));
    showPlayingButton_->setToolTip(QStringLiteral("Show the playing song"));
    PlaceInTwips(showPlayingButton_, 4500, 300, 420, 300);
    compactButton_ = new QPushButton(QStringLiteral(">>"), playerFrame_);
    compactButton_->setObjectName(QStringLiteral("compactButton"));
    compactButton_->setToolTip(QStringLiteral("Compact layout"));
    PlaceInTwips(compactButton_, 4950, 300, 420, 300);
    connect(compactButton_, &QPushButton::clicked, this, &MainWindow::compactClicked);
    nowPlayingDisplay_->installEventFilter(this);
}

void MainWindow::buildStatusBar() {
    statusBar_ = new QStatusBar(client_);
    statusBar_->setObjectName(QStringLiteral("statusBar"));
    statusBar_->setSizeGripEnabled(false);
    for (int i = 0; i < 2; ++i) {
        panels_[i] = new QLabel(statusBar_);
        panels_[i]->setObjectName(QStringLiteral("panel%1").arg(i + 1));
        panels_[i]->setTextFormat(Qt::PlainText);
        statusBar_->addWidget(panels_[i], i == 0 ? 1 : 2);
    }
}

} // namespace tarl
