#include "catalog/CatalogUpdate.h"

#include "catalog/Connection.h"
#include "catalog/FirstRow.h"
#include "catalog/QuoteSql.h"

namespace tarl {

Result<> RenameStyle(Catalog& catalog, const QString& from, const QString& to) {
    // SQLite refuses a table-qualified column after SET; the WHERE keeps its qualified form.
    return Ran(catalog.connection,
               catalog.connection.execute(
                   QStringLiteral("UPDATE nick ") + QStringLiteral(" SET nick ='") + QuoteSql(to) +
                   QStringLiteral("' WHERE ") + QStringLiteral("(((nick.nick)='") + QuoteSql(from) +
                   QStringLiteral("'))")));
}

} // namespace tarl
