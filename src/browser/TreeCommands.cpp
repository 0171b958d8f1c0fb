#include "browser/TreeCommands.h"

#include "catalog/engine/UnicodeNoCase.h"
#include "text/PathText.h"

namespace tarl {

namespace {
const QString kDiscSeparator = QStringLiteral(":>");

QString AfterDiscSeparator(const QString& key) {
    const qsizetype at = DiscSeparatorIn(key);
    return at < 0 ? key : key.mid(at + kDiscSeparator.size());
}
} // namespace

TreeMenu ChooseTreeMenu(bool hasNode, NodeKind kind, bool byPaths) {
    const TreeMenu otherwise = byPaths ? TreeMenu::None : TreeMenu::StyleNothing;
    if (!hasNode)
        return otherwise;
    switch (kind) {
    case NodeKind::Volume:
    case NodeKind::Playlist:
    case NodeKind::TrackFolder:
    case NodeKind::StyleList:
        return TreeMenu::M3uStyle;
    case NodeKind::Style:
        return TreeMenu::EditStyle;
    default:
        return otherwise;
    }
}

QString NextNewStyleName(const std::function<bool(const QString& key)>& taken) {
    QString name = QStringLiteral("New Style");
    for (int n = 1; taken(name); ++n)
        name = QStringLiteral("New Style(%1)").arg(n);
    return name;
}

NodeDelete DeleteFor(NodeKind kind) {
    if (kind == NodeKind::Volume)
        return NodeDelete::Volume;
    if (kind == NodeKind::TrackFolder)
        return NodeDelete::List;
    return NodeDelete::Nothing;
}

ListKeyParts SplitListKey(const QString& key) {
    const QString list = AfterDiscSeparator(key);
    const QString path = list.endsWith(u'/') ? FolderOf(list.chopped(1)) : FolderOf(list);
    return {path, list.mid(path.size())};
}

QString KeyPath(const QString& key) {
    return AfterDiscSeparator(key);
}

QString FolderOfKey(const QString& key) {
    return FolderOf(AfterDiscSeparator(key));
}

Result<> CheckNewFolderName(const QString& name) {
    if (name.isEmpty())
        return Result<>::failed(QStringLiteral("A folder needs a name."));
    if (name.contains(u'/'))
        return Result<>::failed(
            QStringLiteral("The name \"%1\" holds a \"/\": a new folder goes inside the one "
                           "clicked, under a name of its own.")
                .arg(name));
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return Result<>::failed(
            QStringLiteral("The name \"%1\" is the folder itself or the one above it.").arg(name));
    return {};
}

std::optional<VolumeRow> VolumeOfNode(const std::vector<VolumeRow>& volumes, const QString& key) {
    const qsizetype separator = DiscSeparatorIn(key);
    const bool disc = separator >= 0 || !key.contains(u'/');
    const QString label = separator >= 0 ? key.left(separator) : key;
    const QString name = separator >= 0 ? AfterDiscSeparator(key) : FolderOf(key);
    for (const VolumeRow& volume : volumes) {
        if (!disc && volume.name == name && volume.label == QLatin1String("EOF"))
            return volume;
        if (disc && volume.isCd && UnicodeNoCase::compare(volume.label, label) == 0 &&
            (separator < 0 || volume.name == name))
            return volume;
    }
    return std::nullopt;
}

} // namespace tarl
