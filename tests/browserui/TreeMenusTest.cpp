#include "../shell/MainFixture.h"
#include "support/WindowParts.h"

#include "browser/LibraryTreeModel.h"
#include "browserui/LibraryBrowser.h"
#include "browserui/StyleDrag.h"
#include "catalog/engine/Connection.h"
#include "catalog/engine/Recordset.h"
#include "dialogs/RenameDialog.h"
#include "shell/TreeMenus.h"
#include "state/Twips.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTreeView>

using namespace tarl;

namespace {

// A hard-disc volume (a real folder) with a folder of tracks and a playlist, the style "Rock"
// holding the folder, and a disc.
class TreeMenusTest : public tarl::test::MainFixture {
protected:
    void SetUp() override {
        MainFixture::SetUp();
        music = home.file("music/");
        ASSERT_TRUE(QDir().mkpath(music + "rock"));
        catalogFile = newCatalog();
        for (const QString& sql : {
                 "INSERT INTO CD (name,m3us,label,isCd) VALUES ('" + music + "',2,'EOF','0')",
                 QStringLiteral("INSERT INTO CD (name,m3us,label,isCd,labelcd) "
                                "VALUES ('/media/cd/',1,'Disc1','1','My Disc')"),
                 QStringLiteral("INSERT INTO Nick (nick) VALUES ('Rock')"),
                 "INSERT INTO M3u (path,file,cd_id,mp3s,nick) VALUES ('" + music +
                     "','rock/',1,0,1)",
                 "INSERT INTO M3u (path,file,cd_id,mp3s) VALUES ('" + music + "','mix.m3u',1,0)",
                 QStringLiteral("INSERT INTO M3u (path,file,cd_id,mp3s) "
                                "VALUES ('/media/cd/','jazz/',2,0)"),
             })
            ASSERT_TRUE(sql_(sql)) << sql.toStdString();
        writeIni("[Database]\nPath=" + catalogFile.toUtf8() + "\n");
        services.drives.addDrive("/", DriveType::Fixed);
    }

    MainWindow& open(bool byStyle) {
        MainWindow& w = start();
        w.startUp();
        w.show();
        if (byStyle)
            test::Part<LibraryBrowser>(w, "browser")->showTreeByStyle();
        test::Part<TreeMenus>(w, "treeMenus")->hooks.popup = [this](QMenu* menu, const QPoint& at) {
            popups.push_back({menu, at});
        };
        return w;
    }

    bool sql_(const QString& statement) {
        Connection c;
        return c.open(catalogFile) && c.execute(statement);
    }
    qint64 count(const QString& table) {
        Connection c;
        Recordset rows;
        if (!c.open(catalogFile) || !c.execute("SELECT COUNT(*) FROM " + table, rows))
            return -1;
        return rows.field(0).toLongLong();
    }

    TreeNode* node(const QString& key) {
        return test::Part<LibraryBrowser>(*window, "browser")->tree().FindNodeByKey(key);
    }
    QPoint pointOf(const QString& key) {
        const QModelIndex index =
            test::Part<LibraryBrowser>(*window, "browser")->treeModel()->indexOf(node(key));
        test::Part<QTreeView>(*window, "treeView")->scrollTo(index);
        return test::Part<QTreeView>(*window, "treeView")->visualRect(index).center();
    }
    QPoint emptySpace() const {
        return {5, test::Part<QTreeView>(*window, "treeView")->viewport()->height() - 3};
    }
    void rightClick(const QPoint& at) {
        QTest::mouseClick(test::Part<QTreeView>(*window, "treeView")->viewport(), Qt::RightButton,
                          {}, at);
    }
    void rightClick(const QString& key) { rightClick(pointOf(key)); }
    QStringList childTexts(const QString& key) {
        QStringList texts;
        for (const auto& child : node(key)->children)
            texts << child->text;
        return texts;
    }

