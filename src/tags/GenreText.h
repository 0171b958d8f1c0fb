#pragma once

#include <QString>

namespace tarl {

// The genre to store for the text of one ID3v2 genre value (TCO, TCON):
// - references to the genre table, "(17)", and bare numbers, "17", become the table's name
//   ("Rock"); a number outside the table stays its decimal digits, as an ID3v1 genre byte does;
// - "(RX)" and "(CR)" are Remix and Cover; "((" opens a text that begins with "(";
// - text after the references refines them: "(17)Rock" is "Rock", "(4)Eurodisco" is
//   "Disco/Eurodisco"; several references join with "/", the separator of multiple values;
// - any other text is kept as written.
QString ResolveGenreText(const QString& text);

} // namespace tarl
