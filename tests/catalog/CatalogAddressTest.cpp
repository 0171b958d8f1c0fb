#include "catalog/engine/CatalogAddress.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

// Secrets are refused in an address: it is kept in tarl.ini in clear; libpq reads them from
// ~/.pgpass or PGPASSWORD instead.
TEST(CatalogAddressTest, ServerAddressesWithASecretAreRefused) {
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
