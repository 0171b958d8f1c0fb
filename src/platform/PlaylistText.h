#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tarl {

// The text rules of playlist files, whoever wrote them: a BOM is skipped; the bytes are read as
// UTF-8 when they are valid UTF-8 (".m3u8" files always), otherwise as Windows-1252; CRLF, LF and
// CR all end a line; a final line end does not make an empty last line.
QStringList PlaylistLines(const QByteArray& bytes, bool alwaysUtf8 = false);

// Reads a playlist file whole with the rules above (".m3u8" by its name). False with a reason in
// *error when the file cannot be read.
bool ReadPlaylistFile(const QString& file, QStringList* lines, QString* error = nullptr);

// An entry as a native path: "\" separators (lists written on Windows) become "/".
QString NativeEntry(const QString& entry);

} // namespace tarl
