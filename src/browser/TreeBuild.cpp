#include "browser/TreeBuild.h"

#include "browser/LibraryTree.h"
#include "browser/TreeImage.h"
#include "catalog/CatalogFind.h"
#include "catalog/LibraryReads.h"
#include "catalog/engine/Connection.h"
#include "platform/Drives.h"
#include "platform/Files.h"
#include "platform/PathRules.h"
#include "text/PathMap.h"
#include "text/PathText.h"

#include <QHash>
#include <QSet>
#include <vector>

namespace tarl {

namespace {

const QString kRootText = QStringLiteral("tarl.mdb");
const QString kUnsorted = QStringLiteral("Unsorted");
const QString kHardDiscLabel = QStringLiteral("EOF");
const QString kDiscSeparator = QStringLiteral(":>");

QString ListsText(const QString& head, const QVariant& count) {
    return head + QStringLiteral(" (") + count.toString() + QStringLiteral(" lists)");
}

// Answers VolumeIsCdByName for every name from the volume rows read once. A name carried by
// volumes that disagree is left to the routine itself, whose first row decides.
struct DiscNames {
    enum : quint8 { kDisc = 1, kHardDisc = 2 };
    QHash<QString, quint8> flags;
    QHash<QString, bool> asked;

    void note(const VolumeRow& volume) { flags[volume.name] |= volume.isCd ? kDisc : kHardDisc; }

    bool isDisc(Catalog& catalog, const QString& name) {
        const quint8 seen = flags.value(name, 0);
        if (seen != (kDisc | kHardDisc))
            return seen == kDisc;
        const auto it = asked.constFind(name);
        if (it != asked.cend())
            return *it;
        // A failing look-up counts as "not a disc", as every error of this build is passed over.
        const bool disc = VolumeIsCdByName(catalog, name).value;
        asked.insert(name, disc);
        return disc;
    }
};

// Within one rebuild the drives are asked once per root: a rebuild runs to its end without
// yielding, so what it shows is one look at the machine.
struct DriveAnswers {
    const Drives& drives;
    QHash<QString, QString> labels;

    // The label of the medium holding `path`: a disc volume may be any folder of the disc.
    QString labelOf(const QString& path) {
        const QString root = drives.driveRoot(path);
        const auto it = labels.constFind(root);
        if (it != labels.cend())
            return *it;
        const QString label = VolumeLabelOf(drives, root);
        labels.insert(root, label);
        return label;
    }
};

// The key of the node that groups a hard-disc volume: the volume's parent folder, or the volume
// itself when it lies directly in a drive root or is one. *alone says the group key is a drive
// root, which always gets a top node of its own.
QString GroupKeyOf(const QString& name, const Drives& drives, bool* alone) {
    *alone = false;
    const QString parent = name.isEmpty() ? QString() : FolderOf(name.left(name.size() - 1));
    if (parent.isEmpty())
        return name;
    // The drive root of the volume answers for its parent too: a root above the parent is a
    // root above the volume, and the longest one the volume has is either itself, its parent or
    // above both.
    const QString root = DriveOf(name, drives);
    if (root == name) {
        *alone = true;
        return name;
    }
    if (root == parent)
        return name;
    return parent;
}

TreeNode* AddKeyed(LibraryTree& tree, TreeNode* parent, const QString& text, int image,
                   const QString& key) {
    TreeNode* node = tree.addChild(parent, text, image);
    tree.setKey(node, key);
    return node;
}

// Whether the stored path is there on this machine.
bool Present(const TreeSources& machine, const QString& stored) {
    return PathExists(machine.files, machine.pathMap ? machine.pathMap->toLocal(stored) : stored);
}

TreeNode* AddVolume(LibraryTree& tree, TreeNode* root, const VolumeRow& volume, bool disc,
                    DriveAnswers& answers, const TreeSources& machine) {
    if (disc) {
        const int image = answers.labelOf(volume.name) == volume.labelCd ? TreeImage::Disc
                                                                         : TreeImage::DiscMissing;
        // A second disc of the same name goes under the first, named by its drive.
        if (!tree.NodeExists(volume.label))
            return AddKeyed(tree, root, ListsText(volume.label, volume.m3us), image, volume.label);
        return AddKeyed(tree, tree.FindNodeByKey(volume.label), ListsText(volume.name, volume.m3us),
                        image, volume.label + kDiscSeparator + volume.name);
    }

    const int image = Present(machine, volume.name) ? TreeImage::Folder : TreeImage::FolderMissing;
    bool alone = false;
    const QString group = GroupKeyOf(volume.name, answers.drives, &alone);
    if (!tree.NodeExists(group) || alone) {
        TreeNode* node = AddKeyed(tree, root, ListsText(group, volume.m3us), image, group);
        tree.setKind(node, NodeKind::Volume);
    }
    if (!tree.NodeExists(volume.name)) {
        if (TreeNode* parent = tree.FindNodeByKey(group)) {
            AddKeyed(tree, parent, ListsText(LastFolderName(volume.name), volume.m3us), image,
                     volume.name);
        }
    }
    // The volume is the node keyed by its name: its own, or a node already there under that key.
    if (TreeNode* node = tree.FindNodeByKey(volume.name))
        return node;
    return tree.lastAdded();
}

void AddLists(LibraryTree& tree, Catalog& catalog, DiscNames& discs, TreeNode* volumeNode,
              const VolumeRow& volume, const std::vector<VolumeListRow>& lists) {
    for (const VolumeListRow& list : lists) {
        const QString full = list.path + list.file;
        QString suffix;
        if (list.file.endsWith(u'/')) {
            if (!tree.NodeExists(full)) {
                TreeNode* node = tree.addChild(volumeNode, list.file, TreeImage::TrackFolder);
                tree.setKind(node, NodeKind::TrackFolder);
            } else {
                // The folder is a node already (a volume of its own): its tracks show as ".".
                TreeNode* node = tree.addChild(tree.FindNodeByKey(full), QStringLiteral("."),
                                               TreeImage::TrackFolder);
                tree.setKind(node, NodeKind::Playlist);
                suffix = QStringLiteral(".");
            }
        } else if (list.file != QLatin1String(".")) {
            TreeNode* node = tree.addChild(volumeNode, list.file, TreeImage::Playlist);
            tree.setKind(node, NodeKind::Playlist);
        }
        // A "." row adds no node: its key goes to the node added before it.
        const QString key = discs.isDisc(catalog, list.path)
                                ? volume.label + kDiscSeparator + full + suffix
                                : full + suffix;
        tree.setKey(tree.lastAdded(), key);
    }
}

// Closes a rebuild whatever way the build ends.
class RebuildScope {
public:
    explicit RebuildScope(LibraryTree& tree) : tree_(tree) {
        tree_.beginRebuild();
        tree_.clear();
    }
    ~RebuildScope() { tree_.endRebuild(); }
    RebuildScope(const RebuildScope&) = delete;
    RebuildScope& operator=(const RebuildScope&) = delete;

private:
    LibraryTree& tree_;
};

// The style view's reads, made when the build first needs them: the lists of every style, and
// every volume by id.
struct StyleSources {
    StyleSources(Catalog& from, ListsOfMissingVolumes missingVolumes)
        : catalog(from), missing(missingVolumes) {}

