#pragma once

#include "catalog/CatalogChanges.h"
#include "state/WindowGeometry.h"

#include <QMainWindow>
#include <QPoint>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QStatusBar;
class QTimer;
class QToolBar;
class QTreeView;
class QPushButton;
class QToolButton;

namespace tarl {

struct AppState;
class ClosingDown;
class FavoritesMenu;
struct ReplaySteps;
class ScanWorker;
class SearchWindow;
class LibraryBrowser;
class NowPlaying;
class DesktopControls;
class DiscQueue;
class MprisService;
class PlayQueue;
class TrackCache;
class PlayerCommands;
class QueueDock;
class PlayerControl;
class PlayerPanel;
class ScanWindow;
class StyleDrag;
class TreeMenus;
class StartUp;
class TrackListMenu;
class TrackListView;
class TrackRowsDrop;
class TrayIcon;

// The main window: start-up and shutdown, its menus, toolbar, status bar, the library tree
// `treeView`, the track list `trackList`, the splitter `splitterBar` and the player panel
// `playerFrame`.
class MainWindow : public QMainWindow, public WindowGeometry {
    Q_OBJECT
public:
    explicit MainWindow(AppState& state, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Brings the whole system up (StartUp); also run again after Setup changed the catalog.
    void startUp();
    // Saves everything, closes the catalog and the player, and ends the program. Runs once.
    void shutDown();
    // True once shutDown has run: the program is over.
    bool unloaded() const;

    // F5: the library tree built again from the catalog, as another machine left it. Until then,
    // a change another machine made to a shared catalog is said in status panel 1.
    void refreshFromCatalog();
    void catalogChangedElsewhere();

    void resumeLastSong();
    // Icons only on the toolbar.
    void loadMenuIcons();
    void resizeMain();
    // One tick of the 5-second settings timer.
    void saveTimerTick();
    void setStatusPanel(int panel, const QString& text);
    // The scan window, made on first use.
    ScanWindow& scanWindow();
    QString statusPanel(int panel) const;

    // File > Scan Drive and toolbar button 5: the scan window, modally.
    void showScanWindow();
    // Toolbar button 7: the selected folder walked and imported again (Rescan) with the scan
    // window's choices as last set, a box saying how it went, then the tree rebuilt and the
    // folder selected again.
    void rescanSelected();
    // The same re-scan of `folder` (a folder node's key).
    void rescanFolder(const QString& folder);
    // The re-scan's walk or import is running; a close first stops it (stopRescanForClose): the
    // walk at its next entry, the import after its node, and nothing is shown after it.
    bool rescanRunning() const { return rescanning_; }
    void stopRescanForClose();
    // A walk or an import runs (the scan window's or the re-scan's); asks it to stop for the
    // program's close; whether `widget` is the scan window.
    bool workRunning() const;
    void stopWorkForClose();
    bool isScanWindow(const QWidget* widget) const;
    // Toolbar button 6: the search window, not modal; made on first use and shown beside this
    // window, raised when already open.
    void showSearchWindow();

    // The compact layout: the player panel alone in a borderless window (visualMode 1), or with
    // the track list unfolded below it (2); the full layout is visualMode 0.
    // ">>": full to compact and back, each layout's place saved and the other's read.
    void compactClicked();
    // Applies visualMode: hides or shows the menus, the toolbar, the status bar and the border.
    void applyVisualMode();
    // Folds (1) or unfolds (2) the track list under the panel; not while minimised or maximised.
    void foldTrackList(int mode);
    // A left click on the display folds or unfolds (a drag on it moves the borderless window
    // instead); a double click in the full layout puts the splitter at a quarter of the window.
    void displayMouseDown(Qt::MouseButton button);
    void displayDoubleClicked();
    // Start-up with a stored compact mode: the compact place read, the mode applied.
    void enterStoredLayout();
    // Whether the compact layout is what the window shows now.
    bool compactShown() const { return compactShown_; }

    // A left click on the tray icon: a minimised or hidden window comes back, shown and given
    // the focus; a shown one is minimised, and hidden while the tray icon is there to find it.
    void trayIconClicked();

    // The tray icon's steps at start-up and shutdown and its tip, as set by the window; tests
    // replace them to stand for a desktop with or without a system tray.
    struct Hooks {
        std::function<void()> showTrayIcon;
        std::function<void()> removeTrayIcon;
        std::function<bool()> trayIconVisible;
        std::function<void(const QString&)> setTrayTip; // the tray icon's tip
    };
    Hooks& hooks() { return hooks_; }

    // WindowGeometry, in twips.
    int windowStateValue() const override;
    void setWindowStateValue(int value) override;
    double left() const override;
    double top() const override;
    double width() const override;
    double height() const override;
    void setLeft(double twips) override;
    void setTop(double twips) override;
    void setWidth(double twips) override;
    void setHeight(double twips) override;
    double splitterLeft() const override;
    void setSplitterLeft(double twips) override;
    void setResizeSuspended(bool suspended) override;
    void runResize() override;

    void optionsClicked();
    void aboutClicked();

    // The player: starting it, the panel, the now-playing tick (every 300 ms).
    PlayerControl& playerControl() { return *player_; }
    PlayerPanel& playerPanel() { return *panel_; }
    NowPlaying& nowPlaying() { return *nowPlaying_; }
    // The everyday verbs (keys, tray, media keys) and the queue.
    PlayerCommands& playerCommands() { return *commands_; }
    PlayQueue& playQueue() { return *queue_; }
    void playerTimerTick();
    // "<>": shows the playing song's folder and marks the song.
    void showPlayingClicked();
    // The History menu from the history file; entry `index` (1 to 10) played again; cleared.
    void buildHistoryMenu();
    void historyChosen(int index);
    void clearHistoryClicked();
    // "Add to favorites" (FavoritesMenu::addClicked).
    void addFavoriteClicked();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildToolbar();
    void buildPlayerPanel();
    void buildStatusBar();
    void buildBrowser();
    void buildFileOperations();
    void buildTreeMenus();
    // Commands whose part is not there are shown disabled.
    void refreshActions();
    void windowResized();
    void reportSettingsProblems();
    void divisorH_Mouse(QEvent* event);
    void displayMouse(QEvent* event);
    void setFullChromeVisible(bool visible);
    void setBorderless(bool borderless);
    // A window placed beyond every screen (a settings file from a larger or unplugged monitor)
    // is brought back onto the nearest one.
    void keepOnScreen();
    void buildTrayIcon();
    // Gives every part its member's name as object name (tests find them so).
    void nameParts();
    void buildPlayer();
    // The keys, the play order's toggles, the queue view and the tray's menu.
    void buildPlaying();
    void buildPlayingKeys();
    void showPlayOrder();
    // The queue's discs and their song cache, made on first use.
    DiscQueue& discQueue();
    // Puts the desktop's media controls on the session bus, or says once that they are off.
    void startMediaKeys();
    // How a history entry or a favourite is played again: through the tree and the track list.
    ReplaySteps replaySteps();
    // Press, move and release on the panel's buttons and knobs.
    bool panelButtonMouse(int index, QEvent* event);

    double twipsOr(double cached, int pixels) const;

    AppState& state_;
    Hooks hooks_;
    class PlayerViews;
    std::unique_ptr<PlayerViews> playerViews_;
    // The window's parts, found by tests through their object names (the member's name
    // without its trailing "_").
    QTreeView* treeView_ = nullptr;
    TrackListView* trackList_ = nullptr;
    // The window side of the tree and the list.
    LibraryBrowser* browser_ = nullptr;
    // The scan window, made on first use and hidden when closed.
    ScanWindow* openedScanWindow_ = nullptr;
    // The track list's right-click menu, and the tree's side of dropping the list's rows on it.
    TrackListMenu* trackListMenu_ = nullptr;
    TrackRowsDrop* trackRowsDrop_ = nullptr;
    // The library tree's right-click menus and its drag of a list onto a style.
    TreeMenus* treeMenus_ = nullptr;
    StyleDrag* styleDrag_ = nullptr;
    // The search window while it is open; closing it discards it.
    QPointer<SearchWindow> searchWindow_;
    QFrame* splitterBar_ = nullptr;
    QFrame* playerFrame_ = nullptr;
    QLabel* nowPlayingDisplay_ = nullptr;
    QLabel* elapsedDisplay_ = nullptr;
    std::array<QLabel*, 8> panelButtons_{};
    QPushButton* showPlayingButton_ = nullptr;
    QPushButton* compactButton_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QTimer* saveTimer_ = nullptr;
    std::array<QAction*, 7> toolbarButtons_{};

    QMenu* fileMenu_ = nullptr;
    QMenu* viewMenu_ = nullptr;
    QMenu* propertiesMenu_ = nullptr;
    QMenu* historyMenu_ = nullptr;
    QMenu* favoritesMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QAction* scanAction_ = nullptr;
    QAction* optionsAction_ = nullptr;
    QAction* exitAction_ = nullptr;
    QAction* viewByPathsAction_ = nullptr;
    QAction* viewByStyleAction_ = nullptr;
    std::array<QAction*, 4> listModeActions_{}; // little icons, list icons, list, report
    QAction* historyTopAction_ = nullptr;
    std::array<QAction*, 10> historyActions_{};
    QAction* clearHistoryAction_ = nullptr;
    QAction* addFavoriteAction_ = nullptr;
    QAction* firstFavoriteAction_ = nullptr;
    // The favourites in the Favorites menu, "Organise favorites…".
    FavoritesMenu* favorites_ = nullptr;
    QAction* aboutAction_ = nullptr;
    TrayIcon* trayIcon_ = nullptr;
    QTimer* playerTimer_ = nullptr;
    class StartUpViews;
    std::unique_ptr<StartUpViews> startUpViews_;
    std::unique_ptr<StartUp> startUp_;
    std::unique_ptr<PlayerControl> player_;
    std::unique_ptr<PlayerPanel> panel_;
    std::unique_ptr<NowPlaying> nowPlaying_;
    std::unique_ptr<PlayQueue> queue_;
    std::unique_ptr<PlayerCommands> commands_;
    std::unique_ptr<TrackCache> trackCache_;
    std::unique_ptr<DiscQueue> discQueue_;
    // The desktop's media keys and player controls (MPRIS).
    std::unique_ptr<DesktopControls> desktopControls_;
    MprisService* mpris_ = nullptr;
    QToolButton* shuffleButton_ = nullptr;
    QToolButton* repeatButton_ = nullptr;
    QueueDock* queueDock_ = nullptr;
    QAction* queueAction_ = nullptr;
    QAction* keyboardAction_ = nullptr;
    struct {
        double left = 0, top = 0, width = 0, height = 0;
    } twips_;
    QWidget* client_ = nullptr;
    std::array<QLabel*, 2> panels_{};
    double splitterLeft_ = 5000;
    bool resizeSuspended_ = false;
    // Made when the close box is pressed while a walk or import runs.
    ClosingDown* closingDown_ = nullptr;
    bool rescanning_ = false;
    bool rescanClosing_ = false;
    // The re-scan's worker while it runs.
    ScanWorker* rescanWorker_ = nullptr;
    bool splitterDragging_ = false;
    int splitterLastX_ = 0;
    bool compactShown_ = false;
    CatalogChangeWatch catalogWatch_;
    bool changedElsewhere_ = false;
    // A left press on the display in the compact layout, until it is released.
    struct DisplayPress {
        QPoint from, windowAt;
        bool dragging = false;
    };
    std::optional<DisplayPress> displayPress_;
};

} // namespace tarl
