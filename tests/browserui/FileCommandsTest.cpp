#include "../shell/MainFixture.h"
#include "support/WindowParts.h"

#include "browser/LibraryTreeModel.h"
#include "browser/TrackListModel.h"
#include "browserui/LibraryBrowser.h"
#include "browserui/TrackListMenu.h"
#include "browserui/TrackListView.h"
#include "browserui/TrackRowsDrop.h"
#include "catalog/engine/Connection.h"
#include "state/Twips.h"

#include <QAction>
#include <QDir>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTreeView>
#include <numeric>
#include <sqlite3.h>

using namespace tarl;

namespace {

using Op = TrackRowsDrop::Operation;

TEST(TrackRowsDropOperation, KeysAndButtonsHeldAtTheDropDecide) {
    struct Case {
        Qt::MouseButtons buttons;
        Qt::KeyboardModifiers keys;
        Op operation;
    };
    const Case table[] = {
        {Qt::NoButton, Qt::NoModifier, Op::Move},
        {Qt::LeftButton, Qt::NoModifier, Op::Move},
        {Qt::NoButton, Qt::ShiftModifier, Op::Move},
        {Qt::NoButton, Qt::ControlModifier, Op::Copy},
        {Qt::NoButton, Qt::ControlModifier | Qt::ShiftModifier, Op::Nothing},
        {Qt::NoButton, Qt::AltModifier, Op::Nothing},
        {Qt::NoButton, Qt::ControlModifier | Qt::AltModifier, Op::Nothing},
        {Qt::RightButton, Qt::NoModifier, Op::Nothing},
        {Qt::RightButton, Qt::ControlModifier, Op::Nothing},
        {Qt::NoButton, Qt::KeypadModifier, Op::Move}, // not a key that chooses
    };
    for (const Case& c : table)
        EXPECT_EQ(TrackRowsDrop::OperationFor(c.buttons, c.keys), c.operation)
            << c.buttons.toInt() << " " << c.keys.toInt();
}

// A catalog listing ten real files "01.mp3" to "10.mp3" in the folder "rock/" of a music
// folder, and an empty folder "dest/" beside it.
class FileCommands : public tarl::test::MainFixture {
protected:
    void SetUp() override {
        MainFixture::SetUp();
        music = home.file("music/");
        rock = music + "rock/";
        dest = music + "dest/";
        QDir().mkpath(dest);
        const QString file = newCatalog();
        Connection c;
        ASSERT_TRUE(c.open(file));
        QStringList sql{
            "INSERT INTO CD (name,m3us,label,isCd) VALUES ('" + music + "',2,'EOF','0')",
            "INSERT INTO M3u (path,file,cd_id,mp3s) VALUES ('" + music + "','rock/',1,10)",
            "INSERT INTO M3u (path,file,cd_id,mp3s) VALUES ('" + music + "','dest/',1,0)"};
        for (int i = 1; i <= 10; ++i) {
            const QString name = QStringLiteral("%1.mp3").arg(i, 2, 10, QLatin1Char('0'));
            home.write("music/rock/" + name, "track " + name.toUtf8());
            sql << "INSERT INTO Mp3 (path,file,m3u_id,title,comments,size) VALUES ('" + rock +
                       "','" + name + "',1,'T" + name + "','','5')";
        }
        for (const QString& statement : sql)
            ASSERT_TRUE(c.execute(statement)) << statement.toStdString();
        c.close();
        catalogFile = file;
        writeIni("[Database]\nPath=" + file.toUtf8() + "\n");
        services.drives.addDrive("/", DriveType::Fixed);
        MainWindow& w = start();
        w.startUp();
        w.show();
        ASSERT_TRUE(test::Part<LibraryBrowser>(w, "browser")->selectFolderNode(rock));
        ASSERT_EQ(listed().size(), 10);
    }
    QStringList listed() const {
        QStringList names;
        TrackListModel* m = test::Part<LibraryBrowser>(*window, "browser")->trackModel();
        for (int i = 0; i < m->rowCount(); ++i)
            names << m->row(i).columns[ColFile];
        return names;
    }
    // The catalog's answer to a query, its rows joined by "|" and their fields by ",".
    QString query(const QString& sql) const {
        sqlite3* db = nullptr;
        sqlite3_open(catalogFile.toUtf8().constData(), &db);
        QStringList rows;
        sqlite3_exec(
            db, sql.toUtf8().constData(),
            [](void* out, int n, char** values, char**) {
                QStringList fields;
                for (int i = 0; i < n; ++i)
                    fields << QString::fromUtf8(values[i] ? values[i] : "");
                static_cast<QStringList*>(out)->append(fields.join(','));
                return 0;
            },
            &rows, nullptr);
        sqlite3_close_v2(db);
        return rows.join('|');
    }
    QStringList filesIn(const QString& folder) const {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    // Drops the selected rows on the node keyed `key` with these keys held, as the list's drag.
    void dropOn(const QString& key, Qt::KeyboardModifiers keys) {
        LibraryBrowser* b = test::Part<LibraryBrowser>(*window, "browser");
        const QModelIndex index = b->treeModel()->indexOf(b->tree().FindNodeByKey(key));
        test::Part<QTreeView>(*window, "treeView")->scrollTo(index);
        const QPointF at = test::Part<QTreeView>(*window, "treeView")->visualRect(index).center();
        QMimeData mime;
        mime.setData(QString::fromLatin1(TrackListModel::TrackIdsMimeType), "1\n");
        // The application hands a drag's moves and drop to the widget that took its entry.
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                              keys);
        QCoreApplication::sendEvent(test::Part<QTreeView>(*window, "treeView")->viewport(), &enter);
        QDragMoveEvent move(at.toPoint(), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                            keys);
        QCoreApplication::sendEvent(test::Part<QTreeView>(*window, "treeView")->viewport(), &move);
        EXPECT_EQ(test::Part<TrackRowsDrop>(*window, "trackRowsDrop")->highlighted(), index);
        QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &mime, Qt::NoButton, keys);
        QCoreApplication::sendEvent(test::Part<QTreeView>(*window, "treeView")->viewport(), &drop);
        EXPECT_FALSE(test::Part<TrackRowsDrop>(*window, "trackRowsDrop")->highlighted().isValid());
        QCoreApplication::processEvents(); // the operation runs once the drag is over
    }

