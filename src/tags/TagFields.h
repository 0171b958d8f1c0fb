#pragma once

#include <QString>
#include <QtGlobal>

namespace tarl {

// The values the catalog keeps from one track's tags. A text that no tag supplies stays a single
// space, which is how the catalog stores "unknown".
struct TagFields {
    QString title = QStringLiteral(" ");
    QString artist = QStringLiteral(" ");
    QString album = QStringLiteral(" ");
    QString year = QStringLiteral(" ");
    QString comments = QStringLiteral(" ");
    QString genre = QStringLiteral(" ");
    qint64 fileLength = 0; // bytes
    qint64 seconds = 0;    // the track's length, rounded to the nearest second; 0 when unknown

    bool operator==(const TagFields&) const = default;
};

} // namespace tarl
