#pragma once

#include <QDateTime>
#include <QDockWidget>
#include <QtGlobal>

class QListWidget;
class QPushButton;

namespace tarl {

class PlayQueue;

// The "Queue" view: the player's list as it will play, the song playing in bold and what has
// played greyed; the selected entry removed (Delete) or moved (Alt+Up, Alt+Down, or dragged).
// It only shows and forwards: every edit is the queue's (PlayQueue), and a refusal comes back
// as a sentence (failed). It reads the list again only when the file or the entry playing
// changed, so following the player every tick costs a stat.
class QueueDock : public QDockWidget {
    Q_OBJECT
public:
    QueueDock(PlayQueue& queue, QWidget* parent = nullptr);

    // Shows the queue again when it changed; `playing` is the entry playing, -1 when none.
    void follow(qint32 playing);
    // Reads it again whatever changed.
    void reload();

signals:
    void failed(const QString& sentence);

private:
    void show(const QStringList& tracks);
    void removeSelected();
    void moveSelected(int by);
    void moved(int from, int to);
    int selectedRow() const;

    PlayQueue& queue_;
    QListWidget* list_ = nullptr;
    QPushButton* removeButton_ = nullptr;
    QPushButton* upButton_ = nullptr;
    QPushButton* downButton_ = nullptr;
    QDateTime shownTime_;
    qint64 shownSize_ = -1;
    qint32 shownPlaying_ = -2;
    bool filling_ = false;
};

} // namespace tarl
