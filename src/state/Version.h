#pragma once

#include <QLatin1StringView>

namespace tarl {
// The version label of the About window, also the main window's title and the title of the
// message boxes that have none of their own.
inline constexpr QLatin1StringView VersionLabel{"Tarl Beta Version 2.7.2"};
} // namespace tarl
