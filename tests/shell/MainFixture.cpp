#include "MainFixture.h"

#include "catalog/CatalogFile.h"

namespace tarl::test {

QString MainFixture::newCatalog(const QString& name) {
    const QString file = home.file(name);
    QString error;
    EXPECT_TRUE(CreateCatalog(file, &error)) << error.toStdString();
    return file;
}

} // namespace tarl::test
