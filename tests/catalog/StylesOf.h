#pragma once

#include "catalog/engine/Connection.h"
#include "catalog/engine/Recordset.h"

#include <QString>
#include <QStringList>

namespace tarl::test {

// The styles of a catalog file, in order, read on a connection of its own; "(unreadable)" when
// it cannot be read.
inline QString StylesOf(const QString& file) {
    Connection c;
    Recordset rows;
    if (!c.open(file) || !c.execute(QStringLiteral("SELECT nick FROM Nick ORDER BY id"), rows))
        return QStringLiteral("(unreadable)");
    QStringList names;
    for (; !rows.eof(); rows.moveNext())
        names << rows.field(0).toString();
    return names.join(',');
}

} // namespace tarl::test
