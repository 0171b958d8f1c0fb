#pragma once

#include "text/Result.h"

namespace tarl {

// What a catalog look-up found: the shared result shape. `ok` is false when a statement failed
// (`error` says why, as the connection's lastError() did); `value` is then the type's empty value,
// like a look-up that found no row, so a caller that reads only `value` behaves as if nothing
// were there.
template <typename T> using Lookup = Result<T>;

} // namespace tarl
