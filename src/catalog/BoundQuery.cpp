#include "catalog/BoundQuery.h"

#include <QSqlQuery>

namespace tarl {

bool RunBound(QSqlQuery& query, const QString& statement, const QVariantList& values) {
    if (values.isEmpty())
        return query.exec(statement);
    if (!query.prepare(statement))
        return false;
    for (const QVariant& value : values)
        query.addBindValue(value);
    return query.exec();
}

} // namespace tarl
