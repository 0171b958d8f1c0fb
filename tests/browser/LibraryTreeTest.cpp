#include "browser/LibraryTree.h"
#include "catalog/CatalogDelete.h"
#include "catalog/RecordingFiles.h"
#include "catalog/RoutineFixture.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

// Writes down what the tree tells its observer.
class Recorder : public LibraryTreeObserver {
public:
    void treeAboutToReset() override { calls << "aboutToReset"; }
    void treeReset() override { calls << "reset"; }
    void nodeAboutToBeAdded(TreeNode* parent, int row) override {
        calls << QString("aboutToAdd %1 %2").arg(parent ? parent->text : "-").arg(row);
    }
    void nodeAdded() override { calls << "added"; }
    void nodeAboutToBeRemoved(TreeNode* node) override {
        calls << QString("aboutToRemove %1 %2").arg(node->text).arg(node->row);
    }
    void nodeRemoved() override { calls << "removed"; }
    void nodeChanged(TreeNode* node) override { calls << "changed " + node->text; }

    QStringList calls;
};

TreeNode* Keyed(LibraryTree& tree, TreeNode* parent, const QString& text) {
    TreeNode* node = tree.addChild(parent, text, 4);
    EXPECT_TRUE(tree.setKey(node, text));
    return node;
}

QStringList Texts(const std::vector<std::unique_ptr<TreeNode>>& nodes) {
    QStringList texts;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        EXPECT_EQ(nodes[i]->row, static_cast<int>(i)) << nodes[i]->text.toStdString();
        texts << nodes[i]->text;
    }
    return texts;
}

TEST(LibraryTree, KeysAreUniqueAndATakenKeyLeavesTheNodeAsItWas) {
    LibraryTree tree;
    TreeNode* a = tree.addTopLevel("a", 1);
    TreeNode* b = tree.addChild(a, "b", 2);
    EXPECT_EQ(tree.lastAdded(), b);
    EXPECT_EQ(b->parent, a);

    EXPECT_TRUE(tree.setKey(a, "/music/"));
    EXPECT_FALSE(tree.setKey(b, "/music/"));
    EXPECT_EQ(b->key, "");
    EXPECT_EQ(tree.FindNodeByKey("/music/"), a);
    EXPECT_FALSE(tree.NodeExists("/Music/")); // keys are paths: case counts

    // A node given a new key lets go of its old one.
    EXPECT_TRUE(tree.setKey(a, "/music/."));
    EXPECT_FALSE(tree.NodeExists("/music/"));
    EXPECT_EQ(tree.FindNodeByKey("/music/."), a);
    EXPECT_TRUE(tree.setKey(b, "/music/"));
    // A taken key refused to a node that has one keeps the one it has.
    EXPECT_FALSE(tree.setKey(a, "/music/"));
    EXPECT_EQ(a->key, "/music/.");
    // Its own key again changes nothing.
    EXPECT_TRUE(tree.setKey(a, "/music/."));
    // No key at all is never found.
    EXPECT_TRUE(tree.setKey(a, ""));
    EXPECT_FALSE(tree.NodeExists(""));
    EXPECT_EQ(tree.FindNodeByKey(""), nullptr);
    EXPECT_EQ(tree.FindNodeByKey("/music/."), nullptr);
}

TEST(LibraryTree, FindsEveryNodeByKeyWhateverTheNumberOfNodes) {
    // More nodes than a 16-bit counter could visit.
    constexpr int kNodes = 70000;
    LibraryTree tree;
    TreeNode* root = tree.addTopLevel("root", 1);
    std::vector<TreeNode*> nodes;
    for (int i = 0; i < kNodes; ++i) {
        nodes.push_back(tree.addChild(root, QString::number(i), 5));
        tree.setKey(nodes.back(), "/k/" + QString::number(i));
    }
    EXPECT_EQ(tree.nodeCount(), kNodes + 1);
    for (const int i : {0, 32766, 32767, 32768, 65535, 65536, kNodes - 1}) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(tree.NodeExists("/k/" + QString::number(i)));
        EXPECT_EQ(tree.FindNodeByKey("/k/" + QString::number(i)), nodes[std::size_t(i)]);
        EXPECT_EQ(nodes[std::size_t(i)]->row, i);
    }
    EXPECT_FALSE(tree.NodeExists("/k/" + QString::number(kNodes)));
}

