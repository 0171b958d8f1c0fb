#pragma once

#include "catalog/engine/Connection.h"
#include "catalog/engine/Recordset.h"
#include "support/CatalogFixture.h"
#include "support/FakeDrives.h"

#include <QList>
#include <QVariantList>

namespace tarl::test {

// A fresh catalog with the drives of a small machine: "/" and a CD drive on "/media/cd/".
class RoutineFixture : public CatalogFixture {
protected:
    void SetUp() override {
        CatalogFixture::SetUp();
        drives.addDrive("/", DriveType::Fixed);
        drives.addDrive("/media/cd", DriveType::CdRom, "DISC7");
    }

    // Every row of a query, each as its values in column order.
    QList<QVariantList> rows(const QString& query) {
        QList<QVariantList> result;
        Recordset set;
        EXPECT_TRUE(catalog.connection.execute(query, set))
            << catalog.connection.lastError().toStdString();
        for (; !set.eof(); set.moveNext()) {
            QVariantList row;
            for (int i = 0; i < set.fieldCount(); ++i)
                row << AsStored(set.field(i));
            result << row;
        }
        return result;
    }

    qint64 count(const QString& table) {
        return scalar("SELECT COUNT(*) FROM " + table).toLongLong();
    }

    // Inserts a row and gives its id.
    qint64 insert(const QString& statement) {
        run(statement);
        return scalar(catalog.connection.engine() == CatalogEngine::Postgres
                          ? "SELECT lastval()"
                          : "SELECT last_insert_rowid()")
            .toLongLong();
    }

    FakeDrives drives;
};

} // namespace tarl::test