    struct Popup {
        QMenu* menu;
        QPoint at;
    };
    std::vector<Popup> popups;
    QString music;
    QString catalogFile;
};

// Each menu's items: "-" a separator, "x" before a caption an item shown disabled.
QStringList Items(const QMenu* menu) {
    QStringList items;
    for (const QAction* a : menu->actions()) {
        if (a->isSeparator())
            items << "-";
        else
            items << (a->isEnabled() ? "" : "x") + a->text();
    }
    return items;
}

TEST_F(TreeMenusTest, EachMenuShowsItsItemsInOrderWithTheInactiveOnesGreyed) {
    MainWindow& w = open(false);
    TreeMenus& m = *test::Part<TreeMenus>(w, "treeMenus");
    const struct {
        QMenu* menu;
        QStringList items;
    } menus[] = {
        {m.catalogMenu,
         {"Add Style", "xPurge Unused Styles", "xSort by CD", "-", "Un-Expand all Styles",
          "Tree Options"}},
        {m.styleMenu, {"Rename Style", "xStyle Properties", "Delete Style"}},
        {m.listMenu,
         {"Play with Winamp", "Open Folder", "Delete", "Create Folder", "Re-Scan this folder", "-",
          "HD modify", "Properties"}},
        {m.listFilesMenu,
         {"Edit M3u", "xRename Folder/M3u", "xDelete M3u !",
          "xDelete Folder/M3u and asociate Mp3 !"}},
    };
    for (const auto& c : menus)
        EXPECT_EQ(Items(c.menu), c.items) << c.menu->title().toStdString();
}

TEST_F(TreeMenusTest, EmptySpaceOpensStyleNothingInTheStyleViewAndNothingInThePathView) {
    MainWindow& w = open(false);
    rightClick(emptySpace());
    EXPECT_TRUE(popups.empty());
    rightClick(music + "rock/");
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups[0].menu, test::Part<TreeMenus>(w, "treeMenus")->listMenu);
    EXPECT_EQ(test::Part<LibraryBrowser>(w, "browser")->selectedNode()->key, music + "rock/");

    test::Part<LibraryBrowser>(w, "browser")->showTreeByStyle();
    popups.clear();
    const QPoint at = emptySpace();
    rightClick(at);
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(popups[0].menu, test::Part<TreeMenus>(w, "treeMenus")->catalogMenu);
    EXPECT_EQ(popups[0].at, test::Part<QTreeView>(w, "treeView")->viewport()->mapToGlobal(at) +
                                QPoint(ToPixels(400), ToPixels(600)));
    rightClick("Rock");
    EXPECT_EQ(popups.back().menu, test::Part<TreeMenus>(w, "treeMenus")->styleMenu);
    rightClick("Unsorted");
    EXPECT_EQ(popups.back().menu, test::Part<TreeMenus>(w, "treeMenus")->catalogMenu);
}

TEST_F(TreeMenusTest, AddStyleThreeTimesNumbersTheNewStyles) {
    MainWindow& w = open(true);
    for (int i = 0; i < 3; ++i)
        test::Part<TreeMenus>(w, "treeMenus")->addStyleClicked();
    EXPECT_EQ(childTexts("tarl.mdb"),
              QStringList({"Rock", "New Style", "New Style(1)", "New Style(2)"}));
    EXPECT_EQ(node("New Style(2)")->kind(), NodeKind::Style);
    EXPECT_EQ(count("Nick"), 4);
    // What the catalog holds is what the tree showed.
    test::Part<LibraryBrowser>(w, "browser")->showTreeByStyle();
    EXPECT_EQ(childTexts("tarl.mdb").size(), 4);
}

TEST_F(TreeMenusTest, RenameAndDeleteStyleChangeTheCatalogAndTheTree) {
    MainWindow& w = open(true);
    rightClick("Rock");
    test::Part<TreeMenus>(w, "treeMenus")->hooks.runRename = [](RenameDialog& dialog) {
        dialog.load();
        EXPECT_EQ(dialog.promptLabel->text(), "Write new style name");
        EXPECT_EQ(dialog.nameEdit->text(), "Rock");
        dialog.nameEdit->setText("Metal");
        dialog.renameClicked();
    };
    test::Part<TreeMenus>(w, "treeMenus")->renameStyleClicked();
    ASSERT_NE(node("Metal"), nullptr);
    EXPECT_EQ(node("Metal")->text, "Metal");

    rightClick("Metal");
    test::Part<TreeMenus>(w, "treeMenus")->deleteStyleClicked();
    EXPECT_EQ(node("Metal"), nullptr);
    EXPECT_EQ(count("Nick"), 0);
    EXPECT_EQ(count("M3u"), 3) << "the lists stay, with no style";
}

TEST_F(TreeMenusTest, DeleteOnAListUnderAStyleOrAPlaylistDoesNothing) {
    MainWindow& w = open(false);
    rightClick(music + "mix.m3u");
    ASSERT_EQ(test::Part<LibraryBrowser>(w, "browser")->clickedNode()->kind(), NodeKind::Playlist);
    test::Part<TreeMenus>(w, "treeMenus")->deleteListClicked();
    EXPECT_NE(node(music + "mix.m3u"), nullptr);

    test::Part<LibraryBrowser>(w, "browser")->showTreeByStyle();
    const QString listKey = "EOF:>" + music + "rock/";
    rightClick(listKey);
    ASSERT_EQ(test::Part<LibraryBrowser>(w, "browser")->clickedNode()->kind(), NodeKind::StyleList);
    test::Part<TreeMenus>(w, "treeMenus")->deleteListClicked();
    EXPECT_NE(node(listKey), nullptr);
    EXPECT_EQ(count("M3u"), 3);
    EXPECT_EQ(count("CD"), 2);
}

