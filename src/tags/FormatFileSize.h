#pragma once

#include <QString>
#include <QtGlobal>

namespace tarl {

// The size text the catalog stores for a track: up to 1000 bytes "850b"; up to 1000000 whole
// thousands, cut, "123K"; above that millions cut to two decimals, "4.52M", always with ".".
// 0 (a file that could not be read) and negative counts give "N/A".
QString FormatFileSize(qint64 bytes);

} // namespace tarl
