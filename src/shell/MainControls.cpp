#include "shell/Main.h"

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

void Main::buildMenus() {
    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuScanDrive = mnuFile->addAction(QStringLiteral("Scan &Drive"));
    mnuOptions = mnuFile->addAction(QStringLiteral("&Options"));
    mnuFile->addSeparator();
    mnuExit = mnuFile->addAction(QStringLiteral("E&xit"));
    mnuExit->setShortcut(QKeySequence::Quit);
    connect(mnuScanDrive, &QAction::triggered, this, &Main::showScanWindow);
    connect(mnuOptions, &QAction::triggered, this, &Main::mnuOptions_Click);
    connect(mnuExit, &QAction::triggered, this, &QWidget::close);

    mnuview = menuBar()->addMenu(QStringLiteral("&View"));
    mnuviewCDview = mnuview->addAction(QStringLiteral("Sort by paths"));
    mnuviewStyleView = mnuview->addAction(QStringLiteral("Sort By Style"));
    mnuviewCDview->setCheckable(true);
    mnuviewStyleView->setCheckable(true);
    connect(mnuviewCDview, &QAction::triggered, this, [this] { browser->showTreeByPaths(); });
    connect(mnuviewStyleView, &QAction::triggered, this, [this] { browser->showTreeByStyle(); });
    mnuview->addSeparator();
    const std::array<QString, 4> modes{QStringLiteral("Mp3 Little Icons"),
                                       QStringLiteral("Mp3 list Icons"), QStringLiteral("Mp3 List"),
                                       QStringLiteral("Report")};
    for (int i = 0; i < 4; ++i) {
        mnuviewMp3[i] = mnuview->addAction(modes[i]);
        mnuviewMp3[i]->setCheckable(true);
        connect(mnuviewMp3[i], &QAction::triggered, this,
                [this, i] { browser->setListViewMode(i + 1); });
    }

    // The properties menu holds no items of its own; the layouts hide and show it with the rest.
    mnuprop = new QMenu(QStringLiteral("Properties"), this);

    mnuhis0 = menuBar()->addMenu(QStringLiteral("History"));
    mnuhisUp = mnuhis0->addAction(QStringLiteral("Up"));
    mnuhisUp->setEnabled(false);
    mnuhis0->addSeparator();
    for (int i = 0; i < 10; ++i) {
        mnuhis[i] = mnuhis0->addAction(QStringLiteral("History %1").arg(i + 1));
        mnuhis[i]->setVisible(false);
    }
    mnuhis0->addSeparator();
    mnuhisclear = mnuhis0->addAction(QStringLiteral("Clear history"));

    mnufav = menuBar()->addMenu(QStringLiteral("Favorites"));
    mnufavAdd = mnufav->addAction(QStringLiteral("Add to favorites"));
    mnufav->addSeparator();
    mnufav1 = mnufav->addAction(QStringLiteral("Favorite 1"));

    mnuhelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuAbout = mnuhelp->addAction(QStringLiteral("&About"));
    connect(mnuAbout, &QAction::triggered, this, &Main::mnuAbout_Click);
}

void Main::buildToolbar() {
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
    connect(toolbarButtons[4], &QAction::triggered, this, &Main::showScanWindow);
    connect(toolbarButtons[5], &QAction::triggered, this, &Main::showSearchWindow);
    connect(toolbarButtons[6], &QAction::triggered, this, &Main::rescanSelected);
}

void Main::buildPlayerPanel() {
    FPlayer = new QFrame(client_);
    FPlayer->setObjectName(QStringLiteral("FPlayer"));
    FPlayer->setFrameShape(QFrame::StyledPanel);

    nowPlayingDisplay = new QLabel(FPlayer);
    nowPlayingDisplay->setObjectName(QStringLiteral("nowPlayingDisplay"));
    nowPlayingDisplay->setMinimumWidth(ToPixels(2000));
    PlaceInTwips(nowPlayingDisplay, 60, 30, 4500, 270);
    elapsedDisplay = new QLabel(QStringLiteral("00:00."), FPlayer);
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
        auto* button = new IconLabel(FPlayer);
        button->setIcon(PanelIcon(icons[i]), QSize(16, 16));
        panelButtons[i] = button;
        panelButtons[i]->setObjectName(QStringLiteral("panelButton%1").arg(i));
        panelButtons[i]->setToolTip(tips[i]);
        panelButtons[i]->setCursor(Qt::PointingHandCursor);
        PlaceInTwips(panelButtons[i], 60 + i * 300, 330, 270, 270);
    }

    // The knobs slide over thin tracks: position above, volume below.
    auto* positionTrack = new QFrame(FPlayer);
    positionTrack->setFrameShape(QFrame::HLine);
    PlaceInTwips(positionTrack, PositionKnobMin, 360, PositionKnobMax - PositionKnobMin + 120, 60);
    auto* volumeTrack = new QFrame(FPlayer);
    volumeTrack->setFrameShape(QFrame::HLine);
    PlaceInTwips(volumeTrack, VolumeKnobMin, 510, VolumeKnobTrack + 120, 60);
    panelButtons[5] = knob(FPlayer, QStringLiteral("positionKnob"));
    panelButtons[5]->setToolTip(QStringLiteral("Position"));
    PlaceInTwips(panelButtons[5], PositionKnobMin, 330, 120, 120);
    panelButtons[6] = knob(FPlayer, QStringLiteral("volumeKnob"));
    panelButtons[6]->setToolTip(QStringLiteral("Volume"));
    PlaceInTwips(panelButtons[6], VolumeKnobMin, 480, 120, 120);
    auto* speaker = new IconLabel(FPlayer);
    speaker->setIcon(PanelIcon(PanelPicture::Speaker), QSize(12, 12));
    panelButtons[7] = speaker;
    panelButtons[7]->setObjectName(QStringLiteral("speakerIcon"));
    PlaceInTwips(panelButtons[7], 2450, 465, 180, 180);

    showPlayingButton = new QPushButton(QStringLiteral("<>"), FPlayer);
    showPlayingButton->setObjectName(QStringLiteral("showPlayingButton"));
    showPlayingButton->setToolTip(QStringLiteral("Show the playing song"));
    PlaceInTwips(showPlayingButton, 4500, 300, 420, 300);
    bCompact = new QPushButton(QStringLiteral(">>"), FPlayer);
    bCompact->setObjectName(QStringLiteral("bCompact"));
    bCompact->setToolTip(QStringLiteral("Compact layout"));
    PlaceInTwips(bCompact, 4950, 300, 420, 300);
    connect(bCompact, &QPushButton::clicked, this, &Main::bCompact_Click);
    nowPlayingDisplay->installEventFilter(this);
}

void Main::buildStatusBar() {
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
