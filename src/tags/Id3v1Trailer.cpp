#include "tags/Id3v1Trailer.h"

#include "tags/GenreName.h"
#include "tags/GenreText.h"
#include "text/Windows1252.h"

namespace tarl {

namespace {

QString Field(QByteArrayView trailer, qsizetype offset, qsizetype width) {
    QByteArrayView bytes = trailer.sliced(offset, width);
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes = bytes.first(nul);
    // Spaces only: the catalog always kept other blanks that a tagger wrote.
    while (!bytes.isEmpty() && bytes.front() == ' ')
        bytes = bytes.sliced(1);
    while (!bytes.isEmpty() && bytes.back() == ' ')
        bytes.chop(1);
    return DecodeWindows1252(bytes);
}

} // namespace

bool ReadId3v1(QByteArrayView trailer, TagFields& fields) {
    if (trailer.size() != kId3v1Bytes || !trailer.startsWith("TAG"))
        return false;
    fields.title = Field(trailer, 3, 30);
    fields.artist = Field(trailer, 33, 30);
    fields.album = Field(trailer, 63, 30);
    fields.year = Field(trailer, 93, 4);
    fields.comments = Field(trailer, 97, 30);
    const QString name = GenreName(static_cast<unsigned char>(trailer[127]));
    fields.genre = name.isNull() ? kNoGenre : name;
    return true;
}

} // namespace tarl
