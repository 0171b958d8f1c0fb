#pragma once

#include "browser/NodeKind.h"
#include "catalog/LibraryReads.h"
#include "text/Result.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace tarl {

// The decisions behind the library tree's context menus and its drag of a list onto a style,
// free of widgets so each rule can be checked on its own: which menu a right click opens, the
// name a new style gets, what "Delete" does to a node, where a dragged node's highlight goes
// and how a list's key splits into the catalog's path and file.

// The menus of the library tree.
enum class TreeMenu {
    None,
    StyleNothing, // "Style Nothing": empty space or a node of no listed kind, style view only
    EditStyle,    // "Edit Style": a style
    M3uStyle,     // "M3u Style": a volume, a folder, a playlist or a list under a style
};

// The menu a right click opens: `hasNode` false over empty space; `byPaths` true in the view by
// paths, where only nodes of the listed kinds have a menu.
TreeMenu ChooseTreeMenu(bool hasNode, NodeKind kind, bool byPaths);

// The text of a new style: "New Style", or "New Style(n)" with the first n from 1 up that no
// node of the tree has as its key (`taken`).
QString NextNewStyleName(const std::function<bool(const QString& key)>& taken);

// What "Delete" of "M3u Style" does to a node of that kind.
enum class NodeDelete { Nothing, Volume, List };
NodeDelete DeleteFor(NodeKind kind);

// A list's place as table M3u stores it, split from a node's key.
struct ListKeyParts {
    QString path; // the folder holding the list, ending in "/"
    QString file; // the list's file, or its folder's name with a trailing "/"
};

// Splits a list's key: the text after a disc's ":>" when there is one; a key ending in "/" (a
// folder of tracks) gives the folder above it as the path, any other the folder part of the key.
ListKeyParts SplitListKey(const QString& key);

// Which node a drag highlights while over `target` (null over empty space): a volume group or a
// style itself, the parent of any other node, nothing over empty space. A dragged volume, style
// or "Unsorted" changes no highlight: `keep` is then true and the highlight stays as it was.
template <typename Node> struct DragHighlight {
    bool keep = false;
    Node* node = nullptr;
};
template <typename Node> DragHighlight<Node> HighlightFor(NodeKind dragged, Node* target) {
    if (dragged == NodeKind::Volume || dragged == NodeKind::Style || dragged == NodeKind::Unsorted)
        return {true, nullptr};
    if (!target)
        return {};
    const NodeKind kind = target->kind();
    if (kind == NodeKind::Volume || kind == NodeKind::Style)
        return {false, target};
    return {false, target->parent};
}

// The file or folder a node's key names: the text after a disc's ":>", the whole key otherwise.
QString KeyPath(const QString& key);

// The folder a node's key names, as "Open Folder" shows it: the text after a disc's ":>", up to
// and including its last "/".
QString FolderOfKey(const QString& key);

// Whether "Create Folder" may make a folder of this name inside the clicked one: not empty, no
// "/" and not "." nor "..", so the new folder (and the volume named after it) is never anywhere
// else. The error is the sentence the person reads.
Result<> CheckNewFolderName(const QString& name);

// The volume a volume node stands for: a hard-disc volume keyed by its folder, a disc keyed by
// its label, or a second disc of that label keyed label + ":>" + its folder. Labels compare
// without case. None for any other key (a node grouping volumes).
std::optional<VolumeRow> VolumeOfNode(const std::vector<VolumeRow>& volumes, const QString& key);

} // namespace tarl
