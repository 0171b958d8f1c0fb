#pragma once

#include <cstdio>
#include <cstdlib>

namespace tarl::fuzz {

// A promise a target checks: broken, it ends the run as a finding, saying which.
inline void Check(bool ok, const char* what) {
    if (ok)
        return;
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}

} // namespace tarl::fuzz
