#pragma once

#include "text/Result.h"

#include <QString>
#include <QStringView>
#include <vector>

struct sqlite3;

namespace tarl {

// LIKE as Access has it: "%" any run of characters, "_" exactly one, and letters compared
// without regard to case over all of Unicode (simple case folding of each code point).
// Matching walks pattern and text once, going back only to the last "%", so even a long
// pattern of many "%" runs costs at most length(pattern) * length(text) steps.
class UnicodeLike {
public:
    // No escape character: every character of the pattern keeps its meaning.
    static constexpr char32_t kNoEscape = 0xFFFFFFFF;

    explicit UnicodeLike(QStringView pattern, char32_t escape = kNoEscape);

    bool matches(QStringView text) const;
    char32_t escape() const { return escape_; }

    // Replaces SQLite's like(pattern, text) and like(pattern, text, escape), which fold ASCII
    // letters only, on one open connection. The error is the engine's message.
    static Result<> Install(sqlite3* db);

private:
    std::vector<char32_t> tokens_; // folded code points and the two wildcard tokens
    char32_t escape_;
    bool matchesNothing_ = false;
};

} // namespace tarl
