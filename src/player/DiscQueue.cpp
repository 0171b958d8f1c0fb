#include "player/DiscQueue.h"

#include "browser/DiscCheck.h"
#include "platform/Drives.h"
#include "platform/FileReplace.h"
#include "platform/PlayerLink.h"
#include "player/TrackCache.h"
#include "state/AppState.h"

#include <QFile>
#include <QThread>

namespace tarl {

namespace {

// What the cache knows a disc's song by: the disc and its path there.
QString IdentityOf(const QString& disc, const QString& path) {
    return disc + QStringLiteral(":>") + path;
}

} // namespace

DiscQueue::DiscQueue(AppState& state, PlayQueue& queue, TrackCache& cache, QObject* parent)
    : QObject(parent), state_(state), queue_(queue), cache_(cache) {
    load();
}

DiscQueue::~DiscQueue() {
    if (!worker_)
        return;
    stop_ = true;
    worker_->wait();
    delete worker_;
}

QString DiscQueue::listPath() const {
    return state_.tmpPlaylistPath + QStringLiteral(".discs");
}

void DiscQueue::load() {
    QFile file(listPath());
    if (state_.tmpPlaylistPath.isEmpty() || !file.open(QIODevice::ReadOnly))
        return;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() == 2 && !fields[0].isEmpty() && fields[1].startsWith('/'))
            waiting_[QString::fromUtf8(fields[1])] = QString::fromUtf8(fields[0]);
    }
}

void DiscQueue::save() const {
    if (state_.tmpPlaylistPath.isEmpty())
        return;
    QByteArray bytes;
    for (const auto& [path, disc] : waiting_) {
        // A name holding a tab or a line break would not read back: it is not kept.
        if (disc.contains(u'\t') || disc.contains(u'\n') || path.contains(u'\n'))
            continue;
        bytes += disc.toUtf8() + '\t' + path.toUtf8() + '\n';
    }
    if (const Result<> written = ReplaceFile(listPath(), bytes); !written)
        say(QStringLiteral("The queue's discs could not be saved: ") + written.error);
}

void DiscQueue::say(const QString& sentence) const {
    if (report)
        report(sentence);
}

Result<PlayQueue::Queued> DiscQueue::queueKeys(const QStringList& keys, bool next) {
    QStringList paths;
    std::map<QString, QString> discOf;
    for (const QString& key : keys) {
        QString disc, path = key;
        const bool onDisc = SplitDiscKey(key, &disc, &path);
        const QString local = state_.pathMap.toLocal(path);
        paths << local;
        if (onDisc)
            discOf[local] = disc;
    }
    if (paths.isEmpty())
        return Result<PlayQueue::Queued>::failed(QStringLiteral("Nothing to queue."));
    // Nothing plays: the queue starts with the first song, whose disc is needed now.
    PlayerLink& player = state_.services.player;
    const bool startsNow =
        player.findWindow() == 0 || player.state(player.findWindow()) == PlayerState::Stopped;
    if (startsNow && discOf.count(paths.first())) {
        const QString& disc = discOf[paths.first()];
        const QString drive = state_.services.drives.driveRoot(paths.first());
        if (ConfirmDiscInDrive(state_.catalog, state_.services.drives, state_.services.ui, disc,
                               drive) != MsgAnswer::Ok)
            return Result<PlayQueue::Queued>::failed(
                QStringLiteral("Nothing was queued: the disc %1 is not in the drive.").arg(disc));
    }
    for (const auto& [path, disc] : discOf)
        waiting_[path] = disc;
    if (!discOf.empty())
        save();
    Result<PlayQueue::Queued> queued = next ? queue_.playNext(paths) : queue_.addToQueue(paths);
    if (queued)
        follow(startsNow ? 0 : playing_);
    return queued;
}

