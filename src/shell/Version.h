#pragma once

#include <QLatin1StringView>

namespace tarl {
// The version label of the About window, also the main window's title.
inline constexpr QLatin1StringView VersionLabel{"Tarl Beta Version 2.7.2"};
} // namespace tarl