    QString music, rock, dest, catalogFile;
};

TEST_F(FileCommands, TheListMenuHoldsItsItemsInOrder) {
    QStringList captions;
    for (QAction* action : test::Part<TrackListMenu>(*window, "trackListMenu")->menu->actions())
        captions << (action->isSeparator() ? "-" : action->text());
    EXPECT_EQ(captions, QStringList({"Play", "Delete From DB", "-", "Delete of HD", "Properties",
                                     "-", "Play next", "Add to queue", "Add to playlist"}));
}

TEST_F(FileCommands, ARightClickOnARowOpensTheMenuBelowAndRightOfThePointer) {
    test::Part<LibraryBrowser>(*window, "browser")->setListViewMode(4);
    QTreeView* report = test::Part<TrackListView>(*window, "trackList")->reportView();
    const QPoint at =
        report
            ->visualRect(test::Part<LibraryBrowser>(*window, "browser")->trackModel()->index(1, 0))
            .center();
    QTest::mousePress(report->viewport(), Qt::RightButton, {}, at);
    QMenu* menu = test::Part<TrackListMenu>(*window, "trackListMenu")->menu;
    ASSERT_TRUE(menu->isVisible());
    const QPoint listLeft =
        test::Part<TrackListView>(*window, "trackList")->mapTo(window.get(), QPoint(0, 0));
    EXPECT_EQ(menu->pos(), window->mapToGlobal(QPoint(listLeft.x() + at.x() + ToPixels(100),
                                                      at.y() + ToPixels(700))));
    menu->hide();
}

TEST_F(FileCommands, TheInformationBoxOfATrackWithoutCommentEndsItsLineAfterTheLabel) {
    test::Part<TrackListView>(*window, "trackList")->selectRows({2}, 2);
    test::Part<TrackListMenu>(*window, "trackListMenu")->propertiesAction->trigger();
    ASSERT_EQ(services.ui.transcript.size(), 1U);
    const auto& box = services.ui.transcript[0];
    EXPECT_EQ(box.title, "MP3 information");
    EXPECT_EQ(box.icon, MsgIcon::Information);
    const QString id = query("SELECT id FROM Mp3 WHERE file='03.mp3'");
    EXPECT_EQ(box.text, "File :   03.mp3\r\nPath :   " + rock +
                            "\r\nSize :   5\r\nTitle:   T03.mp3\r\nArtist:  \r\nAlbum:   \r\n"
                            "Genre:   \r\nYear:    \r\nComentaries: \r\nMP3 ID data base: " +
                            id + "\r\n");
}

TEST_F(FileCommands, DeleteFromDbDeletesTheSelectedTracksAndListsTheRest) {
    test::Part<TrackListView>(*window, "trackList")->selectRows({0, 9}, 9);
    test::Part<TrackListMenu>(*window, "trackListMenu")->deleteFromCatalogAction->trigger();
    EXPECT_EQ(listed().size(), 8);
    EXPECT_EQ(query("SELECT COUNT(*) FROM Mp3 WHERE file IN ('01.mp3','10.mp3')"), "0");
    EXPECT_EQ(filesIn(rock).size(), 10); // the files stay
}

