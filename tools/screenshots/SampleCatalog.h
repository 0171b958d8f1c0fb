#pragma once

#include "text/Result.h"

#include <QString>

namespace tarl::screenshots {

// What MakeSampleCatalog made: the catalog file and the album folder to select at start-up.
struct SampleCatalog {
    QString file;
    QString selectedFolder;
};

// Writes a small collection of tagged MP3 files under `musicFolder` (artists, their albums and
// tracks with real-looking names; files of album-like sizes that start with twenty seconds of
// silence a player plays, the rest a hole in the file), imports it into a new catalog
// `catalogFile` as the scan window would, files every album under a style and stores each
// track's length, as playing it would. Failed, with the reason, when a step fails.
Result<SampleCatalog> MakeSampleCatalog(const QString& musicFolder, const QString& catalogFile);

} // namespace tarl::screenshots
