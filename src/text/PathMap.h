#pragma once

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace tarl {

// This machine's translation between the paths the catalog stores and the paths this machine
// reaches the same files by, for a catalog several machines share (each mounting the music
// share at its own place). The catalog always keeps the stored form; a path is turned into the
// local form just before this machine reads, plays, checks, copies, moves or deletes the file,
// and a path found by a scan is turned back into the stored form before the catalog sees it.
//
// The settings text is "stored=local" pairs separated by "|":
//     /mnt/music/=/media/nas/music/|/srv/old/=/home/ann/old/
// A pair is split at its first "=", so a stored prefix cannot hold "=" (a local one can); no
// prefix can hold "|". Empty pairs are skipped; a pair without "=" or with an empty side is
// ignored and named in Parse's `ignored`.
//
// Prefixes compare exactly (case counts) and only at a path-component boundary: every prefix
// is kept ending in "/" (one written without is taken as if it had it), and it matches a path
// that starts with it or that is the folder itself without its final "/". The longest matching
// prefix wins; a path no prefix matches is returned as it is.
class PathMap {
public:
    static PathMap Parse(const QString& text, QStringList* ignored = nullptr);

    bool isEmpty() const { return pairs_.empty(); }

    // The path this machine reaches the stored path by.
    QString toLocal(const QString& stored) const;
    // The stored form of a path of this machine.
    QString toStored(const QString& local) const;

private:
    // first: stored prefix, second: local prefix; both end in "/".
    std::vector<std::pair<QString, QString>> pairs_;
};

} // namespace tarl