TEST_F(FileCommands, AFileGoneBeforeDeleteOfHdIsReportedAndKeptTheOthersGo) {
    QFile::remove(rock + "02.mp3");
    test::Part<TrackListView>(*window, "trackList")->selectRows({0, 1, 2}, 2);
    services.ui.answers = {MsgAnswer::Ok};
    test::Part<TrackListMenu>(*window, "trackListMenu")->deleteFileAction->trigger();

    ASSERT_EQ(services.ui.transcript.size(), 2U);
    const QString at = QDir(rock).canonicalPath() + "/";
    EXPECT_EQ(services.ui.transcript[0].text,
              "Do you want to remove selected files from the hard disc?\n\n3 files:\n" + at +
                  "01.mp3\n" + at + "02.mp3\n" + at + "03.mp3");
    EXPECT_EQ(services.ui.transcript[0].title, "Remove Files from Hard Disc");
    EXPECT_EQ(services.ui.transcript[0].buttons, MsgButtons::OkCancel);
    EXPECT_EQ(services.ui.transcript[1].text, rock + "02.mp3 not was removed ");
    EXPECT_EQ(services.ui.transcript[1].icon, MsgIcon::Critical);
    EXPECT_EQ(listed().first(), "02.mp3");
    EXPECT_EQ(listed().size(), 8);
    EXPECT_TRUE(test::Part<TrackListView>(*window, "trackList")->selectedRows().empty());
    EXPECT_EQ(query("SELECT file FROM Mp3 WHERE file IN ('01.mp3','02.mp3','03.mp3')"), "02.mp3");
    EXPECT_EQ(filesIn(rock).size(), 7);
}

TEST_F(FileCommands, DeleteOfHdNamesRowsOutsideTheListFirstAndKeepsThoseItCouldNotName) {
    // Rows another user of the catalog put into the list: files of a folder outside every volume.
    const QString victim = home.file("victim/");
    QStringList outside;
    for (int i = 0; i < 11; ++i) {
        const QString name = QStringLiteral("notes%1.txt").arg(i, 2, 10, QLatin1Char('0'));
        home.write("victim/" + name, "private");
        outside << QDir(victim).canonicalPath() + "/" + name;
        ASSERT_EQ(query("INSERT INTO Mp3 (path,file,m3u_id) VALUES ('" + victim + "','" + name +
                        "',1); SELECT changes()"),
                  "1");
    }
    test::Part<LibraryBrowser>(*window, "browser")->FillTrackList();
    std::vector<int> all(21);
    std::iota(all.begin(), all.end(), 0);
    test::Part<TrackListView>(*window, "trackList")->selectRows(all, 20);
    services.ui.answers = {MsgAnswer::Ok, MsgAnswer::Ok};
    test::Part<TrackListMenu>(*window, "trackListMenu")->deleteFileAction->trigger();

    ASSERT_EQ(services.ui.transcript.size(), 2U);
    EXPECT_EQ(services.ui.transcript[0].text,
              "Do you want to remove selected files from the hard disc?\n\n21 files, 11 of them "
              "outside the list's folder:\n" +
                  outside.mid(0, 10).join('\n') + "\nand 11 more");
    EXPECT_TRUE(services.ui.transcript[1].text.endsWith("(1 file):\n" + outside[10]));
    EXPECT_EQ(filesIn(victim), QStringList({"notes10.txt"}));
    EXPECT_TRUE(filesIn(rock).isEmpty());
    EXPECT_EQ(listed(), QStringList({"notes10.txt"}));
}

TEST_F(FileCommands, DeleteOfHdAfterAnotherNodeWasClickedJudgesTheListShown) {
    // A right-click on another node leaves the list showing rock's tracks.
    TreeNode* other = test::Part<LibraryBrowser>(*window, "browser")->tree().FindNodeByKey(dest);
    ASSERT_NE(other, nullptr);
    test::Part<LibraryBrowser>(*window, "browser")->setClickedNode(other);
    test::Part<LibraryBrowser>(*window, "browser")->selectWithoutListing(other);
    std::vector<int> all(10);
    std::iota(all.begin(), all.end(), 0);
    test::Part<TrackListView>(*window, "trackList")->selectRows(all, 9);
    services.ui.answers = {MsgAnswer::Ok};
    test::Part<TrackListMenu>(*window, "trackListMenu")->deleteFileAction->trigger();

    ASSERT_EQ(services.ui.transcript.size(), 1U);
    EXPECT_TRUE(services.ui.transcript[0].text.contains("\n\n10 files:\n"))
        << services.ui.transcript[0].text.toStdString();
    EXPECT_TRUE(filesIn(rock).isEmpty());
}

