#pragma once

#include <QString>
#include <QStringList>

namespace tarl {

// What the catalog stores for a track without a genre, as for a file without tags.
inline const QString kNoGenre = QStringLiteral(" ");

// The genre to store for the text of one ID3v2 genre value (TCO, TCON):
// - references to the genre table, "(17)", and bare numbers, "17", become the table's name
//   ("Rock"); a number the table does not name ("(255)", the format's "no genre") names no genre
//   and is dropped, so a value of such numbers alone is kNoGenre, as an ID3v1 genre byte is;
// - "(RX)" and "(CR)" are Remix and Cover; "((" opens a text that begins with "(";
// - text after the references refines them: "(17)Rock" is "Rock", "(4)Eurodisco" is
//   "Disco/Eurodisco"; several references join with "/", the separator of multiple values;
// - any other text is kept as written.
QString ResolveGenreText(const QString& text);

// The genre to store for all the values of one frame (v2.4 holds several): each resolved, those
// naming no genre dropped, joined with "/"; kNoGenre when none names one.
QString ResolveGenreValues(const QStringList& values);

} // namespace tarl
