#pragma once

#include <QString>

namespace tarl {

// Entries of the genre table: the ID3v1 numbers 0 to 79 and the common extensions 80 to 125.
inline constexpr int kGenreCount = 126;

// The name of genre `number` as the catalog has always stored it (the table's spellings are kept,
// "Psychadelic" and "Sonota" among them); a null QString for a number outside the table.
QString GenreName(int number);

} // namespace tarl