    Catalog& catalog;
    ListsOfMissingVolumes missing;
    bool listsRead = false;
    QHash<qint64, std::vector<StyleListRow>> listsByStyle;
    bool volumesRead = false;
    QHash<qint64, VolumeNameLabel> volumes;
    // Volumes found missing, whose lists this build deleted.
    QSet<qint64> deleted;

    bool readLists() {
        if (listsRead)
            return true;
        Lookup<QHash<qint64, std::vector<StyleListRow>>> read = ReadListsByStyle(catalog);
        if (!read.ok)
            return false;
        listsByStyle = std::move(read.value);
        listsRead = true;
        return true;
    }

    Result<> readVolumes() {
        if (volumesRead)
            return {};
        Lookup<QHash<qint64, VolumeNameLabel>> read = ReadVolumeNamesById(catalog);
        if (!read.ok)
            return Result<>::failed(read.error);
        volumes = std::move(read.value);
        volumesRead = true;
        return {};
    }

    // The volume of a list: failed when a statement failed, empty when there is none. An id
    // stored oddly (null, text) is looked up by a statement of its own, which fails or finds
    // nothing exactly as it always did.
    Lookup<std::optional<VolumeNameLabel>> volumeOf(const QVariant& volumeId) {
        const std::optional<qint64> id = StoredIdOf(volumeId);
        if (!id)
            return FindVolumeByStoredId(catalog, volumeId);
        if (const Result<> read = readVolumes(); !read)
            return Lookup<std::optional<VolumeNameLabel>>::failed(read.error);
        const auto it = volumes.constFind(*id);
        if (it == volumes.cend())
            return {std::nullopt};
        return {*it};
    }

    // Deletes the lists of a volume that is gone. The lists of that volume still to come in this
    // build were deleted with them and are passed over.
    bool deleteListsOf(const QVariant& volumeId) {
        if (!DeleteListsOfVolume(catalog, volumeId))
            return false;
        if (const std::optional<qint64> id = StoredIdOf(volumeId))
            deleted.insert(*id);
        return true;
    }

