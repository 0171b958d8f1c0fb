#include <QCoreApplication>
#include <cstring>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // --catalog-engine=postgres: the catalog fixtures make their catalogs on the test server.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--catalog-engine=postgres") == 0)
            qputenv("TARL_TEST_ENGINE", "postgres");
    }
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
