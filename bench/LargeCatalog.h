#pragma once

#include "text/Result.h"

#include <QString>

namespace tarl::bench {

// What MakeLargeCatalog wrote.
struct LargeCatalogCounts {
    qint64 discVolumes = 0;
    qint64 hardDiscVolumes = 0;
    qint64 lists = 0;
    qint64 styledLists = 0;
    qint64 tracks = 0;
    qint64 styles = 0;
};

// Makes a new catalog file at `path` (which must not exist) holding a collection as users build
// it, for the benchmarks:
// - `volumes` volumes, three in ten of them discs: each scanned from one of four CD drive roots
//   ("/media/cdrom/", "/media/cdrom1/", "/media/ann/MP3_0001/"...), with its own name and the
//   disc's label; the others hard-disc folders, most of them artists' folders grouped by genre
//   ("/home/ann/music/genre 07/artist 0123/"), some directly in a drive root ("/srv/mp3-0042/");
// - `lists` lists spread evenly over the volumes: on discs, folders of tracks ("album 3/") and
//   playlists; on hard discs, playlists ("best of 2.m3u"), folders of tracks, and now and then the
//   tracks lying in the volume's folder itself (".");
// - `tracks` tracks spread evenly over the lists, with every tag field filled;
// - `styles` styles, six lists in ten filed under one of them, the rest unsorted.
// With `names` Varied, titles, artists and albums are words of several languages (accents,
// letters beyond Latin-1, mixed case) drawn from a vocabulary of 20 000 made-up words, as a
// search benchmark needs them; Numbered ("Song 3 of list 12") keeps the texts every other
// benchmark was measured with.
// The rows are written straight through the engine with bound values in one transaction: through
// the routines a million tracks would take many minutes and measure nothing of interest.
// The result is what was written; failed, with the reason, when the file cannot be made or
// written.
enum class TrackNames { Numbered, Varied };
Result<LargeCatalogCounts> MakeLargeCatalog(const QString& path, qint64 volumes, qint64 lists,
                                            qint64 tracks, qint64 styles,
                                            TrackNames names = TrackNames::Numbered);

} // namespace tarl::bench