TEST_F(TreeMenusTest, DeleteOnAFolderOfTracksDeletesItsList) {
    MainWindow& w = open(false);
    rightClick(music + "rock/");
    test::Part<TreeMenus>(w, "treeMenus")->deleteListClicked();
    EXPECT_EQ(node(music + "rock/"), nullptr);
    EXPECT_EQ(count("M3u"), 2);
}

TEST_F(TreeMenusTest, CreateFolderMakesTheFolderItsVolumeAndItsNodeOrSaysItFailed) {
    MainWindow& w = open(false);
    const struct {
        const char* name;
        QString answer;
        bool made;
    } cases[] = {
        {"a new name", "new", true},
        {"a folder already there", "rock", false},
        {"a name in a folder that is not there", "none/deeper", false},
        {"a name climbing out of the clicked folder", "../Escaped", false},
        {"the folder above", "..", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        services.ui.transcript.clear();
        const qint64 volumes = count("CD");
        rightClick(music);
        services.ui.inputs = {c.answer};
        test::Part<TreeMenus>(w, "treeMenus")->createFolderClicked();
        ASSERT_GE(services.ui.transcript.size(), 1u);
        EXPECT_EQ(services.ui.transcript[0].text, "Folder name:");
        EXPECT_EQ(services.ui.transcript[0].title, "Add Folder to Hard Disc");
        EXPECT_EQ(services.ui.transcript[0].extra, "Folder1");
        const QString path = music + c.answer + "/";
        EXPECT_EQ(count("CD"), volumes + (c.made ? 1 : 0));
        if (c.made) {
            EXPECT_TRUE(QDir(path).exists());
            ASSERT_NE(node(path), nullptr);
            EXPECT_EQ(node(path)->text, c.answer + "/");
            EXPECT_EQ(node(path)->kind(), NodeKind::Volume);
            EXPECT_EQ(services.ui.transcript.size(), 1u);
            continue;
        }
        ASSERT_EQ(services.ui.transcript.size(), 2u);
        EXPECT_EQ(services.ui.transcript[1].text, "Error making folder " + c.answer + "/");
        EXPECT_EQ(services.ui.transcript[1].title, "Add Folder to Hard Disc");
        EXPECT_EQ(services.ui.transcript[1].icon, MsgIcon::Critical);
    }
    EXPECT_FALSE(QFileInfo::exists(QDir::cleanPath(music + "../Escaped")));
}

TEST_F(TreeMenusTest, OpenFolderAndEditGoThroughTheDesktop) {
    MainWindow& w = open(true);
    rightClick("EOF:>" + music + "rock/");
    test::Part<TreeMenus>(w, "treeMenus")->openFolderClicked();
    EXPECT_EQ(services.launcher.openedFolders, QStringList(music + "rock/"));
    test::Part<LibraryBrowser>(w, "browser")->showTreeByPaths();
    rightClick(music + "mix.m3u");
    test::Part<TreeMenus>(w, "treeMenus")->editPlaylistClicked();
    EXPECT_EQ(services.launcher.editedFiles, QStringList(music + "mix.m3u"));
    // A refusal is told with the desktop's reason.
    services.launcher.result = false;
    test::Part<TreeMenus>(w, "treeMenus")->editPlaylistClicked();
    EXPECT_EQ(w.statusPanel(1),
              music + "mix.m3u could not be opened in the text editor: Refused by the test.");
}

TEST_F(TreeMenusTest, UnExpandCollapsesEveryStyle) {
    MainWindow& w = open(true);
    test::Part<QTreeView>(w, "treeView")->expandAll();
    test::Part<TreeMenus>(w, "treeMenus")->collapseStylesClicked();
    LibraryTreeModel* model = test::Part<LibraryBrowser>(w, "browser")->treeModel();
    EXPECT_FALSE(test::Part<QTreeView>(w, "treeView")->isExpanded(model->indexOf(node("Rock"))));
    EXPECT_FALSE(
        test::Part<QTreeView>(w, "treeView")->isExpanded(model->indexOf(node("Unsorted"))));
    EXPECT_TRUE(test::Part<QTreeView>(w, "treeView")->isExpanded(model->indexOf(node("tarl.mdb"))));
}

} // namespace

