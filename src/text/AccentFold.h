#pragma once

#include <QString>

namespace tarl {

// Text folded for a search that ignores accents: compatibility decomposition (NFKD) with every
// combining mark dropped, the letters that do not decompose written with their base letters
// (Ø → o, Ł → l, Đ → d, Þ → th, Æ → ae, Œ → oe, ß → ss, ı → i, ...), then case folding. Two
// texts a reader takes for the same words without their accents fold to the same text:
// "Mötley Crüe" and "motley crue", "Økland" and "okland", "Straße" and "STRASSE".
QString FoldAccents(const QString& text);

} // namespace tarl
