#include "browser/TreeCommands.h"

#include "support/QtPrinters.h"

#include <QSet>
#include <gtest/gtest.h>

namespace tarl {
namespace {

struct MenuCase {
    const char* name;
    bool hasNode;
    NodeKind kind;
    bool byPaths;
    TreeMenu menu;
};

const MenuCase kMenus[] = {
    {"empty space, style view", false, NodeKind::None, false, TreeMenu::StyleNothing},
    {"empty space, path view", false, NodeKind::None, true, TreeMenu::None},
    {"a volume", true, NodeKind::Volume, true, TreeMenu::M3uStyle},
    {"a folder of tracks", true, NodeKind::TrackFolder, true, TreeMenu::M3uStyle},
    {"a playlist", true, NodeKind::Playlist, true, TreeMenu::M3uStyle},
    {"a list under a style", true, NodeKind::StyleList, false, TreeMenu::M3uStyle},
    {"a style", true, NodeKind::Style, false, TreeMenu::EditStyle},
    {"Unsorted", true, NodeKind::Unsorted, false, TreeMenu::StyleNothing},
    {"the root, style view", true, NodeKind::None, false, TreeMenu::StyleNothing},
    {"the root, path view", true, NodeKind::Catalog, true, TreeMenu::None},
};

TEST(TreeCommands, ARightClickOpensTheMenuOfTheNodesKindAndView) {
    for (const MenuCase& c : kMenus) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ChooseTreeMenu(c.hasNode, c.kind, c.byPaths), c.menu);
    }
}

TEST(TreeCommands, ANewStyleTakesTheFirstFreeNumber) {
    QSet<QString> keys;
    const auto taken = [&keys](const QString& key) { return keys.contains(key); };
    const QStringList expected{"New Style", "New Style(1)", "New Style(2)"};
    for (const QString& name : expected) {
        EXPECT_EQ(NextNewStyleName(taken), name);
        keys.insert(name);
    }
    keys.remove("New Style(1)");
    EXPECT_EQ(NextNewStyleName(taken), "New Style(1)");
}

struct SplitCase {
    const char* name;
    QString key;
    QString path;
    QString file;
};

const SplitCase kSplits[] = {
    {"a folder list under a style", "EOF:>/music/rock/", "/music/", "rock/"},
    {"a playlist on a disc", "DISC7:>/media/cd/mix.m3u", "/media/cd/", "mix.m3u"},
    {"a key with no disc part", "/music/jazz/", "/music/", "jazz/"},
    {"a quote stays as it is", "EOF:>/music/rock'n/", "/music/", "rock'n/"},
};

TEST(TreeCommands, AListsKeySplitsIntoThePathAndFileOfItsRow) {
    for (const SplitCase& c : kSplits) {
        SCOPED_TRACE(c.name);
        const ListKeyParts parts = SplitListKey(c.key);
        EXPECT_EQ(parts.path, c.path);
        EXPECT_EQ(parts.file, c.file);
    }
}

TEST(TreeCommands, DeleteActsOnVolumesAndFoldersOfTracksOnly) {
    EXPECT_EQ(DeleteFor(NodeKind::Volume), NodeDelete::Volume);
    EXPECT_EQ(DeleteFor(NodeKind::TrackFolder), NodeDelete::List);
    for (NodeKind other : {NodeKind::StyleList, NodeKind::Playlist, NodeKind::Style})
        EXPECT_EQ(DeleteFor(other), NodeDelete::Nothing);
}

struct Node {
    NodeKind k;
    Node* parent = nullptr;
    NodeKind kind() const { return k; }
};

TEST(TreeCommands, TheHighlightGoesToAStyleOrVolumeOrTheParentOfAnyOtherNode) {
    Node style{NodeKind::Style};
    Node list{NodeKind::StyleList, &style};
    Node volume{NodeKind::Volume};
    struct Case {
        const char* name;
        NodeKind dragged;
        Node* over;
        DragHighlight<Node> expected;
    };
    const Case cases[] = {
        {"a list over a style", NodeKind::StyleList, &style, {false, &style}},
        {"a list over another list", NodeKind::StyleList, &list, {false, &style}},
        {"a list over a volume", NodeKind::StyleList, &volume, {false, &volume}},
        {"a list over empty space", NodeKind::StyleList, nullptr, {false, nullptr}},
        {"a style dragged", NodeKind::Style, &list, {true, nullptr}},
        {"a volume dragged", NodeKind::Volume, &style, {true, nullptr}},
        {"Unsorted dragged", NodeKind::Unsorted, &style, {true, nullptr}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const DragHighlight<Node> h = HighlightFor(c.dragged, c.over);
        EXPECT_EQ(h.keep, c.expected.keep);
        EXPECT_EQ(h.node, c.expected.node);
    }
}

TEST(TreeCommands, TheFolderOfAKeyLeavesOutTheDiscPart) {
    EXPECT_EQ(FolderOfKey("DISC7:>/media/cd/mix.m3u"), "/media/cd/");
    EXPECT_EQ(FolderOfKey("/music/rock/"), "/music/rock/");
}

} // namespace
} // namespace tarl

namespace tarl {
namespace {

TEST(TreeCommands, AVolumeNodeFindsItsVolumeByFolderOrByDiscLabel) {
    const std::vector<VolumeRow> volumes{
        {1, "/music/", 12, "EOF", false, ""},
        {2, "/media/cd/", 3, "Disc1", true, "MY DISC"},
        {3, "/media/cd2/", 4, "Disc1", true, "OTHER"},
    };
    const struct {
        const char* name;
        QString key;
        qint64 id; // 0 for none
    } cases[] = {
        {"a hard-disc volume", "/music/", 1},
        {"a disc keyed by its label, case aside", "disc1", 2},
        {"a second disc of that label", "Disc1:>/media/cd2/", 3},
        {"a group of volumes", "/", 0},
        {"a label no disc has", "Disc9", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<VolumeRow> found = VolumeOfNode(volumes, c.key);
        EXPECT_EQ(found ? found->id : 0, c.id);
    }
}

} // namespace
} // namespace tarl