namespace {

// The style view: "Rock" holds the folder list, "Jazz" a playlist, "Unsorted" the disc's list.
class StyleDragTest : public TreeMenusTest {
protected:
    void SetUp() override {
        TreeMenusTest::SetUp();
        ASSERT_TRUE(sql_("INSERT INTO Nick (nick) VALUES ('Jazz')"));
        ASSERT_TRUE(sql_("UPDATE M3u SET nick=2 WHERE file='mix.m3u'"));
    }
    qint64 styleOf(const QString& file) {
        Connection c;
        Recordset rows;
        if (!c.open(catalogFile) ||
            !c.execute("SELECT nick FROM M3u WHERE file='" + file + "'", rows))
            return -1;
        return rows.field(0).toLongLong();
    }
    // A drag of `from` over each of `over`, dropped on the last.
    void dragDrop(const QString& from, const QStringList& over) {
        StyleDrag& drag = *test::Part<StyleDrag>(*window, "styleDrag");
        test::Part<LibraryBrowser>(*window, "browser")->setClickedNode(node(from));
        drag.begin(node(from));
        for (const QString& key : over)
            drag.over(key.isEmpty() ? nullptr : node(key));
        drag.drop();
        EXPECT_EQ(drag.highlighted(), nullptr);
        EXPECT_EQ(test::Part<LibraryBrowser>(*window, "browser")->treeModel()->dropHighlight(),
                  nullptr);
        EXPECT_EQ(test::Part<LibraryBrowser>(*window, "browser")->clickedNode(), nullptr);
    }
    QString rock() const { return "EOF:>" + music + "rock/"; }
    QString mix() const { return "EOF:>" + music + "mix.m3u"; }
};

TEST_F(StyleDragTest, TheHighlightFollowsThePointerByTheNodesKind) {
    MainWindow& w = open(true);
    StyleDrag& drag = *test::Part<StyleDrag>(w, "styleDrag");
    drag.begin(node(rock()));
    const struct {
        QString over;
        QString highlighted; // "" for none
    } steps[] = {{"Jazz", "Jazz"}, {mix(), "Jazz"}, {"", ""}, {"Rock", "Rock"}};
    for (const auto& s : steps) {
        drag.over(s.over.isEmpty() ? nullptr : node(s.over));
        EXPECT_EQ(drag.highlighted(), s.highlighted.isEmpty() ? nullptr : node(s.highlighted))
            << s.over.toStdString();
        EXPECT_EQ(test::Part<LibraryBrowser>(w, "browser")->treeModel()->dropHighlight(),
                  drag.highlighted());
    }
    drag.end();
}

TEST_F(StyleDragTest, AListDroppedOnAnotherStylesListIsFiledUnderThatStyle) {
    MainWindow& w = open(true);
    test::Part<QTreeView>(w, "treeView")
        ->collapse(test::Part<LibraryBrowser>(w, "browser")->treeModel()->indexOf(node("Jazz")));
    dragDrop(rock(), {"Rock", mix()});
    EXPECT_EQ(styleOf("rock/"), 2);
    EXPECT_EQ(node(rock())->parent, node("Jazz"));
    EXPECT_TRUE(childTexts("Rock").isEmpty());
    EXPECT_FALSE(
        test::Part<QTreeView>(w, "treeView")
            ->isExpanded(
                test::Part<LibraryBrowser>(w, "browser")->treeModel()->indexOf(node("Jazz"))));
}

TEST_F(StyleDragTest, AListDroppedOnItsOwnStyleChangesNothing) {
    open(true);
    dragDrop(rock(), {"Rock"});
    EXPECT_EQ(styleOf("rock/"), 1);
    EXPECT_EQ(node(rock())->parent, node("Rock"));
    EXPECT_TRUE(services.ui.transcript.empty());
}

TEST_F(StyleDragTest, AStyleDraggedHighlightsNothingAndItsDropChangesNothing) {
    open(true);
    dragDrop("Rock", {"Jazz", mix()});
    EXPECT_EQ(styleOf("rock/"), 1);
    EXPECT_EQ(styleOf("mix.m3u"), 2);
    EXPECT_EQ(childTexts("tarl.mdb"), QStringList({"Rock", "Jazz"}));
}

TEST_F(StyleDragTest, AFailedFilingIsToldAndTheListStaysWhereTheCatalogHasIt) {
    MainWindow& w = open(true);
    ASSERT_TRUE(sql_("DELETE FROM Nick WHERE nick='Jazz'")); // gone behind the tree's back
    dragDrop(rock(), {"Jazz"});
    EXPECT_EQ(styleOf("rock/"), 1);
    EXPECT_EQ(node(rock())->parent, node("Rock"));
    EXPECT_EQ(w.statusPanel(1),
              "The list could not be filed under \"Jazz\": There is no style called \"Jazz\".");
}

TEST_F(StyleDragTest, AFolderOfTracksDroppedOnlySaysTheMoveIsToCome) {
    open(false);
    dragDrop(music + "rock/", {"Disc1"});
    ASSERT_EQ(services.ui.transcript.size(), 1u);
    const auto& box = services.ui.transcript[0];
    EXPECT_EQ(box.title, "Comming soon");
    EXPECT_EQ(box.icon, MsgIcon::Information);
    EXPECT_EQ(box.text, "moVE MP3 Folder rock/ from " + music + " to Disc1");
    EXPECT_NE(node(music + "rock/"), nullptr);
}

} // namespace

