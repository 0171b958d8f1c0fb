#pragma once

#include "catalog/Connection.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QString>
#include <QVariant>
#include <gtest/gtest.h>

namespace tarl::test {

// A fresh, empty catalog file "tarl.mdb" in a temporary folder, open in `catalog` for the
// test. Derive a fixture from it or use it as one: TEST_F(CatalogFixture, ...).
class CatalogFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs a statement whose rows are not wanted; a failure fails the test.
    void run(const QString& statement);
    // The first column of the first row of a query; a null QVariant when there is no row.
    QVariant scalar(const QString& query);

    TempDir temp;
    QString dbPath;
    Catalog catalog;
};

} // namespace tarl::test
