#pragma once

#include <QString>

namespace tarl {

// Makes a text safe inside a single-quoted SQL literal: the text is cut at its first NUL (the
// engine would end it there), a lone surrogate (half of a UTF-16 pair, not a character) becomes
// U+FFFD, and every single quote is doubled. Each value is quoted exactly once, where it is
// spliced into a statement, so every text reads back as it was written.
QString QuoteSql(const QString& text);

} // namespace tarl
