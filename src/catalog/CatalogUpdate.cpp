#include "catalog/CatalogUpdate.h"

#include "catalog/CatalogFind.h"
#include "catalog/engine/BoundQuery.h"
#include "catalog/engine/Connection.h"
#include "catalog/engine/FirstRow.h"

namespace tarl {

Result<> RenameStyle(Catalog& catalog, const QString& from, const QString& to) {
    // SQLite refuses a table-qualified column after SET; the WHERE keeps its qualified form.
    return Ran(catalog.connection,
               catalog.connection.execute(
                   QStringLiteral("UPDATE nick  SET nick =? WHERE (((nick.nick)=?))"),
                   {SqlTextValue(to), SqlTextValue(from)}));
}

Result<> FileListUnderStyle(Catalog& catalog, const QString& path, const QString& file,
                            const QString& style) {
    const Lookup<qint64> styleId = FindStyleId(catalog, style);
    if (!styleId)
        return Result<>::failed(styleId.error);
    if (styleId.value == 0)
        return Result<>::failed(QStringLiteral("There is no style called \"%1\".").arg(style));
    const QString where = QStringLiteral(" WHERE (((M3u.path)=?) AND ((M3u.file)=?))");
    const QVariantList list = {SqlTextValue(path), SqlTextValue(file)};
    // Checked first, so a list that is not there is told apart from one filed already.
    const Lookup<bool> listed =
        HasRow(catalog.connection, QStringLiteral("SELECT id From M3u") + where, list);
    if (!listed)
        return Result<>::failed(listed.error);
    if (!listed.value)
        return Result<>::failed(QStringLiteral("There is no list at %1.").arg(path + file));
    // SQLite refuses a table-qualified column after SET.
    return Ran(catalog.connection,
               catalog.connection.execute(QStringLiteral("UPDATE M3u  SET nick =?") + where,
                                          QVariantList{styleId.value} + list));
}

} // namespace tarl
