#pragma once

// VolumeLabelOf lives with the platform services; the tree and its callers use it from here.
#include "platform/VolumeLabelText.h"
#include "text/Result.h"

#include <QString>

namespace tarl {

class LibraryTree;
struct TreeNode;
struct Catalog;
class Drives;
class Files;
class PathMap;

// Where a tree is built from: the catalog, and the machine's drives and files (to tell
// whether a disc is in its drive and whether a folder or playlist is still there), and the
// machine's PathMap, through which a stored folder is looked for; none looks for it as stored.
struct TreeSources {
    Catalog& catalog;
    const Drives& drives;
    const Files& files;
    const PathMap* pathMap = nullptr;
};

// Rebuilds the tree by paths: the root "tarl.mdb", volumes (grouped by parent folder), their
// folders and playlists. Every error is passed over. Returns the root node.
TreeNode* BuildTreeByPaths(LibraryTree& tree, TreeSources sources);

// What the tree by style does with the styled lists whose volume no longer exists: the window
// deletes them from the catalog; a reader that only looks (the command-line list) leaves them
// there. Either way they have no node.
enum class ListsOfMissingVolumes { Delete, Keep };

// Rebuilds the tree by style: "Unsorted", the root "tarl.mdb" with the styles under it and the
// playlists under each style. Lists whose volume no longer exists are deleted from the catalog
// (unless told to keep them). Fails, with the nodes added so far kept, when a catalog query
// fails; the error says why.
Result<> BuildTreeByStyle(LibraryTree& tree, TreeSources sources,
                          ListsOfMissingVolumes missing = ListsOfMissingVolumes::Delete);

} // namespace tarl
