#include "ListCommand.h"

#include "Command.h"
#include "browser/LibraryTree.h"
#include "browser/TrackRows.h"
#include "browser/TreeBuild.h"
#include "catalog/engine/Connection.h"
#include "platform/LinuxDrives.h"
#include "platform/LocalFiles.h"
#include "text/PathMap.h"

namespace tarl::tool {

namespace {

int Usage(QTextStream& err) {
    err << "Usage: tarl-catalog list [--by paths|styles] CATALOG KEY\n";
    return kBadUsage;
}

} // namespace

int RunList(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QStringList rest = arguments;
    bool byPaths = true;
    if (!rest.isEmpty() && rest.first() == QLatin1String("--by")) {
        if (rest.size() < 2)
            return Usage(err);
        const QString view = rest.at(1);
        if (view != QLatin1String("paths") && view != QLatin1String("styles"))
            return Usage(err);
        byPaths = view == QLatin1String("paths");
        rest = rest.mid(2);
    }
    if (rest.size() != 2)
        return Usage(err);
    const QString& file = rest.at(0);
    // A folder may be named as this machine reaches it.
    const PathMap pathMap = MachinePathMap();
    const QString key = pathMap.toStored(rest.at(1));

    // Opened as the window opens it: a missing file is an error, never a new catalog.
    Catalog catalog;
    if (!catalog.connection.open(file)) {
        err << "tarl-catalog list: " << catalog.connection.lastError() << "\n";
        return kFailure;
    }
    PrintCatalogNote(catalog.connection, "list", err);
    const LinuxDrives drives;
    const LocalFiles files;
    LibraryTree tree;
    const TreeSources sources{catalog, drives, files, &pathMap};
    if (byPaths) {
        BuildTreeByPaths(tree, sources);
    } else if (const Result<> built = BuildTreeByStyle(tree, sources, ListsOfMissingVolumes::Keep);
               !built) {
        err << "tarl-catalog list: the library tree could not be read: " << built.error << "\n";
        return kFailure;
    }
    const TreeNode* node = key.isEmpty() ? nullptr : tree.FindNodeByKey(key);
    if (!node) {
        err << "tarl-catalog list: no node of the tree by " << (byPaths ? "paths" : "styles")
            << " has the key \"" << key << "\"\n";
        return kFailure;
    }
    const Result<std::vector<TrackRow>> rows =
        TrackRowsForNode(catalog, drives, node->key, node->kind());
    if (!rows) {
        err << "tarl-catalog list: the tracks could not be read: " << rows.error << "\n";
        return kFailure;
    }
    for (const TrackRow& row : rows.value) {
        for (int c = 0; c < TrackColumnCount; ++c) {
            if (c > 0)
                out << '\t';
            out << FieldText(row.columns[static_cast<size_t>(c)]);
        }
        out << '\n';
    }
    return kSuccess;
}

} // namespace tarl::tool
