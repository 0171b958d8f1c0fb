#pragma once

namespace tarl {

// What a catalog look-up found. `ok` is false when a statement failed (the connection's
// lastError() says why); `value` is then the type's empty value, like a look-up that found no
// row, so a caller that reads only `value` behaves as if nothing were there.
template <typename T> struct [[nodiscard]] Lookup {
    T value{};
    bool ok = true;

    static Lookup failed() { return Lookup{T{}, false}; }
};

} // namespace tarl
