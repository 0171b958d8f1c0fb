#pragma once

#include "search/SearchHits.h"

#include <QWidget>
#include <array>
#include <functional>

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTimer;

namespace tarl {

struct AppState;
class ResultsView;
class SearchResultsModel;
class SearchRunner;

// The search window "Search MP3 File": finds lists and tracks anywhere in the catalog by a
// substring of one field, lists the hits, and from a hit plays the track, searches again for
// tracks sharing one of its values, or jumps to it in the main window's tree and track list.
// It carries a Mini Player strip with a stop button and a seek knob for the playing track.
//
// Not modal: it stays usable beside the main window. The searches run on a thread of their own
// (SearchRunner), so the window repaints and a new search stops the one under way. The history
// lives only while the window is open: closing hides and discards the window. The rules that need
// no widget are in FindRules; the handlers here show their results.
class SearchWindow : public QWidget {
    Q_OBJECT
public:
    // What the window does on the main window.
    struct Hooks {
        std::function<bool()> mainTimersOn; // the main window's save timer is running
        std::function<void()> stopMainTimers;
        std::function<void()> startMainTimers;
        std::function<void()> resumeLastSong;
        std::function<bool(const QString& key)> selectFolderNode;
        // Selects the track list's rows of `file`, deselects the others, gives the list the focus.
        std::function<void(const QString& file)> selectTracks;
        // The catalog filed a playlist ("Add to playlist"): the main window's tree is built again.
        std::function<void()> playlistFiled;
    };

    SearchWindow(AppState& state, Hooks hooks, QWidget* parent = nullptr);
    ~SearchWindow() override;

    // Runs a search of `find` in the selected field (button, Enter, and the steps below).
    void searchClicked();
    // Applies the history entry selected in `historyBox`: its text and field, no search.
    void historyChosen();
    void backClicked();
    void forwardClicked();
    // Clears all nine field options.
    void disableSearching();
    void selectField(SearchField field);
    SearchField selectedField() const;
    // "Search more of the same": the selected track hit's value of `field`, searched in it.
    void searchSameClicked(SearchField field);
    // Opens the selected hit: a list searches its path, a track plays.
    void hitDoubleClicked();
    // "Play next" (Ctrl+Enter) and "Add to queue" on a track hit.
    void queueHit(bool playNext);
    // The popup on a track hit (right button), or jumpArrow to the pointer's height (others).
    // `pos` is in the list's coordinates.
    void hitsMouseDown(Qt::MouseButton button, const QPoint& pos);
    // Jumps to the selected hit in the main window, then closes.
    void jumpClicked();
    // "Add to playlist": the selected track hit to the recent playlist `recent`, or to a new one
    // (""); what came of it in the status bar, a failure in a box (AddToPlaylist).
    void addHitToPlaylist(const QString& recent);
    void ignoreAccentsClicked();

    // The Mini Player strip.
    void stopClicked();
    void positionPressed();
    // `x` is the pointer's place inside the knob, in twips.
    void positionDragged(double x);
    void positionReleased();
    void miniPlayerTick();
    double positionKnobLeft() const { return positionKnobLeft_; }
    bool positionDragging() const { return dragging_; }

    void windowResized();

    // The first panel of the status bar.
    QString statusText() const;
    SearchResultsModel& model() { return *model_; }
    SearchRunner& runner() { return *runner_; }
    // Where the popup last opened, in the window's coordinates (pixels).
    QPoint popupPlace() const { return popupPlace_; }

    // Controls, under the names the rest of the system uses.
    QLineEdit* find = nullptr;
    std::array<QRadioButton*, 9> fieldButtons{}; // in SearchField order
    QCheckBox* ignoreAccentsCheck = nullptr;
    QComboBox* historyBox = nullptr;
    QPushButton* Back = nullptr;
    QPushButton* next = nullptr;
    QPushButton* searchButton = nullptr;
    ResultsView* results = nullptr;
    QProgressBar* indexProgress = nullptr;
    QStatusBar* statusBar = nullptr;
    QLabel* jumpArrow = nullptr;
    QMenu* hitMenu = nullptr;
    QMenu* searchSameMenu = nullptr;
    std::array<QAction*, 9> searchSameItems{}; // in SearchField order
    QMenu* addToPlaylistMenu = nullptr;
    QFrame* miniPlayer = nullptr;
    QLabel* miniCaption = nullptr;
    QLabel* stopButton = nullptr;
    QLabel* positionKnob = nullptr;
    QTimer* miniPlayerTimer = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    // Enter that no control took searches: in the text box or on the window itself (the list
    // keeps its own Enter, which opens the hit).
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildSearchControls();
    void buildResults();
    void buildMiniPlayer();
    void buildPlaylistMenu();
    void showBold();
    void recordHistory(const QString& entry);
    void searchFinished(Result<SearchOutcome> outcome);
    void showIndexProgress(int done, int total);
    // The selected row when it is a hit (a list or a track).
    const SearchRow* selectedHit() const;
    void moveMiniKnob(double left);

    AppState& state_;
    Hooks hooks_;
    SearchResultsModel* model_ = nullptr;
    SearchRunner* runner_ = nullptr;
    QButtonGroup* fields_ = nullptr;
    QLabel* statusPanel_ = nullptr;
    QPoint popupPlace_;
    bool hasHits_ = false; // "No results found" is a row, not a hit
    double positionKnobLeft_ = 0;
    bool dragging_ = false;
};

} // namespace tarl
