#include "MainFixture.h"
#include "support/WindowParts.h"

#include "browserui/LibraryBrowser.h"
#include "catalog/engine/CatalogFile.h"
#include "dialogs/ScanWindow.h"
#include "support/PgServer.h"

#include <QCoreApplication>
#include <QThread>
#include <gtest/gtest.h>

// The main window on a catalog shared on a server: another machine's import is said in the
// status bar, and F5 shows it.
namespace tarl {
namespace {

using SharedCatalogWindow = test::MainFixture;

TEST_F(SharedCatalogWindow, AChangeElsewhereIsSaidAndF5ShowsIt) {
    const std::optional<QString> server = test::TestPgUri();
    if (!server)
        GTEST_SKIP() << "TARL_TEST_PG is not set (scripts/pg-cluster starts a server)";
    test::PgTestDatabase database(*server);
    ASSERT_TRUE(CreateCatalog(database.uri()));
    writeIni("[Database]\nPath=" + database.uri().toUtf8() + "\n");
    MainWindow& w = start();
    w.startUp();
    ASSERT_EQ(state->catalog.connection.state(), 1) << w.statusPanel(1).toStdString();
    EXPECT_FALSE(test::Part<LibraryBrowser>(w, "browser")->tree().NodeExists("/elsewhere/"));

    // Waits, at most half a second, for the window to say something in its first panel.
    const auto awaitNote = [&w] {
        for (int i = 0; i < 50 && w.statusPanel(1).isEmpty(); ++i) {
            QCoreApplication::processEvents();
            QThread::msleep(10);
        }
    };
    Catalog elsewhere;
    ASSERT_TRUE(elsewhere.connection.open(database.uri()));
    ASSERT_TRUE(elsewhere.connection.execute(
        "INSERT INTO CD (name,m3us,label,isCd) VALUES ('/elsewhere/',0,'EOF','0')"));
    awaitNote();
    EXPECT_EQ(w.statusPanel(1),
              "The catalog was changed on another machine: press F5 to show the changes.");
    w.refreshFromCatalog();
    EXPECT_TRUE(test::Part<LibraryBrowser>(w, "browser")->tree().NodeExists("/elsewhere/"));
    EXPECT_EQ(w.statusPanel(1), "");

    // After the window's own import, a change elsewhere is said again.
    ASSERT_TRUE(elsewhere.connection.execute(
        "INSERT INTO CD (name,m3us,label,isCd) VALUES ('/during/',0,'EOF','0')"));
    awaitNote();
    w.setStatusPanel(1, "");
    w.scanWindow().hooks.importEnded();
    EXPECT_TRUE(test::Part<LibraryBrowser>(w, "browser")->tree().NodeExists("/during/"));
    ASSERT_TRUE(elsewhere.connection.execute(
        "INSERT INTO CD (name,m3us,label,isCd) VALUES ('/after/',0,'EOF','0')"));
    awaitNote();
    EXPECT_EQ(w.statusPanel(1),
              "The catalog was changed on another machine: press F5 to show the changes.");
}

} // namespace
} // namespace tarl
