#include "dialogs/PropertiesDialog.h"

#include "catalog/engine/CatalogFile.h"
#include "state/AppState.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"
#include "support/TestServices.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace tarl;

namespace {

class PropertiesTest : public ::testing::Test {
protected:
    void SetUp() override {
        const QString file = dir.file("tarl.mdb");
        ASSERT_TRUE(CreateCatalog(file));
        ASSERT_TRUE(state.catalog.connection.open(file));
        for (const char* sql :
             {"INSERT INTO CD (name,m3us,label,isCd) VALUES ('/music/',12,'EOF','0')",
              "INSERT INTO CD (name,m3us,label,isCd,labelcd) "
              "VALUES ('/media/cd/',3,'Disc1','1','MY DISC')"})
            ASSERT_TRUE(state.catalog.connection.execute(QString::fromLatin1(sql)));
    }
    test::TempDir dir;
    test::TestServices services;
    AppState state{services.services()};
};

struct Shown {
    const char* name;
    QString tag;
    QString key;
    QString path, label, lists;
};

TEST_F(PropertiesTest, AVolumeShowsItsFolderLabelAndListsAndAnyOtherNodeTheCaptions) {
    const Shown cases[] = {
        {"a hard-disc volume", "Cd", "/music/", "/music/", "", "12"},
        {"a disc, keyed by its label", "Cd", "Disc1", "/media/cd/", "Disc1", "3"},
        {"a group the catalog has no volume for", "Cd", "/", "", "", "32 files"},
        {"a list", "Mp3Cd", "/music/rock/", "", "", "32 files"},
        {"a style", "Nick", "Rock", "", "", "32 files"},
    };
    for (const Shown& c : cases) {
        SCOPED_TRACE(c.name);
        PropertiesDialog dialog(state, c.tag, c.key);
        dialog.load();
        EXPECT_EQ(dialog.windowTitle(), "Properties");
        const QStringList captions{"Path",  "Name",      "Mp3's   Folders  ",
                                   "Style", "Comentary", "Date"};
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(dialog.captionLabels[i]->text(), captions[i]);
        EXPECT_EQ(dialog.valueLabels[0]->text(), c.path);
        EXPECT_EQ(dialog.valueLabels[1]->text(), c.label);
        EXPECT_EQ(dialog.valueLabels[2]->text(), c.lists);
        EXPECT_EQ(dialog.styleBox->currentText(), "Maquina");
        EXPECT_TRUE(dialog.commentEdit->text().isEmpty());
        EXPECT_TRUE(dialog.dateEdit->text().isEmpty());
        EXPECT_EQ(dialog.okButton->text(), "OK");
        EXPECT_EQ(dialog.cancelButton->text(), "Cancel");
    }
    EXPECT_TRUE(services.ui.transcript.empty());
}

} // namespace
