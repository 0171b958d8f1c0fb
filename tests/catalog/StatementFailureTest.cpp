#include "catalog/engine/StatementFailure.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace tarl {
namespace {

TEST(StatementFailure, AFullDiscIsNamedWhenACatalogCannotBeOpened) {
    const QString full = "The disc is full: the catalog file /m/tarl.mdb cannot be opened, even "
                         "to read it, until there is room on that disc for its companion file "
                         "/m/tarl.mdb-shm. Nothing in it is lost; free some space and open it "
                         "again.";
    const struct {
        const char* name;
        int code;
        QString text;
    } cases[] = {
        {"no room for the -shm file", SQLITE_IOERR_SHMSIZE, full},
        {"full", SQLITE_FULL, full},
        {"another input/output error", SQLITE_IOERR_READ, ""},
        {"locked", SQLITE_BUSY, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DescribeFullDiscOnOpen(c.code, "/m/tarl.mdb"), c.text) << c.name;
}

} // namespace
} // namespace tarl
