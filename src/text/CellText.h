#pragma once

#include <QString>

namespace tarl {

// The text a list or tree cell shows for a stored value: at most CellTextLimit characters, the
// rest cut and marked with "…". No column is wide enough to show more, and laying out a text of
// megabytes (a catalog written by another tool may hold one) would hold the window for seconds
// at every paint. Only what is shown is cut: the rows keep their values.
inline constexpr qsizetype CellTextLimit = 1024;

inline QString CellText(const QString& text) {
    if (text.size() <= CellTextLimit)
        return text;
    qsizetype cut = CellTextLimit;
    if (text.at(cut - 1).isHighSurrogate())
        --cut; // never half a character
    return text.left(cut) + QChar(0x2026);
}

} // namespace tarl
