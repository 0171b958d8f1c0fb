#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace tarl {

// What the browser, the search and the history hand to the player side: play a file or
// playlist by path (after checking the player path), play the tracks of a playlist, folder or
// track through the temporary playlist, record the play state in the history, and start the
// player's list at one of its entries.
class PlayActions {
public:
    virtual ~PlayActions() = default;
    virtual void PlayFile(const QString& target) = 0;
    virtual void PlayKey(const QString& key) = 0;
    virtual void RecordHistory() = 0;
    // Starts the temporary playlist at entry `entry` (from 0); `launched`: a play was just handed
    // to the player, which may need a moment to start.
    virtual void ResumeAt(qint32 entry, bool launched) = 0;
    // Puts tracks, named as PlayKey takes them (a catalog path, or "<disc>:>path", whose disc is
    // asked for once), right after the song playing (`next`) or at the end of the player's
    // list, without stopping it; a player is started when none runs. What happened is said in
    // the status bar.
    virtual void QueueKeys(const QStringList& keys, bool next) = 0;
};

} // namespace tarl
