#include "browser/TreeBuild.h"

#include "browser/LibraryTree.h"
#include "catalog/CatalogFind.h"
#include "catalog/Connection.h"
#include "platform/Drives.h"
#include "platform/Files.h"
#include "platform/PathRules.h"

#include <QHash>
#include <QSet>
#include <vector>

namespace tarl {

namespace {

// Image indices of the tree's image list.
constexpr int kImageRoot = 1;
constexpr int kImageStyleFilePresent = 2;
constexpr int kImageStyleFileMissing = 3;
constexpr int kImageFolderPresent = 4;
constexpr int kImageFolderMissing = 5;
constexpr int kImagePlaylist = 5;
constexpr int kImageDiscPresent = 6;
constexpr int kImageDiscMissing = 7;
constexpr int kImageUnsorted = 6;
constexpr int kImageTracks = 8;
constexpr int kImageStyle = 10;

const QString kRootText = QStringLiteral("tarl.mdb");
const QString kUnsorted = QStringLiteral("Unsorted");
const QString kHardDiscLabel = QStringLiteral("EOF");
const QString kDiscSeparator = QStringLiteral(":>");

// Catalog ids compare as integers; a value stored as anything else (null, text) equals no id.
bool IdOf(const QVariant& value, qint64* id) {
    const int type = value.typeId();
    if (type != QMetaType::LongLong && type != QMetaType::Int && type != QMetaType::ULongLong &&
        type != QMetaType::UInt)
        return false;
    *id = value.toLongLong();
    return true;
}

QString ListsText(const QString& head, const QVariant& count) {
    return head + QStringLiteral(" (") + count.toString() + QStringLiteral(" lists)");
}

struct VolumeRow {
    qint64 id = 0;
    QString name;
    QVariant m3us;
    QString label;
    QString labelcd;
};

struct ListRow {
    QString path;
    QString file;
};

// Answers VolumeIsCdByName for every name from the volume rows read once. A name carried by
// volumes that disagree is left to the routine itself, whose first row decides.
struct DiscNames {
    enum : quint8 { kDisc = 1, kHardDisc = 2 };
    QHash<QString, quint8> flags;
    QHash<QString, bool> asked;

