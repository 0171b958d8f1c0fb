#include "dialogs/RenameDialog.h"
#include "catalog/engine/CatalogFile.h"
#include "catalog/engine/Recordset.h"
#include "state/AppState.h"
#include "support/TempDir.h"
#include "support/TestServices.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVariant>
#include <gtest/gtest.h>

using namespace tarl;
using tarl::test::TempDir;
using tarl::test::TestServices;

namespace {

const QString Program = "Tarl Beta Version 2.7.2";

class RenameDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        const QString file = dir.file("tarl.mdb");
        ASSERT_TRUE(CreateCatalog(file));
        ASSERT_TRUE(state.catalog.connection.open(file));
    }
    void run(const QString& statement) {
        ASSERT_TRUE(state.catalog.connection.execute(statement))
            << statement.toStdString() << state.catalog.connection.lastError().toStdString();
    }
    QStringList styles() {
        Recordset rows;
        EXPECT_TRUE(state.catalog.connection.execute("SELECT nick FROM Nick ORDER BY id", rows));
        QStringList names;
        for (; !rows.eof(); rows.moveNext())
            names << rows.field(0).toString();
        return names;
    }
    // A style node of the library tree; renaming it records the name it was given.
    RenameNode styleNode(const QString& name, const QString& tag = "Nick") {
        return RenameNode{tag, name, [this](const QString& n) { treeNames << n; }};
    }
    void rename(RenameDialog& dialog, const QString& typed) {
        dialog.nameEdit->setText(typed);
        dialog.renameClicked();
    }

    TempDir dir;
    TestServices services;
    AppState state{services.services()};
    QStringList treeNames;
};

TEST_F(RenameDialogTest, LoadShowsTheProposedNameAndThePrompt) {
    RenameDialog d(state);
    EXPECT_EQ(d.windowTitle(), "Rename");
    EXPECT_EQ(d.renameButton->text(), "Rename");
    EXPECT_EQ(d.cancelButton->text(), "Cancel");
    d.prompt = "Write new style name";
    d.currentLabel = "Rock";
    d.load();
    EXPECT_EQ(d.promptLabel->text(), "Write new style name");
    EXPECT_EQ(d.nameEdit->text(), "Rock");
}