TEST(LibraryTree, RemovingANodeDropsItsBranchItsKeysAndRenumbersTheRest) {
    LibraryTree tree;
    TreeNode* root = Keyed(tree, nullptr, "root");
    Keyed(tree, root, "a");
    TreeNode* b = Keyed(tree, root, "b");
    Keyed(tree, b, "b1");
    Keyed(tree, b, "b2");
    Keyed(tree, root, "c");
    TreeNode* d = Keyed(tree, root, "d");
    EXPECT_EQ(tree.nodeCount(), 7);

    tree.remove(b);
    EXPECT_EQ(Texts(root->children), (QStringList{"a", "c", "d"}));
    EXPECT_EQ(tree.nodeCount(), 4);
    for (const char* gone : {"b", "b1", "b2"})
        EXPECT_FALSE(tree.NodeExists(gone)) << gone;
    EXPECT_EQ(tree.FindNodeByKey("d"), d);

    // The catalog's routines remove by key; an unknown key is no error.
    LibraryTreeEdits& edits = tree;
    EXPECT_TRUE(edits.hasNode("a"));
    edits.removeNode("a");
    edits.removeNode("nothing");
    EXPECT_EQ(Texts(root->children), (QStringList{"c", "d"}));
    EXPECT_FALSE(edits.hasNode("a"));

    // The last added node gone, the next key has no node to go to.
    tree.remove(d);
    EXPECT_EQ(tree.lastAdded(), nullptr);
    EXPECT_FALSE(tree.setKey(tree.lastAdded(), "x"));

    // A node of another tree is not this tree's to remove.
    LibraryTree other;
    tree.remove(other.addTopLevel("root", 1));
    EXPECT_EQ(other.nodeCount(), 1);
    EXPECT_EQ(tree.nodeCount(), 2);

    tree.clear();
    EXPECT_EQ(tree.nodeCount(), 0);
    EXPECT_TRUE(tree.topLevel().empty());
    EXPECT_FALSE(tree.NodeExists("root"));
    EXPECT_EQ(tree.lastAdded(), nullptr);
}

TEST(LibraryTree, TellsItsObserverEachChangeOrOneResetForARebuild) {
    LibraryTree tree;
    Recorder recorder;
    tree.setObserver(&recorder);

    TreeNode* root = tree.addTopLevel("root", 1);
    TreeNode* a = tree.addChild(root, "a", 4);
    tree.addChild(root, "b", 4);
    tree.setKey(a, "/a/");
    tree.setTag(a, "Cd");
    tree.setText(a, "a2");
    tree.setImage(a, 5);
    tree.setImage(a, 5); // no change, no notice
    tree.remove(a);
    EXPECT_EQ(recorder.calls, (QStringList{
                                  "aboutToAdd - 0",
                                  "added",
                                  "aboutToAdd root 0",
                                  "added",
                                  "aboutToAdd root 1",
                                  "added",
                                  "changed a",
                                  "changed a",
                                  "changed a2",
                                  "changed a2",
                                  "aboutToRemove a2 0",
                                  "removed",
                              }));

    recorder.calls.clear();
    tree.beginRebuild();
    tree.beginRebuild(); // nested: still one reset
    tree.clear();
    TreeNode* again = tree.addTopLevel("root", 1);
    tree.setKey(again, "root");
    tree.addChild(again, "x", 4);
    tree.endRebuild();
    EXPECT_EQ(recorder.calls, QStringList{"aboutToReset"});
    tree.endRebuild();
    tree.endRebuild(); // unbalanced: ignored
    EXPECT_EQ(recorder.calls, (QStringList{"aboutToReset", "reset"}));

    recorder.calls.clear();
    tree.clear();
    EXPECT_EQ(recorder.calls, (QStringList{"aboutToReset", "reset"}));
}

class LibraryTreeEditsTest : public test::RoutineFixture {};

TEST_F(LibraryTreeEditsTest, TheCatalogsDeleteRoutinesRemoveTheirNodes) {
    const qint64 volume =
        insert("INSERT INTO CD (name,m3us,label,isCd) VALUES ('/music/',2,'EOF','0')");
    run(QString("INSERT INTO M3u (path,file,cd_id,mp3s) VALUES ('/music/','a.m3u',%1,0)")
            .arg(volume));
    run(QString("INSERT INTO M3u (path,file,cd_id,mp3s) VALUES ('/music/','rock/',%1,0)")
            .arg(volume));
    run("INSERT INTO Nick (nick) VALUES ('Jazz')");
    LibraryTree tree;
    TreeNode* root = Keyed(tree, nullptr, "tarl.mdb");
    TreeNode* music = Keyed(tree, root, "/music/");
    Keyed(tree, music, "/music/a.m3u");
    Keyed(tree, music, "/music/rock/");
    Keyed(tree, root, "Jazz");

    ASSERT_TRUE(DeleteList(catalog, drives, "/music/a.m3u", &tree));
    EXPECT_EQ(Texts(music->children), QStringList{"/music/rock/"});
    ASSERT_TRUE(DeleteStyle(catalog, "Jazz", &tree));
    EXPECT_FALSE(tree.NodeExists("Jazz"));

    test::RecordingFiles files;
    EXPECT_TRUE(DeleteVolume(catalog, drives, files, "/music/", &tree));
    EXPECT_EQ(Texts(tree.topLevel()), QStringList{"tarl.mdb"});
    EXPECT_TRUE(root->children.empty());
    EXPECT_EQ(tree.nodeCount(), 1);
    EXPECT_EQ(count("M3u"), 0);
}

} // namespace
} // namespace tarl