void DiscQueue::follow(qint32 playing) {
    playing_ = playing;
    if (waiting_.empty() && copies_.empty())
        return;
    const QStringList tracks = queue_.tracks();
    if (!copies_.empty())
        placeCopies(tracks, playing);
    if (unsaved_) {
        unsaved_ = false;
        save();
    }
    if (worker_ || waiting_.empty())
        return;
    const qint32 from = qMax(playing, 0);
    for (qint32 i = from; i < tracks.size(); ++i) {
        const auto waiting = waiting_.find(tracks[i]);
        if (waiting == waiting_.end())
            continue;
        const QString disc = waiting->second;
        const QString drive = state_.services.drives.driveRoot(tracks[i]);
        Drives& drives = state_.services.drives;
        if (!DiscIsInDrive(state_.catalog, drives, disc, drive)) {
            // Asked only once its song is about to play: the user may be listening to another
            // disc's songs for an hour.
            if (i > playing + 1)
                return;
            if (ConfirmDiscInDrive(state_.catalog, drives, state_.services.ui, disc, drive) !=
                MsgAnswer::Ok) {
                for (auto it = waiting_.begin(); it != waiting_.end();)
                    it = it->second == disc ? waiting_.erase(it) : std::next(it);
                save();
                say(QStringLiteral("The songs of the disc %1 are passed over: it was not put "
                                   "in.")
                        .arg(disc));
                return;
            }
        }
        // The disc is in: every song of it the queue holds from here on is copied.
        QStringList ofDisc;
        for (qint32 j = from; j < tracks.size(); ++j) {
            const auto other = waiting_.find(tracks[j]);
            if (other != waiting_.end() && other->second == disc && !ofDisc.contains(tracks[j]))
                ofDisc << tracks[j];
        }
        startCopy(disc, ofDisc);
        return;
    }
}

void DiscQueue::startCopy(const QString& disc, const QStringList& paths) {
    // The copies the queue holds stay in the cache while room is made.
    QSet<QString> keep;
    for (const QString& track : queue_.tracks())
        if (track.startsWith(cache_.folder() + u'/'))
            keep.insert(track);
    stop_ = false;
    say(QStringLiteral("Copying %1 of the disc %2 for the queue...")
            .arg(SongCount(paths.size()), disc));
    TrackCache* cache = &cache_;
    std::atomic_bool* stop = &stop_;
    worker_ = QThread::create([this, cache, stop, disc, paths, keep] {
        for (const QString& path : paths) {
            if (stop->load())
                return;
            const Result<QString> copy = cache->store(path, IdentityOf(disc, path), keep, stop);
            QMetaObject::invokeMethod(
                this, [this, path, copy] { copied(path, copy); }, Qt::QueuedConnection);
        }
    });
    connect(worker_, &QThread::finished, this, &DiscQueue::copyEnded, Qt::QueuedConnection);
    worker_->start();
}

void DiscQueue::copied(const QString& path, const Result<QString>& copy) {
    if (!copy) {
        say(copy.error);
        return;
    }
    // Placed by the next tick, with every copy that arrived meanwhile: the queue is written
    // once for them all.
    waiting_.erase(path);
    copies_[path] = copy.value;
    unsaved_ = true;
}

void DiscQueue::placeCopies(const QStringList& tracks, qint32 playing) {
    bool left = false;
    std::map<qint32, QString> places;
    for (qint32 i = 0; i < tracks.size(); ++i) {
        const auto copy = copies_.find(tracks[i]);
        if (copy == copies_.end())
            continue;
        // The song playing plays on from the disc.
        if (i == playing) {
            left = true;
            continue;
        }
        places[i] = copy->second;
    }
    if (const Result<> replaced = queue_.replace(places); !replaced)
        say(replaced.error);
    // What is not in the queue any more needs no place; the song playing keeps its copy.
    if (!left)
        copies_.clear();
    else
        std::erase_if(copies_,
                      [&](const auto& kept) { return tracks.indexOf(kept.first) != playing; });
}

void DiscQueue::copyEnded() {
    if (!worker_)
        return;
    worker_->wait();
    worker_->deleteLater();
    worker_ = nullptr;
    if (!stop_)
        say(QStringLiteral("The queue's songs of the disc are copied: it may come out."));
}

} // namespace tarl
