#pragma once

#include "scan/ScanTree.h"
#include "scan/SoundFormats.h"

#include <QDialog>
#include <QPoint>
#include <array>
#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTreeView;

namespace tarl {

struct AppState;
class RenameDialog;
class IconLabel;
class ScanWindowMenu;
class ScanWorker;
struct Catalog;
class Settings;
class ScanTreeModel;
struct ScanImportResult;
struct RescanOptions;

// The sound formats the scan window last had checked (every one at first).
SoundFormats SavedSoundFormats(Settings& settings);

// The scan window: walks a drive or folder for playlists or sound files into the scan tree
// `scanTreeView`, and adds what it found to the catalog. Opened modally from the main window; the
// library tree's re-scan (Rescan) walks with its choices as last set.
class ScanWindow : public QDialog {
    Q_OBJECT
public:
    explicit ScanWindow(AppState& state, QWidget* parent = nullptr);
    ~ScanWindow() override;

    // "Sound files" selected, the short height.
    void load();
    // Starts a walk of pathScan, or stops the running one.
    void scanClicked();
    // Imports the scan tree into the catalog (ImportScanTree) and says so.
    void addToCatalogClicked();
    // The import and its message ("Updated Data Base", or how far it got and why it stopped),
    // then hooks.importEnded.
    void importIntoCatalog();
    void cancelClicked();
    // Chooses the folder to scan with the folder browser.
    void drivePictureClicked();
    // "Clear Scan".
    void clearScanClicked();
    // The hover captions: the option or "Clear Scan" under the pointer turns bold; moving over
    // the window turns back every caption that is not selected or underlined.
    void collectOptionHovered(int index);
    void clearScanHovered();
    void windowMouseMoved();
    // The scan tree's right button on a node (selects it, then the scan tree's menu) and double
    // click (plays a playlist or sound file).
    void scanTreeMouseDown(const QPoint& pos);
    void scanTreeDoubleClicked(const QModelIndex& index);

    // The window's height in twips (15 to a pixel).
    int heightTwips() const;
    void setHeightTwips(int twips);
    bool walking() const { return walking_; }
    // A walk or an import is running on the worker (its handler waits for it, the event loop
    // running meanwhile).
    bool busy() const { return walking_ || importing_; }
    // A stop of the running walk or import was asked (STOP, "Stop import", or closing). Any thread.
    bool stopRequested() const;
    // The program is closing: a running walk stops, a running import stops after its current
    // node (its open batch committed) without a message, and no walk or import starts again.
    void stopForClose();
    // The walk's choices as set now, for the re-scan.
    RescanOptions rescanOptions() const;

    ScanTree& tree() { return tree_; }
    ScanTreeModel* model() const { return model_; }

    // What the window needs from the rest of the program; unset parts are skipped.
    struct Hooks {
        // The main window's status panels 1 and 2.
        std::function<void(int panel, const QString& text)> setStatusPanel;
        // The scan tree's context menu at a global position, for the node selected.
        std::function<void(ScanNode& node, const QPoint& globalPos)> popupScanMenu;
        // Plays a playlist or track by path.
        std::function<void(const QString& path)> PlayKey;
        // Runs the CD-name dialog; by default modally. Tests answer it.
        std::function<void(RenameDialog& dialog)> runRename;
        // An import ended (done, stopped or refused): the catalog may hold new rows.
        std::function<void()> importEnded;
    };
    Hooks hooks;

    QLineEdit* pathScan = nullptr;
    IconLabel* drivePicture = nullptr;
    QLabel* discLabel = nullptr;
    std::array<QRadioButton*, 3> collectOptions{};
    // "Mp3", "Wav", "Wma", "Flac", "Ogg", "M4a" (in the order of SoundFormatOrder), "M3u".
    std::array<QCheckBox*, 7> formatChecks{};
    QCheckBox* subfoldersCheck = nullptr;
    QLineEdit* depthEdit = nullptr;
    QPushButton* scanButton = nullptr;
    QPushButton* addToCatalogButton = nullptr;
    QPushButton* cancelButton = nullptr;
    QLabel* clearScanButton = nullptr;
    QProgressBar* progressBar = nullptr;
    QTreeView* scanTreeView = nullptr;
    // The scan tree's right-click menu.
    ScanWindowMenu* scanMenu = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void buildControls();
    void status(int panel, const QString& text);
    // Asks for the CD's name; false when the walk must not run.
    bool nameCd();
    void showImportResult(const ScanImportResult& result);
    // On the worker: a copy of the catalog before the import writes (NAME.bak1, the older ones
    // moved down), its pages on the progress bar; "" when made, else why not, for status panel 1.
    QString backUpBeforeImport(Catalog& catalog);
    void walk();
    // Back to idle after a walk, or at once on a stop request.
    void endWalk();
    void setBold(QWidget* widget, bool bold);

    AppState& state_;
    ScanTree tree_;
    ScanTreeModel* model_ = nullptr;
    QString folder0_; // the folder at depth 0, ending in "/"
    QString goAhead_;
    bool walking_ = false;
    // Meanwhile Cancel turns into "Stop import".
    bool importing_ = false;
    bool closing_ = false;
    // Runs the walk and the import; last, so it stops and waits before the tree goes.
    std::unique_ptr<ScanWorker> worker_;
};

} // namespace tarl
