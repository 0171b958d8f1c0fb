#include "browser/LibraryTreeModel.h"
#include "TreeBuildFixture.h"
#include "browser/TreeImage.h"
#include "catalog/CatalogDelete.h"

#include <QAbstractItemModelTester>
#include <QIcon>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace tarl {
namespace {

// Every message Qt writes while a test runs: the model tester reports through warnings.
QStringList* messages = nullptr;

void Collect(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (messages && type != QtDebugMsg && type != QtInfoMsg)
        *messages << text;
}

class LibraryTreeModelTest : public test::TreeBuildFixture {
protected:
    void SetUp() override {
        TreeBuildFixture::SetUp();
        messages = &warnings;
        previous = qInstallMessageHandler(Collect);
        model = std::make_unique<LibraryTreeModel>(tree);
        tester = std::make_unique<QAbstractItemModelTester>(
            model.get(), QAbstractItemModelTester::FailureReportingMode::Warning);

        const QString music = t + "/music/";
        const qint64 rock = hardDisc(music + "rock/", 2);
        const qint64 jazz = hardDisc(music + "jazz/", 1);
        const qint64 disc7 = disc("/media/cd/", 1, "Disc 7", "Disc7");
        const qint64 style = this->style("Rock");
        list(music + "rock/", "a.m3u", rock, style);
        list(music + "rock/", "live/", rock);
        list(music + "jazz/", "b.m3u", jazz, style);
        list("/media/cd/", "c.m3u", disc7);
    }
    void TearDown() override {
        tester.reset();
        model.reset();
        qInstallMessageHandler(previous);
        messages = nullptr;
        TreeBuildFixture::TearDown();
    }

    // Every node reached through the model, depth first, checking the way back to it.
    void walk(const QModelIndex& parent, int* seen) {
        for (int row = 0; row < model->rowCount(parent); ++row) {
            const QModelIndex at = model->index(row, 0, parent);
            TreeNode* node = model->nodeAt(at);
            ASSERT_NE(node, nullptr);
            EXPECT_EQ(model->indexOf(node), at);
            EXPECT_EQ(model->parent(at), parent);
            EXPECT_EQ(at.data().toString(), node->text);
            EXPECT_EQ(at.data(LibraryTreeModel::KeyRole).toString(), node->key);
            EXPECT_EQ(at.data(LibraryTreeModel::TagRole).toString(), node->tag);
            EXPECT_EQ(at.data(LibraryTreeModel::ImageRole).toInt(), node->image);
            const QVariant decoration = at.data(Qt::DecorationRole);
            EXPECT_TRUE(decoration.canConvert<QIcon>()) << node->text.toStdString();
            EXPECT_FALSE(decoration.value<QIcon>().isNull()) << node->text.toStdString();
            ++*seen;
            walk(at, seen);
        }
    }

    int walkAll() {
        int seen = 0;
        walk({}, &seen);
        return seen;
    }

    QStringList warnings;
    QtMessageHandler previous = nullptr;
    std::unique_ptr<LibraryTreeModel> model;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

TEST_F(LibraryTreeModelTest, ShowsBothBuildsWithOneResetEach) {
    QSignalSpy resets(model.get(), &QAbstractItemModel::modelReset);
    QSignalSpy inserts(model.get(), &QAbstractItemModel::rowsInserted);

    BuildTreeByPaths(tree, sources());
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(inserts.count(), 0);
    EXPECT_EQ(walkAll(), tree.nodeCount());
    const QModelIndex root = model->index(0, 0);
    EXPECT_EQ(root.data().toString(), "tarl.mdb");
    EXPECT_EQ(root.data(LibraryTreeModel::TagRole).toString(), "Db");
    EXPECT_EQ(model->rowCount(root), 2); // the group of rock and jazz, and the disc

    ASSERT_TRUE(BuildTreeByStyle(tree, sources()).ok);
    EXPECT_EQ(resets.count(), 2);
    EXPECT_EQ(inserts.count(), 0);
    EXPECT_EQ(walkAll(), tree.nodeCount());
    EXPECT_EQ(model->index(0, 0).data(LibraryTreeModel::KeyRole).toString(), "Unsorted");
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
}

TEST_F(LibraryTreeModelTest, FollowsEditsBetweenBuilds) {
    BuildTreeByPaths(tree, sources());
    QSignalSpy inserts(model.get(), &QAbstractItemModel::rowsInserted);
    QSignalSpy removes(model.get(), &QAbstractItemModel::rowsRemoved);
    QSignalSpy changes(model.get(), &QAbstractItemModel::dataChanged);

    TreeNode* rock = tree.FindNodeByKey(t + "/music/rock/");
    ASSERT_NE(rock, nullptr);
    TreeNode* added = tree.addChild(rock, "new.m3u", TreeImage::Playlist);
    tree.setKey(added, t + "/music/rock/new.m3u");
    tree.setText(rock, "rock (3 lists)");
    EXPECT_EQ(inserts.count(), 1);
    EXPECT_EQ(changes.count(), 2);
    EXPECT_EQ(model->indexOf(added).row(), 2);
    EXPECT_EQ(model->indexOf(rock).data().toString(), "rock (3 lists)");

    // A delete routine of the catalog takes its node out through the tree.
    ASSERT_TRUE(DeleteList(catalog, drives, t + "/music/rock/a.m3u", &tree));
    EXPECT_EQ(removes.count(), 1);
    EXPECT_EQ(model->rowCount(model->indexOf(rock)), 2);
    EXPECT_EQ(model->indexOf(added).row(), 1);

    tree.remove(tree.FindNodeByKey(t + "/music/"));
    EXPECT_EQ(removes.count(), 2);
    EXPECT_EQ(model->rowCount(model->index(0, 0)), 1);
    EXPECT_EQ(walkAll(), tree.nodeCount());

    // An image index the tree does not use shows no picture rather than an empty one.
    TreeNode* odd = tree.addChild(nullptr, "odd", 9);
    EXPECT_FALSE(model->indexOf(odd).data(Qt::DecorationRole).isValid());
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
}

} // namespace
} // namespace tarl