    bool isDeleted(const QVariant& volumeId) const {
        const std::optional<qint64> id = StoredIdOf(volumeId);
        return id && deleted.contains(*id);
    }
};

// The node of one styled or unsorted list, or none when its volume is missing. False when a
// statement failed.
bool AddStyleList(LibraryTree& tree, StyleSources& sources, const TreeSources& machine,
                  TreeNode* parent, const StyleListRow& list, bool styled) {
    if (sources.isDeleted(list.volumeId))
        return true;
    const Lookup<std::optional<VolumeNameLabel>> found = sources.volumeOf(list.volumeId);
    if (!found.ok)
        return false;
    if (!found.value) {
        const bool keep = !styled || sources.missing == ListsOfMissingVolumes::Keep;
        return keep || sources.deleteListsOf(list.volumeId);
    }
    const VolumeNameLabel& volume = *found.value;

    const bool present = Present(machine, volume.name + list.file);
    int image = present ? TreeImage::Disc : TreeImage::DiscMissing;
    QString text = list.file + QStringLiteral(" (CD:") + volume.label + QStringLiteral(")");
    if (volume.label == kHardDiscLabel) {
        if (styled)
            image = present ? TreeImage::StyleFilePresent : TreeImage::StyleFileMissing;
        else
            image = present ? TreeImage::Folder : TreeImage::FolderMissing;
        text = list.file + QStringLiteral(" (") + volume.name + QStringLiteral(")");
    }
    TreeNode* node = tree.addChild(parent, text, image);
    tree.setKind(node, NodeKind::StyleList);
    tree.setKey(node, volume.label + kDiscSeparator + volume.name + list.file);
    return true;
}

Result<> Fail(Catalog& catalog) {
    return Result<>::failed(catalog.connection.lastError());
}

} // namespace

TreeNode* BuildTreeByPaths(LibraryTree& tree, TreeSources sources) {
    RebuildScope rebuild(tree);
    TreeNode* root = tree.addTopLevel(kRootText, TreeImage::Catalog);
    tree.setKey(root, kRootText);
    tree.setKind(root, NodeKind::Catalog);
    root->expanded = true;

    // Every error is passed over: a failed read builds the tree from what it has.
    const std::vector<VolumeRow> volumes = ReadVolumes(sources.catalog).value;
    if (volumes.empty())
        return root;
    DiscNames discs;
    for (const VolumeRow& volume : volumes)
        discs.note(volume);
    const QHash<qint64, std::vector<VolumeListRow>> lists =
        ReadListsByVolume(sources.catalog).value;
    const std::vector<VolumeListRow> none;
    DriveAnswers answers{sources.drives, {}};

    for (const VolumeRow& volume : volumes) {
        const bool disc = discs.isDisc(sources.catalog, volume.name);
        TreeNode* volumeNode = AddVolume(tree, root, volume, disc, answers, sources);
        if (volumeNode->kind() == NodeKind::TrackFolder) {
            // A folder of tracks listed before is this volume's folder too (a playlist found in
            // it later): the node becomes the volume, and its tracks show as ".", as when the
            // volume came first.
            TreeNode* own = tree.addChild(volumeNode, QStringLiteral("."), TreeImage::TrackFolder);
            tree.setKind(own, NodeKind::Playlist);
            tree.setKey(own, volumeNode->key + QStringLiteral("."));
        }
        tree.setKind(volumeNode, NodeKind::Volume);
        const auto it = lists.constFind(volume.id);
        AddLists(tree, sources.catalog, discs, volumeNode, volume, it == lists.cend() ? none : *it);
    }
    return root;
}

Result<> BuildTreeByStyle(LibraryTree& tree, TreeSources sources, ListsOfMissingVolumes missing) {
    RebuildScope rebuild(tree);
    TreeNode* unsorted = tree.addTopLevel(kUnsorted, TreeImage::Unsorted);
    tree.setKey(unsorted, kUnsorted);
    tree.setKind(unsorted, NodeKind::Unsorted);
    TreeNode* root = tree.addTopLevel(kRootText, TreeImage::Catalog);
    tree.setKey(root, kRootText);
    root->expanded = true;

    Catalog& catalog = sources.catalog;
    const Lookup<std::vector<StyleRow>> styles = ReadStyles(catalog);
    if (!styles.ok)
        return Fail(catalog);

    StyleSources from(catalog, missing);
    for (const StyleRow& style : styles.value) {
        TreeNode* node = tree.addChild(root, style.name, TreeImage::Style);
        tree.setKind(node, NodeKind::Style);
        tree.setKey(node, style.name);
        if (!from.readLists())
            return Fail(catalog);
        for (const StyleListRow& list : from.listsByStyle.value(style.id)) {
            if (!AddStyleList(tree, from, sources, node, list, true))
                return Fail(catalog);
        }
    }

    if (!from.readLists())
        return Fail(catalog);
    for (const StyleListRow& list : from.listsByStyle.value(0)) {
        if (!AddStyleList(tree, from, sources, unsorted, list, false))
            return Fail(catalog);
    }
    return {};
}

} // namespace tarl
