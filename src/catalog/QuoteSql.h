#pragma once

#include <QString>

namespace tarl {

// Makes a text safe inside a single-quoted SQL literal: the text is cut at its first NUL (the
// engine would end it there), a lone surrogate (half of a UTF-16 pair, not a character) becomes
// U+FFFD, and every single quote is doubled. Each value is quoted exactly once, where it is
// spliced into a statement, so every text reads back as it was written.
QString QuoteSql(const QString& text);

// The value the engine stores for QuoteSql(text) written as a literal: cut at the first NUL, lone
// surrogates as U+FFFD, quotes as they are. For values bound to a prepared statement, so a bound
// value writes exactly what the literal would.
QString SqlTextValue(const QString& text);

} // namespace tarl
