#pragma once

#include "catalog/engine/Connection.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QString>
#include <QVariant>
#include <gtest/gtest.h>
#include <memory>

namespace tarl::test {

class PgTestDatabase;

// A fresh, empty catalog file "tarl.mdb" in a temporary folder, open in `catalog` for the
// test. Derive a fixture from it or use it as one: TEST_F(CatalogFixture, ...).
//
// Run with --catalog-engine=postgres (the test main reads it), the catalog is a fresh database on
// the test server instead (TARL_TEST_PG), made by the same CreateCatalog, and `dbPath` holds its
// address; without a server the test is skipped. The build runs the tests of the routines both
// ways.
class CatalogFixture : public ::testing::Test {
public:
    // Whether this run puts its catalogs on the test server.
    static bool OnServer();
    // A value read back as the catalog file stores it: the server's boolean isCd as 1 or 0.
    static QVariant AsStored(const QVariant& value) {
        if (value.typeId() == QMetaType::Bool)
            return QVariant(qlonglong(value.toBool() ? 1 : 0));
        return value;
    }

protected:
    CatalogFixture();
    ~CatalogFixture() override;
    void SetUp() override;
    void TearDown() override;

    // Runs a statement whose rows are not wanted; a failure fails the test.
    void run(const QString& statement);
    // The first column of the first row of a query; a null QVariant when there is no row.
    QVariant scalar(const QString& query);

    void AddGroupConcat();

    TempDir temp;
    QString dbPath;
    std::unique_ptr<PgTestDatabase> server;
    Catalog catalog;
};

} // namespace tarl::test
