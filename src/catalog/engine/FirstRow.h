#pragma once

#include "catalog/engine/Lookup.h"

#include <QString>
#include <QVariant>
#include <QVariantList>

namespace tarl {

class Connection;
class Recordset;

// The read the catalog routines make most: run a statement and look at its first row; the rows
// are let go on return. `values` are bound to the statement's "?" placeholders in order.

// The first row's value at `position`; a null QVariant when there is no row.
Lookup<QVariant> FirstField(Connection& connection, const QString& statement,
                            const QVariantList& values = {}, int position = 0);

// The first row's value at `position` as a 64-bit number; 0 when there is no row or it is null.
Lookup<qint64> FirstNumber(Connection& connection, const QString& statement,
                           const QVariantList& values = {}, int position = 0);

// Whether the statement gives any row.
Lookup<bool> HasRow(Connection& connection, const QString& statement,
                    const QVariantList& values = {});

// `order` (" ORDER BY ...") on a server, "" on a catalog file. The file's engine reads a look-up
// in the order of the index it finds the rows by, and the routines take the first row; a
// server's plans promise no order, so there it is spelled out.
QString OrderOnServer(const Connection& connection, const char* order);

// The order the file's index on (name, label) reads the volumes of one name in: by label in byte
// order ("C"), no label first, then by id.
inline constexpr const char* kServerVolumeOrder = " ORDER BY label COLLATE \"C\" NULLS FIRST, id";

// A write's result: `ran` is what Connection::execute() gave; failed, with the connection's
// lastError(), when it is false.
Result<> Ran(Connection& connection, bool ran);

} // namespace tarl
