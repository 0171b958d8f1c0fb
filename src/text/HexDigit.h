#pragma once

namespace tarl {

// The value of one hexadecimal digit ("0"-"9", "a"-"f", "A"-"F"), -1 for any other character.
// Shared by the readers of escapes: "%20" in a file URL, "\x20" in a udev link name.
constexpr int HexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace tarl
