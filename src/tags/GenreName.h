#pragma once

#include <QString>

namespace tarl {

// Entries of the genre table: the ID3v1 numbers 0 to 79, the common extensions 80 to 125 and
// the extensions in use today, 126 to 191.
inline constexpr int kGenreCount = 192;

// The name of genre `number` as the catalog has always stored it (the table's spellings are kept,
// "Psychadelic" and "Sonota" among them); a null QString for a number outside the table.
QString GenreName(int number);

} // namespace tarl
