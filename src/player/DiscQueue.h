#pragma once

#include "player/PlayQueue.h"
#include "text/Result.h"

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <map>

class QThread;

namespace tarl {

struct AppState;
class TrackCache;

// Songs of discs in the queue. A user may queue songs of several discs (CDs) that are not in
// the drive; Tarl orders nothing behind their back, the queue keeps the order the user gave:
// - before the first song of a disc that is not in the drive comes to play (it is the next
//   entry, or the entry playing, or the queue starts with it), that disc is asked for once,
//   with the disc prompt;
// - while a disc is in, its queued songs are copied into the song cache (TrackCache) on a
//   worker thread, and each copy takes its song's place in the queue (the song playing excepted:
//   it plays on from the disc), so the disc can come out and the queue plays on;
// - a disc the user does not put in leaves its songs in the queue, where the player passes
//   over them; the status bar says so.
// The songs waiting for their disc are kept beside the temporary playlist (TEMPORARY.discs: the
// disc's name, a tab, the song's path, one a line), so after a restart they are still asked
// for. A close stops a copy half-way and waits for it (TrackCache removes what was begun).
class DiscQueue : public QObject {
    Q_OBJECT
public:
    DiscQueue(AppState& state, PlayQueue& queue, TrackCache& cache, QObject* parent = nullptr);
    ~DiscQueue() override;

    // Queues tracks named as PlayKey takes them ("<disc>:>path" on a disc, a catalog path
    // otherwise), after the song playing or at the end. A disc is asked for now only when the
    // queue starts playing with its song.
    Result<PlayQueue::Queued> queueKeys(const QStringList& keys, bool next);
    // Every tick: asks for the disc whose song comes next, starts copying a disc that is in, and
    // puts finished copies in their songs' places.
    void follow(qint32 playing);

    bool copying() const { return worker_ != nullptr; }
    // The songs still waiting for their disc, by their path in the drive.
    const std::map<QString, QString>& waiting() const { return waiting_; }
    // What the status bar says.
    std::function<void(const QString&)> report;

private:
    void load();
    void save() const;
    // Starts the worker copying these songs of `disc`.
    void startCopy(const QString& disc, const QStringList& paths);
    // On the window's thread: a song copied (or not) by the worker.
    void copied(const QString& path, const Result<QString>& copy);
    // Puts the copies made in their songs' places, the song playing excepted.
    void placeCopies(const QStringList& tracks, qint32 playing);
    void copyEnded();
    void say(const QString& sentence) const;
    QString listPath() const;

    AppState& state_;
    PlayQueue& queue_;
    TrackCache& cache_;
    std::map<QString, QString> waiting_; // path in the drive -> disc name
    // Copies made while their song was playing from its disc: they take its place once it is
    // no longer the song playing (played again with Previous, or queued twice).
    std::map<QString, QString> copies_; // path in the drive -> copy
    QThread* worker_ = nullptr;
    std::atomic_bool stop_{false};
    qint32 playing_ = -1;
    bool unsaved_ = false;
};

} // namespace tarl
