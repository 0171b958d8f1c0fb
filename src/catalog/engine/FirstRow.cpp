#include "catalog/engine/FirstRow.h"

#include "catalog/engine/Connection.h"
#include "catalog/engine/Recordset.h"

namespace tarl {

Lookup<QVariant> FirstField(Connection& connection, const QString& statement,
                            const QVariantList& values, int position) {
    Recordset holder;
    if (!connection.execute(statement, values, holder))
        return Lookup<QVariant>::failed(connection.lastError());
    return {holder.field(position)};
}

Lookup<qint64> FirstNumber(Connection& connection, const QString& statement,
                           const QVariantList& values, int position) {
    const Lookup<QVariant> field = FirstField(connection, statement, values, position);
    if (!field.ok)
        return Lookup<qint64>::failed(field.error);
    return {field.value.toLongLong()};
}

Result<> Ran(Connection& connection, bool ran) {
    if (ran)
        return {};
    return Result<>::failed(connection.lastError());
}

Lookup<bool> HasRow(Connection& connection, const QString& statement, const QVariantList& values) {
    Recordset holder;
    if (!connection.execute(statement, values, holder))
        return Lookup<bool>::failed(connection.lastError());
    return {!holder.eof()};
}

QString OrderOnServer(const Connection& connection, const char* order) {
    if (connection.engine() != CatalogEngine::Postgres)
        return {};
    return QString::fromLatin1(order);
}

} // namespace tarl
