#pragma once

#include <QStringList>

namespace tarl {

// The catalog's tables and look-up indexes, shared by the maker of new catalog files and by the
// connection, which adds missing indexes to catalogs made before an index existed.
class Schema {
public:
    // The four tables every catalog has, as the statements spell them.
    static const QStringList& TableNames();
    // CREATE TABLE statements, columns in the order the program reads them by position.
    static const QStringList& TableStatements();
    // CREATE INDEX IF NOT EXISTS statements, one for each look-up the catalog routines make.
    static const QStringList& IndexStatements();

    // A new catalog on a PostgreSQL server: the collation UNICODE_NOCASE, the same tables (ids
    // from identity columns, isCd a boolean, every number 64 bits wide) and the same indexes.
    static const QStringList& ServerStatements();
};

} // namespace tarl