namespace {

TEST_F(TreeMenusTest, AStatementTheCatalogRefusesIsToldAndTheTreeShowsTheCatalog) {
    MainWindow& w = open(true);
    // The catalog refuses writes to the styles from here on (triggers made on the window's own
    // connection: a new one would refuse a catalog holding them).
    Connection& own = state->catalog.connection;
    ASSERT_TRUE(own.execute("CREATE TRIGGER no_new BEFORE INSERT ON Nick BEGIN "
                            "SELECT RAISE(ABORT, 'styles are locked'); END"));
    ASSERT_TRUE(own.execute("CREATE TRIGGER no_gone BEFORE DELETE ON Nick BEGIN "
                            "SELECT RAISE(ABORT, 'styles are locked'); END"));
    test::Part<TreeMenus>(w, "treeMenus")->addStyleClicked();
    EXPECT_EQ(node("New Style"), nullptr);
    EXPECT_TRUE(w.statusPanel(1).startsWith("The style could not be added: "))
        << w.statusPanel(1).toStdString();
    EXPECT_TRUE(w.statusPanel(1).contains("styles are locked"));

    rightClick("Rock");
    test::Part<TreeMenus>(w, "treeMenus")->deleteStyleClicked();
    EXPECT_NE(node("Rock"), nullptr);
    Recordset rows;
    ASSERT_TRUE(own.execute("SELECT COUNT(*) FROM Nick", rows));
    EXPECT_EQ(rows.field(0).toInt(), 1);
    EXPECT_TRUE(w.statusPanel(1).startsWith("The style \"Rock\" could not be deleted: "))
        << w.statusPanel(1).toStdString();
}

} // namespace

namespace {

TEST_F(StyleDragTest, TheTreeTakesDropsOfItsOwnKindAndLetsOthersThrough) {
    MainWindow& w = open(true);
    QWidget* viewport = test::Part<QTreeView>(w, "treeView")->viewport();
    const QPoint overJazz = pointOf("Jazz");
    QMimeData foreign;
    foreign.setData("application/x-other-rows", "1");
    QDragMoveEvent foreignMove(overJazz, Qt::MoveAction, &foreign, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &foreignMove);
    EXPECT_EQ(test::Part<StyleDrag>(w, "styleDrag")->highlighted(), nullptr);

    test::Part<LibraryBrowser>(w, "browser")->setClickedNode(node(rock()));
    test::Part<StyleDrag>(w, "styleDrag")->begin(node(rock()));
    const QPoint stillOverJazz = pointOf("Jazz"); // the drag's start scrolled to its node
    QMimeData own;
    own.setData(StyleDrag::TreeNodeMimeType, rock().toUtf8());
    ASSERT_TRUE(viewport->acceptDrops());
    QDragEnterEvent enter(stillOverJazz, Qt::MoveAction, &own, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &enter);
    QDragMoveEvent move(stillOverJazz, Qt::MoveAction, &own, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &move);
    EXPECT_EQ(test::Part<StyleDrag>(w, "styleDrag")->highlighted(), node("Jazz"));
    EXPECT_TRUE(move.isAccepted());
    QDropEvent drop(QPointF(stillOverJazz), Qt::MoveAction, &own, Qt::LeftButton, {});
    QApplication::sendEvent(viewport, &drop);
    EXPECT_EQ(styleOf("rock/"), 2);
    EXPECT_EQ(test::Part<StyleDrag>(w, "styleDrag")->highlighted(), nullptr);
    EXPECT_EQ(test::Part<LibraryBrowser>(w, "browser")->clickedNode(), nullptr);
}

} // namespace
