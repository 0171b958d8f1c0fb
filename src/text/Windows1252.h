#pragma once

#include <QByteArrayView>
#include <QString>

namespace tarl {

// The system's single-byte code page ("ANSI"), the one table every reader of old text shares:
// playlists, settings files and ID3 tags. ISO-8859-1 with the printable characters Windows puts
// in 0x80-0x9F (0x80 is the euro sign). The five bytes Windows leaves undefined there become the
// C1 control of the same number, as Windows' own conversion does, so no byte is lost.
QString DecodeWindows1252(QByteArrayView bytes);

} // namespace tarl