    void note(const QString& name, const QVariant& isCd) {
        flags[name] |= isCd.toBool() ? kDisc : kHardDisc;
    }

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

// The path view's reads: every volume, and the lists of each volume in the order the catalog
// gives them for "WHERE cd_id = id" (by id), all in one pass over the table. Two statements
// instead of one per volume.
void ReadVolumes(Catalog& catalog, std::vector<VolumeRow>* volumes, DiscNames* discs) {
    if (!catalog.connection.execute(QStringLiteral("SELECT * FROM CD"), catalog.general))
        return;
    for (Recordset& rows = catalog.general; !rows.eof(); rows.moveNext()) {
        VolumeRow row;
        row.id = rows.field(0).toLongLong();
        row.name = rows.field(1).toString();
        row.m3us = rows.field(2);
        row.label = rows.field(3).toString();
        row.labelcd = rows.field(5).toString();
        discs->note(row.name, rows.field(4));
        volumes->push_back(std::move(row));
    }
}

QHash<qint64, std::vector<ListRow>> ReadListsByVolume(Catalog& catalog) {
    QHash<qint64, std::vector<ListRow>> lists;
    if (!catalog.connection.execute(QStringLiteral("SELECT cd_id, path, file FROM M3u ORDER BY id"),
                                    catalog.second))
        return lists;
    for (Recordset& rows = catalog.second; !rows.eof(); rows.moveNext()) {
        qint64 volumeId = 0;
        if (!IdOf(rows.field(0), &volumeId))
            continue;
        lists[volumeId].push_back({rows.field(1).toString(), rows.field(2).toString()});
    }
    return lists;
}

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
    TreeNode* node = tree.TreeAddItem(parent, text, image);
    tree.setKey(node, key);
    return node;
}

TreeNode* AddVolume(LibraryTree& tree, TreeNode* root, const VolumeRow& volume, bool disc,
                    DriveAnswers& answers, const Files& files) {
    if (disc) {
        const int image =
            answers.labelOf(volume.name) == volume.labelcd ? kImageDiscPresent : kImageDiscMissing;
        // A second disc of the same name goes under the first, named by its drive.
        if (!tree.NodeExists(volume.label))
            return AddKeyed(tree, root, ListsText(volume.label, volume.m3us), image, volume.label);
        return AddKeyed(tree, tree.FindNodeByKey(volume.label), ListsText(volume.name, volume.m3us),
                        image, volume.label + kDiscSeparator + volume.name);
    }

    const int image = PathExists(files, volume.name) ? kImageFolderPresent : kImageFolderMissing;
    bool alone = false;
    const QString group = GroupKeyOf(volume.name, answers.drives, &alone);
    if (!tree.NodeExists(group) || alone) {
        TreeNode* node = AddKeyed(tree, root, ListsText(group, volume.m3us), image, group);
        tree.setTag(node, QStringLiteral("Cd"));
    }
    if (!tree.NodeExists(volume.name)) {
        if (TreeNode* parent = tree.FindNodeByKey(group)) {
            QString copy = volume.name;
            AddKeyed(tree, parent, ListsText(LastFolderName(copy), volume.m3us), image,
                     volume.name);
        }
    }
    // The volume is the node keyed by its name: its own, or a node already there under that key.
    if (TreeNode* node = tree.FindNodeByKey(volume.name))
        return node;
    return tree.lastAdded();
}

void AddLists(LibraryTree& tree, Catalog& catalog, DiscNames& discs, TreeNode* volumeNode,
              const VolumeRow& volume, const std::vector<ListRow>& lists) {
    for (const ListRow& list : lists) {
        const QString full = list.path + list.file;
        QString suffix;
        if (list.file.endsWith(u'/')) {
            if (!tree.NodeExists(full)) {
                TreeNode* node = tree.TreeAddItem(volumeNode, list.file, kImageTracks);
                tree.setTag(node, QStringLiteral("Mp3Cd"));
            } else {
                // The folder is a node already (a volume of its own): its tracks show as ".".
                TreeNode* node =
                    tree.TreeAddItem(tree.FindNodeByKey(full), QStringLiteral("."), kImageTracks);
                tree.setTag(node, QStringLiteral("M3uCd"));
                suffix = QStringLiteral(".");
            }
        } else if (list.file != QLatin1String(".")) {
            TreeNode* node = tree.TreeAddItem(volumeNode, list.file, kImagePlaylist);
            tree.setTag(node, QStringLiteral("M3uCd"));
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

struct StyleVolume {
    QString name;
    QString label;
};

struct StyleList {
    QString file;
    QVariant volumeId; // as stored, so an odd value reaches the statements as it would
};

// The style view's reads, made when the build first needs them: the lists of every style in the
// order the catalog gives them for "WHERE nick = id" (by id), and every volume by id.
struct StyleSources {
    explicit StyleSources(Catalog& from) : catalog(from) {}

    Catalog& catalog;
    bool listsRead = false;
    QHash<qint64, std::vector<StyleList>> listsByStyle;
    bool volumesRead = false;
    QHash<qint64, StyleVolume> volumes;
    // Volumes found missing, whose lists this build deleted.
    QSet<qint64> deleted;

    bool readLists() {
        if (listsRead)
            return true;
        if (!catalog.connection.execute(
                QStringLiteral("SELECT nick, file, cd_id FROM M3u ORDER BY id"), catalog.second))
            return false;
        for (Recordset& rows = catalog.second; !rows.eof(); rows.moveNext()) {
            qint64 style = 0;
            if (!IdOf(rows.field(0), &style))
                continue;
            listsByStyle[style].push_back({rows.field(1).toString(), rows.field(2)});
        }
        listsRead = true;
        return true;
    }

    bool readVolumes() {
        if (volumesRead)
            return true;
        if (!catalog.connection.execute(QStringLiteral("SELECT id, name, label FROM CD"),
                                        catalog.third))
            return false;
        for (Recordset& rows = catalog.third; !rows.eof(); rows.moveNext())
            volumes.insert(rows.field(0).toLongLong(),
                           {rows.field(1).toString(), rows.field(2).toString()});
        volumesRead = true;
        return true;
    }

    // The volume of a list: false when a statement failed, *found false when there is none.
    // An id stored oddly (null, text) is looked up with the statement itself, which fails or
    // finds nothing exactly as it always did.
    bool volumeOf(const QVariant& volumeId, StyleVolume* volume, bool* found) {
        qint64 id = 0;
        if (IdOf(volumeId, &id)) {
            if (!readVolumes())
                return false;
            const auto it = volumes.constFind(id);
            *found = it != volumes.cend();
            if (*found)
                *volume = *it;
            return true;
        }
        Recordset& rows = catalog.second;
        if (!catalog.connection.execute(
                "SELECT name,label FROM Cd WHERE (((Cd.id)=" + volumeId.toString() + "))", rows))
            return false;
        *found = !rows.eof();
        if (*found)
            *volume = {rows.field(0).toString(), rows.field(1).toString()};
        return true;
    }

    // Deletes the lists of a volume that is gone. The lists of that volume still to come in this
    // build were deleted with them and are passed over.
    bool deleteListsOf(const QVariant& volumeId) {
        if (!catalog.connection.execute("DELETE FROM M3u WHERE cd_id=" + volumeId.toString()))
            return false;
        qint64 id = 0;
        if (IdOf(volumeId, &id))
            deleted.insert(id);
        return true;
    }

    bool isDeleted(const QVariant& volumeId) const {
        qint64 id = 0;
        return IdOf(volumeId, &id) && deleted.contains(id);
    }
};

// The node of one styled or unsorted list, or none when its volume is missing. False when a
// statement failed.
bool AddStyleList(LibraryTree& tree, StyleSources& sources, const Files& files, TreeNode* parent,
                  const StyleList& list, bool styled) {
    if (sources.isDeleted(list.volumeId))
        return true;
    StyleVolume volume;
    bool found = false;
    if (!sources.volumeOf(list.volumeId, &volume, &found))
        return false;
    if (!found)
        return !styled || sources.deleteListsOf(list.volumeId);

    const bool present = PathExists(files, volume.name + list.file);
    int image = present ? kImageDiscPresent : kImageDiscMissing;
    QString text = list.file + QStringLiteral(" (CD:") + volume.label + QStringLiteral(")");
    if (volume.label == kHardDiscLabel) {
        if (styled)
            image = present ? kImageStyleFilePresent : kImageStyleFileMissing;
        else
            image = present ? kImageFolderPresent : kImageFolderMissing;
        text = list.file + QStringLiteral(" (") + volume.name + QStringLiteral(")");
    }
    TreeNode* node = tree.TreeAddItem(parent, text, image);
    tree.setTag(node, QStringLiteral("M3uNick"));
    tree.setKey(node, volume.label + kDiscSeparator + volume.name + list.file);
    return true;
}

bool Fail(Catalog& catalog, QString* error) {
    if (error)
        *error = catalog.connection.lastError();
    return false;
}

} // namespace

TreeNode* tree_cd_load(LibraryTree& tree, TreeSources sources) {
    RebuildScope rebuild(tree);
    TreeNode* root = tree.addTopLevel(kRootText, kImageRoot);
    tree.setKey(root, kRootText);
    tree.setTag(root, QStringLiteral("Db"));
    root->expanded = true;

    std::vector<VolumeRow> volumes;
    DiscNames discs;
    ReadVolumes(sources.catalog, &volumes, &discs);
    if (volumes.empty())
        return root;
    const QHash<qint64, std::vector<ListRow>> lists = ReadListsByVolume(sources.catalog);
    const std::vector<ListRow> none;
    DriveAnswers answers{sources.drives, {}};

    for (const VolumeRow& volume : volumes) {
        const bool disc = discs.isDisc(sources.catalog, volume.name);
        TreeNode* volumeNode = AddVolume(tree, root, volume, disc, answers, sources.files);
        tree.setTag(volumeNode, QStringLiteral("Cd"));
        const auto it = lists.constFind(volume.id);
        AddLists(tree, sources.catalog, discs, volumeNode, volume, it == lists.cend() ? none : *it);
    }
    return root;
}

bool tree_style_load(LibraryTree& tree, TreeSources sources, QString* error) {
    RebuildScope rebuild(tree);
    TreeNode* unsorted = tree.addTopLevel(kUnsorted, kImageUnsorted);
    tree.setKey(unsorted, kUnsorted);
    tree.setTag(unsorted, kUnsorted);
    TreeNode* root = tree.addTopLevel(kRootText, kImageRoot);
    tree.setKey(root, kRootText);
    root->expanded = true;

    Catalog& catalog = sources.catalog;
    struct Style {
        qint64 id;
        QString name;
    };
    std::vector<Style> styles;
    if (!catalog.connection.execute(QStringLiteral("SELECT * FROM Nick"), catalog.general))
        return Fail(catalog, error);
    for (Recordset& rows = catalog.general; !rows.eof(); rows.moveNext())
        styles.push_back({rows.field(0).toLongLong(), rows.field(1).toString()});

    StyleSources from(catalog);
    for (const Style& style : styles) {
        TreeNode* node = tree.TreeAddItem(root, style.name, kImageStyle);
        tree.setTag(node, QStringLiteral("Nick"));
        tree.setKey(node, style.name);
        if (!from.readLists())
            return Fail(catalog, error);
        for (const StyleList& list : from.listsByStyle.value(style.id)) {
            if (!AddStyleList(tree, from, sources.files, node, list, true))
                return Fail(catalog, error);
        }
    }

    if (!from.readLists())
        return Fail(catalog, error);
    for (const StyleList& list : from.listsByStyle.value(0)) {
        if (!AddStyleList(tree, from, sources.files, unsorted, list, false))
            return Fail(catalog, error);
    }
    return true;
}

QString LastFolderName(QString& path) {
    path.chop(1);
    return path.mid(path.lastIndexOf(u'/') + 1);
}

bool PathExists(const Files& files, const QString& path) {
    if (path.isEmpty())
        return false;
    if (path.endsWith(u'/'))
        return files.isDir(path);
    return files.exists(path) && !files.isDir(path);
}

} // namespace tarl
