#pragma once

#include <QObject>
#include <QPoint>
#include <QString>
#include <functional>

class QMenu;

namespace tarl {

struct AppState;
class ScanWindow;
class ScanNode;

// The scan tree's "Scan Menu": plays, shows or edits the node's file through the desktop, or
// takes the node out of the scan tree (the disc and the catalog stay as they are). The commands
// act on the node the menu was opened for, found again by its key when chosen.
class ScanWindowMenu : public QObject {
    Q_OBJECT
public:
    ScanWindowMenu(AppState& state, ScanWindow& window);

    // Opens the menu for `node` at `globalPos` (the scan window adds its offset).
    void popup(ScanNode& node, const QPoint& globalPos);

    void playNodeClicked();
    void deleteNodeClicked();
    void openNodeFolderClicked();
    void editNodePlaylistClicked();

    QMenu* scanNodeMenu = nullptr;
    QMenu* scanNodeFilesMenu = nullptr;
    // Shows a menu; by default as a popup. Tests record it.
    std::function<void(QMenu* menu, const QPoint& globalPos)> show;
    // The key of the node the menu acts on.
    QString nodeKey;

private:
    ScanNode* node() const;
    void status(const QString& text);

    AppState& state_;
    ScanWindow& window_;
};

} // namespace tarl
