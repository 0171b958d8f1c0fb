#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QMenu;

namespace tarl {

struct AppState;
class LibraryBrowser;
class TrackListPlaylists;
class TrackListView;
struct TrackRow;

// The track list's right-click menu and its commands: "Play" (as Enter in the list),
// "Delete From DB" (the selected tracks leave the catalog), "Delete of HD" (their files leave
// the disc, then the tracks of those that went leave the catalog; the question names the files,
// and one outside the list's folder goes only when it was named) and "Properties" (the current
// track's information box), then "Add to playlist" (TrackListPlaylists). The browser opens the
// menu where the list's right button asks.
class TrackListMenu : public QObject {
    Q_OBJECT
public:
    TrackListMenu(AppState& state, LibraryBrowser& browser, TrackListView* list,
                  std::function<void(int, const QString&)> setStatus, QObject* parent = nullptr);
    ~TrackListMenu() override;

    QMenu* menu = nullptr;
    QAction* playAction = nullptr;
    QAction* deleteFromCatalogAction = nullptr;
    QAction* deleteFileAction = nullptr;
    QAction* propertiesAction = nullptr;
    QAction* playNextAction = nullptr;
    QAction* addToQueueAction = nullptr;
    TrackListPlaylists* playlists = nullptr;

    void playClicked();
    void deleteFromCatalogClicked();
    void deleteFileClicked();
    void propertiesClicked();

    // Deletes the selected rows' tracks from the catalog and lists the node's tracks again; a
    // track the catalog refused is reported in a box.
    void DeleteSelectedFromCatalog();

    // The information box's text: ten labelled lines, each ended by CR LF.
    static QString TrackInformationText(const TrackRow& row);

private:
    AppState& state_;
    LibraryBrowser& browser_;
    TrackListView* list_;
    std::function<void(int, const QString&)> setStatus_;
};

} // namespace tarl
