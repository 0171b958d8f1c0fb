#pragma once

#include <QString>

namespace tarl {

// The SQLite URI ("file:/...?mode=...") of a file path. The path is made absolute and
// percent-encoded, so "?", "#", "%" and spaces in folder names are taken literally.
// mode "rw" never creates the file; "ro" opens it for reading only.
QString SqliteUri(const QString& path, const QString& mode);

} // namespace tarl
