#pragma once

#include <QString>
#include <QtGlobal>

namespace tarl {

// Seconds as minutes and seconds, each at least two digits, joined by ":": 75 gives "01:15",
// 7505 "125:05", 40000 "666:40". Any length is formatted; a negative count shows as "00:00".
QString FormatMinSec(qint64 seconds);

} // namespace tarl
