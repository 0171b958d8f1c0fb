#include "support/CatalogFixture.h"

#include "catalog/CatalogFile.h"
#include "catalog/ConnectionText.h"

namespace tarl::test {

void CatalogFixture::SetUp() {
    dbPath = temp.file(QStringLiteral("tarl.mdb"));
    const auto made = CreateCatalog(dbPath);
    ASSERT_TRUE(made) << made.error.toStdString();
    ASSERT_TRUE(catalog.connection.open(BuildConnectionText(dbPath)))
        << catalog.connection.lastError().toStdString();
}

void CatalogFixture::TearDown() {
    catalog.connection.close();
}

void CatalogFixture::run(const QString& statement) {
    EXPECT_TRUE(catalog.connection.execute(statement))
        << catalog.connection.lastError().toStdString();
}

QVariant CatalogFixture::scalar(const QString& query) {
    Recordset rows;
    EXPECT_TRUE(catalog.connection.execute(query, rows))
        << catalog.connection.lastError().toStdString();
    return rows.field(0);
}

} // namespace tarl::test
