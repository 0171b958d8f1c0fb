#pragma once

#include "catalog/engine/CatalogFile.h"
#include "shell/MainWindow.h"
#include "state/AppState.h"
#include "support/ScopedPath.h"
#include "support/TempDir.h"
#include "support/TestServices.h"

#include <QByteArray>
#include <gtest/gtest.h>
#include <memory>

namespace tarl::test {

// A program folder of its own (TARL_HOME), the test services and a main window on them.
class MainFixture : public ::testing::Test {
protected:
    void SetUp() override {
        previousHome_ = qgetenv("TARL_HOME");
        qputenv("TARL_HOME", home.path().toUtf8());
    }
    void TearDown() override {
        window.reset();
        qputenv("TARL_HOME", previousHome_);
    }

    // A fresh main window, as at program start.
    MainWindow& start() {
        window.reset();
        state = std::make_unique<AppState>(services.services());
        window = std::make_unique<MainWindow>(*state);
        return *window;
    }
    QString ini() const { return QString::fromUtf8(home.read("tarl.ini")); }
    QString setting(const QString& section, const QString& key) {
        return services.profile.read(home.file("tarl.ini"), section, key);
    }
    void writeIni(const QByteArray& text) { home.write("tarl.ini", text); }
    // A new catalog file in the program folder.
    QString newCatalog(const QString& name = QStringLiteral("tarl.mdb")) {
        const QString file = home.file(name);
        const auto made = CreateCatalog(file);
        EXPECT_TRUE(made) << made.error.toStdString();
        return file;
    }

    TempDir home;
    // Programs are found in the program folder's "bin" only: no mpv unless a test puts one there.
    ScopedPath programSearch{home.file(QStringLiteral("bin"))};
    TestServices services;
    std::unique_ptr<AppState> state;
    std::unique_ptr<MainWindow> window;

private:
    QByteArray previousHome_;
};

} // namespace tarl::test
