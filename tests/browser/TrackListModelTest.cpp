#include "browser/TrackListModel.h"

#include "support/QtPrinters.h"

#include <QAbstractItemModelTester>
#include <QIcon>
#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>

namespace tarl {
namespace {

TrackRow Row(const QString& path, const QString& file, const QString& id) {
    TrackRow row;
    row.columns[ColFile] = file;
    row.columns[ColPath] = path;
    row.columns[ColTitle] = "Title of " + file;
    row.columns[ColTime] = "03:07";
    row.columns[ColId] = id;
    return row;
}

class TrackListModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        tester = std::make_unique<QAbstractItemModelTester>(
            &model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        model.setRows({Row("/music/rock/", "b.mp3", "12"), Row("/music/rock/", "a.mp3", "7"),
                       Row("/music/my #1 & co/", "Ça va?.mp3", "5000000000")});
    }

    TrackListModel model;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

TEST_F(TrackListModelTest, ShowsTwelveCaptionedColumnsInTheOrderGiven) {
    ASSERT_EQ(model.rowCount(), 3);
    ASSERT_EQ(model.columnCount(), TrackColumnCount);
    QStringList captions;
    for (int c = 0; c < TrackColumnCount; ++c)
        captions << model.headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(captions, QStringList({"File", "Path", "Title", "Artist", "Album", "Year", "Genre",
                                     "Comment", "Size", "Time", "Rating", "MP3id"}));
    EXPECT_EQ(model.data(model.index(0, ColFile)).toString(), "b.mp3");
    EXPECT_EQ(model.data(model.index(1, ColTitle)).toString(), "Title of a.mp3");
    EXPECT_EQ(model.data(model.index(2, ColId)).toString(), "5000000000");
    EXPECT_EQ(model.data(model.index(0, ColArtist)).toString(), "");

    // Clicking a header asks the model to sort: the rows keep the catalog's order.
    model.sort(ColFile, Qt::AscendingOrder);
    EXPECT_EQ(model.row(0).columns[ColFile], "b.mp3");
}

TEST_F(TrackListModelTest, OnlyTheFileColumnCarriesTheTrackIcon) {
    const QVariant icon = model.data(model.index(1, ColFile), Qt::DecorationRole);
    ASSERT_TRUE(icon.canConvert<QIcon>());
    EXPECT_FALSE(icon.value<QIcon>().isNull());
    for (int c = 1; c < TrackColumnCount; ++c)
        EXPECT_FALSE(model.data(model.index(1, c), Qt::DecorationRole).isValid()) << c;
}

TEST_F(TrackListModelTest, SetRowsReplacesEverythingAndAnEmptyListEmptiesIt) {
    model.setRows({Row("/x/", "only.mp3", "1")});
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.row(0).fullPath(), "/x/only.mp3");
    model.setRows({});
    EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(TrackListModelTest, RowsAreDraggedOutAsFilesAndTrackIds) {
    const Qt::ItemFlags flags = model.flags(model.index(0, ColTime));
    EXPECT_TRUE(flags & Qt::ItemIsDragEnabled);
    EXPECT_TRUE(flags & Qt::ItemIsSelectable);
    EXPECT_FALSE(flags & Qt::ItemIsEditable);
    EXPECT_FALSE(flags & Qt::ItemIsDropEnabled);
    EXPECT_EQ(model.supportedDragActions(), Qt::MoveAction | Qt::CopyAction);
    EXPECT_EQ(model.mimeTypes(), QStringList({"text/uri-list", "application/x-tarl-tracks"}));

    const struct {
        const char* name;
        QModelIndexList indexes;
        QStringList paths;
        QByteArray ids;
    } cases[] = {
        // A selection of whole rows, handed over cell by cell and out of order.
        {"rows 2 and 0",
         {model.index(2, 3), model.index(0, 0), model.index(2, 0), model.index(0, 11)},
         {"/music/rock/b.mp3", "/music/my #1 & co/Ça va?.mp3"},
         "12\n5000000000\n"},
        {"one cell", {model.index(1, 5)}, {"/music/rock/a.mp3"}, "7\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<QMimeData> mime(model.mimeData(c.indexes));
        ASSERT_TRUE(mime);
        QStringList paths;
        for (const QUrl& url : mime->urls()) {
            EXPECT_TRUE(url.isLocalFile());
            paths << url.toLocalFile();
        }
        EXPECT_EQ(paths, c.paths);
        EXPECT_EQ(mime->data("application/x-tarl-tracks"), c.ids);
    }
    EXPECT_EQ(model.mimeData({}), nullptr);
    EXPECT_EQ(model.mimeData({QModelIndex()}), nullptr);
}

} // namespace
} // namespace tarl
