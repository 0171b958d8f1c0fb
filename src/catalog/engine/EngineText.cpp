#include "catalog/engine/EngineText.h"

#include <sqlite3.h>

namespace tarl {

bool EngineText::DecodeWellFormed(const unsigned char* bytes, int size,
                                  std::vector<char16_t>& into) {
    const unsigned char* at = bytes;
    const unsigned char* const end = bytes + size;
    while (at < end) {
        const unsigned char lead = *at++;
        if (lead < 0x80) {
            into.push_back(lead);
            continue;
        }
        int more = 0;
        char32_t c = 0;
        if ((lead & 0xE0) == 0xC0) {
            more = 1;
            c = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            more = 2;
            c = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            more = 3;
            c = lead & 0x07;
        } else {
            return false;
        }
        if (end - at < more)
            return false;
        for (int i = 0; i < more; ++i, ++at) {
            if ((*at & 0xC0) != 0x80)
                return false;
            c = (c << 6) | (*at & 0x3F);
        }
        constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
        if (c < kSmallest[more] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF) || c == 0xFFFE ||
            c == 0xFFFF)
            return false;
        if (c < 0x10000) {
            into.push_back(static_cast<char16_t>(c));
        } else {
            c -= 0x10000;
            into.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
            into.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        }
    }
    return true;
}

std::optional<QStringView> EngineText::decoded(const unsigned char* bytes, int size) {
    buffer_.clear();
    if (!bytes || !DecodeWellFormed(bytes, size, buffer_))
        return std::nullopt;
    return QStringView(buffer_.data(), static_cast<qsizetype>(buffer_.size()));
}

namespace {
QStringView Utf16View(const void* text, int bytes) {
    if (!text)
        return {};
    return QStringView(static_cast<const char16_t*>(text), bytes / 2);
}
} // namespace

// The engine wants a value's text asked before its size, in separate statements.
QStringView EngineText::of(sqlite3_value* value) {
    if (sqlite3_value_type(value) == SQLITE_TEXT) {
        const unsigned char* bytes = sqlite3_value_text(value);
        if (const auto text = decoded(bytes, sqlite3_value_bytes(value)))
            return *text;
    }
    const void* text = sqlite3_value_text16(value);
    return Utf16View(text, sqlite3_value_bytes16(value));
}

QStringView EngineText::of(sqlite3_stmt* statement, int column) {
    if (sqlite3_column_type(statement, column) == SQLITE_TEXT) {
        const unsigned char* bytes = sqlite3_column_text(statement, column);
        if (const auto text = decoded(bytes, sqlite3_column_bytes(statement, column)))
            return *text;
    }
    const void* text = sqlite3_column_text16(statement, column);
    return Utf16View(text, sqlite3_column_bytes16(statement, column));
}

} // namespace tarl