TEST_F(RenameDialogTest, AStyleIsRenamedInTheCatalogAndTheTreeKeepingItsId) {
    run("INSERT INTO Nick (nick) VALUES ('Rock')");
    run("INSERT INTO M3u (path, file, nick) VALUES ('/m/', 'a.m3u', 1)");
    RenameDialog d(state);
    d.clickedNode = styleNode("Rock");
    rename(d, "Rock 'n' Roll");
    EXPECT_EQ(styles(), QStringList{"Rock 'n' Roll"});
    EXPECT_EQ(treeNames, QStringList{"Rock 'n' Roll"});
    ASSERT_EQ(services.ui.transcript.size(), 1u);
    EXPECT_EQ(services.ui.transcript[0].text, "Renamed to Rock 'n' Roll");
    EXPECT_EQ(services.ui.transcript[0].title, Program);
    EXPECT_EQ(services.ui.transcript[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(d.goAhead, "0");

    // The list filed under the style still points at it.
    Recordset rows;
    ASSERT_TRUE(state.catalog.connection.execute(
        "SELECT Nick.nick FROM M3u JOIN Nick ON M3u.nick = Nick.id", rows));
    EXPECT_EQ(rows.field(0).toString(), "Rock 'n' Roll");
}

TEST_F(RenameDialogTest, RefusalsNameTheFaultWithAnErrorBoxAndWriteNothing) {
    run("INSERT INTO Nick (nick) VALUES ('Rock')");
    run("INSERT INTO Nick (nick) VALUES ('Jazz')");
    struct Case {
        const char* typed;
        const char* tag;
        const char* message;
    };
    const Case cases[] = {
        {"", "Nick", "The name is incorrect"},
        {"Blues", "M3uNick", "The name is incorrect"}, // a list under a style, not a style
        {"Rock", "Nick", "The name is already used"},  // its own present name
        {"Jazz", "Nick", "The name is already used"},
    };
    for (const Case& c : cases) {
        services.ui.transcript.clear();
        RenameDialog d(state);
        d.clickedNode = styleNode("Rock", c.tag);
        rename(d, c.typed);
        ASSERT_EQ(services.ui.transcript.size(), 1u) << c.typed;
        EXPECT_EQ(services.ui.transcript[0].text, c.message) << c.typed;
        EXPECT_EQ(services.ui.transcript[0].icon, MsgIcon::Critical);
        EXPECT_EQ(services.ui.transcript[0].title, Program);
    }
    EXPECT_EQ(styles(), (QStringList{"Rock", "Jazz"}));
    EXPECT_TRUE(treeNames.isEmpty());
}

TEST_F(RenameDialogTest, AStyleMayTakeAnotherCaseButNotAnotherStylesName) {
    run("INSERT INTO Nick (nick) VALUES ('Rock')");
    run("INSERT INTO Nick (nick) VALUES ('Jazz')");
    RenameDialog d(state);
    d.clickedNode = styleNode("Rock");
    rename(d, "jazz");
    EXPECT_EQ(services.ui.transcript.back().text, "The name is already used");
    rename(d, "ROCK");
    EXPECT_EQ(services.ui.transcript.back().text, "Renamed to ROCK");
    EXPECT_EQ(styles(), (QStringList{"ROCK", "Jazz"}));
}

TEST_F(RenameDialogTest, ACatalogThatFailsRefusesTheNameWithTheReason) {
    run("INSERT INTO Nick (nick) VALUES ('Rock')");
    const struct {
        const char* name;
        int mode;
        const char* sabotage; // makes the look-up or the write fail
        const char* message;
        const char* reason;
    } cases[] = {
        {"write refused", RenameDialog::RenameStyle,
         "CREATE TRIGGER full BEFORE UPDATE ON Nick BEGIN SELECT RAISE(ABORT, 'disc full'); END",
         "The style could not be renamed: ", "disc full"},
        {"style look-up fails", RenameDialog::RenameStyle, "ALTER TABLE Nick RENAME TO Gone",
         "The name could not be checked: ", "no such table"},
        {"CD look-up fails", RenameDialog::NameCd, "ALTER TABLE CD RENAME TO Gone",
         "The CD name could not be checked: ", "no such table"},
    };
    for (const auto& c : cases) {
        run("SAVEPOINT sabotage");
        run(c.sabotage);
        services.ui.transcript.clear();
        RenameDialog d(state);
        d.renameMode = c.mode;
        d.clickedNode = styleNode("Rock");
        rename(d, "Blues");
        run("ROLLBACK TO sabotage");
        run("RELEASE sabotage");
        ASSERT_EQ(services.ui.transcript.size(), 1u) << c.name;
        const QString text = services.ui.transcript[0].text;
        EXPECT_TRUE(text.startsWith(c.message) && text.contains(c.reason)) << text.toStdString();
        EXPECT_EQ(services.ui.transcript[0].icon, MsgIcon::Critical);
        EXPECT_EQ(d.clickedNode.key, "Rock") << c.name;
        EXPECT_EQ(d.goAhead, "0") << c.name;
    }
    EXPECT_EQ(styles(), QStringList{"Rock"});
    EXPECT_TRUE(treeNames.isEmpty());
}

TEST_F(RenameDialogTest, ACdNameIsAcceptedOnlyWhenNoVolumeCarriesIt) {
    run("INSERT INTO CD (name, m3us, label, isCd) VALUES ('/cd/', 1, 'Disc 7', '1')");
    RenameDialog d(state);
    d.renameMode = RenameDialog::NameCd;
    d.currentLabel = "DISC_8";
    d.goAhead = "1";
    rename(d, "Disc 7");
    EXPECT_EQ(d.goAhead, "0");
    EXPECT_EQ(d.currentLabel, "DISC_8");
    ASSERT_EQ(services.ui.transcript.size(), 1u);
    EXPECT_EQ(services.ui.transcript[0].text, "The CD name already exist in DB");
    EXPECT_EQ(services.ui.transcript[0].icon, MsgIcon::Critical);

    rename(d, "");
    EXPECT_EQ(d.goAhead, "0");
    EXPECT_EQ(services.ui.transcript.size(), 1u); // an empty name closes silently

    rename(d, "Disc 8");
    EXPECT_EQ(d.goAhead, "1");
    EXPECT_EQ(d.currentLabel, "Disc 8");
}

TEST_F(RenameDialogTest, CancelClosesAndLeavesTheValuesAsTheCallerSetThem) {
    RenameDialog d(state);
    d.renameMode = RenameDialog::NameCd;
    d.currentLabel = "DISC_8";
    d.goAhead = "1";
    QTimer::singleShot(0, &d, [&d] {
        d.nameEdit->setText("Other");
        d.cancelButton->click();
    });
    d.exec();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.goAhead, "1");
    EXPECT_EQ(d.currentLabel, "DISC_8");
}

TEST_F(RenameDialogTest, RenameClosesTheModalDialogEvenWhenTheNameIsRefused) {
    RenameDialog d(state);
    QTimer::singleShot(0, &d, [&d] { d.renameButton->click(); });
    d.exec();
    EXPECT_FALSE(d.isVisible());
    ASSERT_EQ(services.ui.transcript.size(), 1u);
}

} // namespace
