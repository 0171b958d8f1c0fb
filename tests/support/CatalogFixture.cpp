#include "support/CatalogFixture.h"

#include "catalog/engine/CatalogFile.h"
#include "catalog/engine/Recordset.h"
#include "support/PgServer.h"

namespace tarl::test {

bool CatalogFixture::OnServer() {
    return qEnvironmentVariable("TARL_TEST_ENGINE") == QLatin1String("postgres");
}

CatalogFixture::CatalogFixture() = default;
CatalogFixture::~CatalogFixture() = default;

void CatalogFixture::SetUp() {
    dbPath = temp.file(QStringLiteral("tarl.mdb"));
    if (OnServer()) {
        const std::optional<QString> uri = TestPgUri();
        if (!uri)
            GTEST_SKIP() << "no test server (TARL_TEST_PG)";
        server = std::make_unique<PgTestDatabase>(*uri);
        ASSERT_TRUE(server->error().isEmpty()) << server->error().toStdString();
        dbPath = server->uri();
    }
    const auto made = CreateCatalog(dbPath);
    ASSERT_TRUE(made) << made.error.toStdString();
    ASSERT_TRUE(catalog.connection.open(dbPath)) << catalog.connection.lastError().toStdString();
    if (OnServer())
        AddGroupConcat();
}

// The tests read columns back with SQLite's group_concat(value[, separator]); the server gets
// the same aggregate, joining in the order the rows are read.
void CatalogFixture::AddGroupConcat() {
    for (const char* statement : {
             "CREATE FUNCTION group_concat_step(joined text, value anyelement, separator text) "
             "RETURNS text LANGUAGE sql IMMUTABLE AS $$ SELECT CASE WHEN value IS NULL THEN "
             "joined WHEN joined IS NULL THEN value::text ELSE joined || separator || value::text "
             "END $$",
             "CREATE FUNCTION group_concat_step(joined text, value anyelement) RETURNS text "
             "LANGUAGE sql IMMUTABLE AS $$ SELECT group_concat_step(joined, value, ',') $$",
             "CREATE AGGREGATE group_concat(anyelement, text) (SFUNC = group_concat_step, STYPE "
             "= text)",
             "CREATE AGGREGATE group_concat(anyelement) (SFUNC = group_concat_step, STYPE = "
             "text)",
         })
        run(QString::fromLatin1(statement));
}

void CatalogFixture::TearDown() {
    catalog.connection.close();
    server.reset();
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
