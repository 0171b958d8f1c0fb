#include "catalog/ConnectionText.h"
#include "catalog/CatalogAddress.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

TEST(ConnectionTextTest, BuildsTheAccessText) {
    EXPECT_EQ(BuildConnectionText("C:\\music\\tarl.mdb"),
              "Driver={Microsoft Access Driver (*.mdb)};Dbq=C:\\music\\tarl.mdb;"
              "DefaultDir=C:\\;Uid=Admin;Pwd=;");
    EXPECT_EQ(BuildConnectionText("/home/ann/Guns'n Roses/tarl.mdb"),
              "Driver={Microsoft Access Driver (*.mdb)};Dbq=/home/ann/Guns'n Roses/tarl.mdb;"
              "DefaultDir=C:\\;Uid=Admin;Pwd=;");
}

TEST(ConnectionTextTest, DbqReadsBackEveryPath) {
    for (const QString path :
         {"C:\\music\\tarl.mdb", "/home/ann/My Music/tarl.mdb", "/home/ann/Guns'n Roses/t.mdb",
          "/data/a;b/tarl;1.mdb", "/data/odd;DefaultDir=x;/tarl.mdb", "/data/Dbq=/tarl.mdb",
          "/home/ann/Müsik/tärl ☃.mdb", "relative/tarl.mdb", ""})
        EXPECT_EQ(DbqOf(BuildConnectionText(path)), path);
}

TEST(ConnectionTextTest, DbqOfTextsWrittenByHand) {
    const struct {
        QString text;
        QString dbq;
    } cases[] = {
        {"DBQ=/a.mdb", "/a.mdb"},
        {"Driver={x};dbq=/a b.mdb;Uid=Admin;Pwd=;", "/a b.mdb"},
        {"Driver={x};Uid=Admin;Pwd=;", ""},
        {"Driver={x};XDbq=/a.mdb;", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DbqOf(c.text), c.dbq) << c.text.toStdString();
}

// Secrets are refused in an address: it is kept in tarl.ini in clear; libpq reads them from
// ~/.pgpass or PGPASSWORD instead.
TEST(ConnectionTextTest, ServerAddressesWithASecretAreRefused) {
    const struct {
        const char* address;
        const char* error; // "" when accepted
    } cases[] = {
        {"postgresql://tarl@db:5433/music?sslmode=require", ""},
        {"postgresql://tarl:secret@db/music", "holds a password"},
        {"postgresql://tarl@db/music?password=secret", "holds a password"},
        {"postgresql://tarl@db/music?sslmode=require&sslpassword=secret", "holds a password"},
        {"postgresql://tarl@db/music?sslpassword=", "holds a password"},
    };
    for (const auto& c : cases) {
        const Result<ServerAddress> parsed = ParseServerAddress(c.address);
        EXPECT_EQ(parsed.ok, *c.error == 0) << c.address;
        EXPECT_TRUE(parsed.error.contains(c.error)) << c.address;
        EXPECT_FALSE(parsed.error.contains("secret")) << c.address;
    }
}

} // namespace
} // namespace tarl
