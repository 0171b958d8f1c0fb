#include "catalog/engine/UnicodeLike.h"

#include "catalog/engine/EngineText.h"

#include <memory>
#include <sqlite3.h>

namespace tarl {

namespace {

// Wildcard tokens: values above the last code point, so they never equal a character.
constexpr char32_t kAnyOne = 0x110000;
constexpr char32_t kAnyRun = 0x110001;

struct CodePoint {
    char32_t value;
    qsizetype length; // in UTF-16 units
};

// The code point at `at`; a lone surrogate stands for itself.
CodePoint DecodeAt(QStringView text, qsizetype at) {
    const char16_t unit = text[at].unicode();
    if (QChar::isHighSurrogate(unit) && at + 1 < text.size() &&
        QChar::isLowSurrogate(text[at + 1].unicode()))
        return {QChar::surrogateToUcs4(unit, text[at + 1].unicode()), 2};
    return {unit, 1};
}

char32_t Fold(char32_t c) {
    return QChar::toCaseFolded(c);
}

QStringView ValueText(sqlite3_value* value) {
    const auto* text = static_cast<const char16_t*>(sqlite3_value_text16(value));
    const int bytes = sqlite3_value_bytes16(value);
    if (!text)
        return {};
    return QStringView(text, bytes / 2);
}

void DeletePattern(void* pattern) {
    delete static_cast<UnicodeLike*>(pattern);
}

// like(pattern, text [, escape]): SQLite rewrites "text LIKE pattern ESCAPE e" into this call.
void LikeFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            sqlite3_result_null(context);
            return;
        }
    }
    char32_t escape = UnicodeLike::kNoEscape;
    if (argc == 3) {
        const QStringView text = ValueText(argv[2]);
        if (text.isEmpty() || DecodeAt(text, 0).length != text.size()) {
            sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = DecodeAt(text, 0).value;
    }
    const QStringView pattern = ValueText(argv[0]);
    const int limit =
        sqlite3_limit(sqlite3_context_db_handle(context), SQLITE_LIMIT_LIKE_PATTERN_LENGTH, -1);
    if (pattern.size() > limit) {
        sqlite3_result_error(context, "LIKE or GLOB pattern too complex", -1);
        return;
    }
    // Every row's value: decoded here, without the engine's copy (one per connection's thread).
    thread_local EngineText values;
    const QStringView text = values.of(argv[1]);
    // The pattern is nearly always a constant of the statement: compile it once per statement.
    const auto* kept = static_cast<const UnicodeLike*>(sqlite3_get_auxdata(context, 0));
    if (kept && kept->escape() == escape) {
        sqlite3_result_int(context, kept->matches(text) ? 1 : 0);
        return;
    }
    auto compiled = std::make_unique<UnicodeLike>(pattern, escape);
    sqlite3_result_int(context, compiled->matches(text) ? 1 : 0);
    // Last: SQLite may delete the pattern before this call returns.
    sqlite3_set_auxdata(context, 0, compiled.release(), DeletePattern);
}

} // namespace

UnicodeLike::UnicodeLike(QStringView pattern, char32_t escape) : escape_(escape) {
    tokens_.reserve(pattern.size());
    for (qsizetype at = 0; at < pattern.size();) {
        CodePoint c = DecodeAt(pattern, at);
        at += c.length;
        // The escape character is checked first, so ESCAPE '%' makes "%" an ordinary letter.
        if (c.value == escape_) {
            if (at >= pattern.size()) {
                // A pattern ending in the escape character matches nothing, as in SQLite.
                matchesNothing_ = true;
                return;
            }
            c = DecodeAt(pattern, at);
            at += c.length;
            tokens_.push_back(Fold(c.value));
            continue;
        }
        if (c.value == u'%') {
            // Runs of "%" mean the same as one and would only slow the walk down.
            if (tokens_.empty() || tokens_.back() != kAnyRun)
                tokens_.push_back(kAnyRun);
            continue;
        }
        tokens_.push_back(c.value == u'_' ? kAnyOne : Fold(c.value));
    }
}

bool UnicodeLike::matches(QStringView text) const {
    if (matchesNothing_)
        return false;
    const size_t patternSize = tokens_.size();
    constexpr size_t kNone = static_cast<size_t>(-1);
    size_t p = 0;
    qsizetype t = 0;
    // Where the last "%" stood and where in the text its run ends for now.
    size_t runToken = kNone;
    qsizetype runEnd = 0;
    while (t < text.size()) {
        if (p < patternSize) {
            const char32_t token = tokens_[p];
            if (token == kAnyRun) {
                runToken = p++;
                runEnd = t;
                continue;
            }
            const CodePoint c = DecodeAt(text, t);
            if (token == kAnyOne || token == Fold(c.value)) {
                ++p;
                t += c.length;
                continue;
            }
        }
        if (runToken == kNone)
            return false;
        // Let the last "%" take one more character and try the rest again from there.
        runEnd += DecodeAt(text, runEnd).length;
        t = runEnd;
        p = runToken + 1;
    }
    while (p < patternSize && tokens_[p] == kAnyRun)
        ++p;
    return p == patternSize;
}

Result<> UnicodeLike::Install(sqlite3* db) {
    const int flags = SQLITE_UTF16 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    for (const int argc : {2, 3}) {
        const int rc = sqlite3_create_function_v2(db, "like", argc, flags, nullptr, LikeFunction,
                                                  nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            return Result<>::failed(QString::fromUtf8(sqlite3_errmsg(db)));
    }
    return {};
}

} // namespace tarl
