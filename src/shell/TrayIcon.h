#pragma once

#include <QObject>
#include <QString>

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace tarl {

// The tray icon: the program's picture with a tip that follows the playing song, and a left
// click reported to the window (which hides or brings itself back). It is shown only where the
// desktop really has a system tray; elsewhere the window minimises as any other, so it can never
// be lost. Removed at shutdown. Its menu (a right click) plays, pauses and skips, names the song
// playing (not a command), shows or hides the window and quits as the close box does.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    explicit TrayIcon(QObject* parent = nullptr);

    // Adds the icon with the first tip, "TarlV3.0", where a tray exists.
    void showTrayIcon();
    // The tip: `text` cut to what the tray keeps (TrayTip).
    void setTrayTip(const QString& text);
    void remove();
    bool visible() const;
    QString tip() const;
    // The menu's line naming the song playing; "" hides it.
    void setSong(const QString& song);
    QMenu* menu() const { return menu_; }

signals:
    void leftClicked();
    void playPauseChosen();
    void nextChosen();
    void previousChosen();
    void showHideChosen();
    void quitChosen();

private:
    QSystemTrayIcon* icon_ = nullptr;
    QMenu* menu_ = nullptr;
    QAction* song_ = nullptr;
};

// The tray keeps 64 characters with the closing NUL: longer text is cut to 63.
QString TrayTip(const QString& text);

} // namespace tarl
