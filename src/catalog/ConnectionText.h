#pragma once

#include <QString>

namespace tarl {

// The connection text of a catalog file, built exactly as the system always has:
// "Driver={Microsoft Access Driver (*.mdb)};Dbq=<path>;DefaultDir=C:\;Uid=Admin;Pwd=;"
QString BuildConnectionText(const QString& dbPath);

// The catalog file named by the "Dbq=" value of a connection text; "" when it has none.
QString DbqOf(const QString& connectionText);

} // namespace tarl