TEST_F(FileCommands, CancelledDeleteOfHdDeletesNothing) {
    test::Part<TrackListView>(*window, "trackList")->selectRows({0}, 0);
    test::Part<TrackListMenu>(*window, "trackListMenu")->deleteFileAction->trigger();
    EXPECT_EQ(filesIn(rock).size(), 10);
    EXPECT_EQ(listed().size(), 10);
}

TEST_F(FileCommands, RowsDroppedWithCtrlAndShiftNeitherMoveNorCopy) {
    test::Part<TrackListView>(*window, "trackList")->selectRows({0, 1}, 1);
    dropOn(dest, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(filesIn(dest).isEmpty());
    EXPECT_EQ(filesIn(rock).size(), 10);
    EXPECT_TRUE(services.ui.transcript.empty());
}

TEST_F(FileCommands, RowsDroppedWithCtrlCopyThreeFilesAndTheFolderIsScannedAgain) {
    test::Part<TrackListView>(*window, "trackList")->selectRows({0, 4, 7}, 7);
    dropOn(dest, Qt::ControlModifier);
    EXPECT_EQ(filesIn(dest), QStringList({"01.mp3", "05.mp3", "08.mp3"}));
    EXPECT_EQ(filesIn(rock).size(), 10);
    EXPECT_EQ(query("SELECT file FROM Mp3 WHERE path='" + dest + "' ORDER BY file"),
              "01.mp3|05.mp3|08.mp3");
    EXPECT_EQ(window->statusPanel(1), QString()); // the re-scan's end clears the panels
}

TEST_F(FileCommands, RowsDroppedWhileAScanRunsAreRefused) {
    test::Part<TrackRowsDrop>(*window, "trackRowsDrop")->scanning = [] { return true; };
    test::Part<TrackListView>(*window, "trackList")->selectRows({0}, 0);
    dropOn(dest, Qt::NoModifier);
    EXPECT_TRUE(filesIn(dest).isEmpty());
    EXPECT_EQ(listed().size(), 10);
    EXPECT_EQ(window->statusPanel(1), "A scan is running: drop the tracks again when it ends");
}

TEST_F(FileCommands, CopyingOntoAnExistingFileShowsItsBoxAndChangesNeither) {
    home.write("music/dest/01.mp3", "older");
    test::Part<TrackListView>(*window, "trackList")->selectRows({0}, 0);
    dropOn(dest, Qt::ControlModifier);
    EXPECT_EQ(home.read("music/dest/01.mp3"), "older");
    EXPECT_EQ(home.read("music/rock/01.mp3"), "track 01.mp3");
    ASSERT_EQ(services.ui.transcript.size(), 1U); // no re-scan after a copy of nothing
    EXPECT_TRUE(services.ui.transcript[0].text.startsWith("Error Copying File: " + rock +
                                                          "01.mp3\n")) // and the system's reason
        << services.ui.transcript[0].text.toStdString();
    EXPECT_EQ(services.ui.transcript[0].title, "Copy Error");
    EXPECT_EQ(services.ui.transcript[0].icon, MsgIcon::Critical);
}

TEST_F(FileCommands, MovingRowsTwoFiveAndNineRemovesExactlyThoseRowsAndTracks) {
    // The rows as the move leaves them, before the re-scan lists the folder again.
    std::vector<QString> rescanned;
    test::Part<TrackRowsDrop>(*window, "trackRowsDrop")->rescanFolder = [&](const QString& folder) {
        rescanned.push_back(folder);
        EXPECT_EQ(listed(), QStringList({"01.mp3", "03.mp3", "04.mp3", "06.mp3", "07.mp3", "08.mp3",
                                         "10.mp3"}));
        window->rescanFolder(folder);
    };
    test::Part<TrackListView>(*window, "trackList")->selectRows({1, 4, 8}, 8);
    // Asked once, then moved; a Cancel first moves nothing.
    dropOn(dest, Qt::NoModifier);
    ASSERT_EQ(services.ui.transcript.size(), 1U);
    EXPECT_EQ(services.ui.transcript[0].text, "Move 3 files from " + rock + " to " + dest + "?");
    EXPECT_TRUE(filesIn(dest).isEmpty());
    services.ui.answers = {MsgAnswer::Ok};
    dropOn(dest, Qt::NoModifier);
    EXPECT_EQ(rescanned, std::vector<QString>({dest}));
    EXPECT_EQ(filesIn(dest), QStringList({"02.mp3", "05.mp3", "09.mp3"}));
    EXPECT_EQ(query("SELECT group_concat(file, ' ') FROM Mp3 WHERE path='" + rock + "'"),
              "01.mp3 03.mp3 04.mp3 06.mp3 07.mp3 08.mp3 10.mp3");
    EXPECT_EQ(query("SELECT file FROM Mp3 WHERE path='" + dest + "' ORDER BY file"),
              "02.mp3|05.mp3|09.mp3");
}

} // namespace
