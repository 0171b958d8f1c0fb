#include "TreeCommand.h"

#include "Command.h"
#include "browser/LibraryTree.h"
#include "browser/TreeBuild.h"
#include "catalog/engine/Connection.h"
#include "platform/LinuxDrives.h"
#include "platform/LocalFiles.h"
#include "text/PathMap.h"

namespace tarl::tool {

namespace {

int Usage(QTextStream& err) {
    err << "Usage: tarl-catalog tree [--by paths|styles] CATALOG\n";
    return kBadUsage;
}

void Print(const TreeNode& node, int depth, QTextStream& out) {
    out << TreeLine(node, depth) << '\n';
    for (const auto& child : node.children)
        Print(*child, depth + 1, out);
}

} // namespace

QString TreeLine(const TreeNode& node, int depth) {
    return QString(depth * 2, u' ') + FieldText(node.text) + u'\t' + FieldText(node.key) + u'\t' +
           FieldText(node.tag) + u'\t' + QString::number(node.image);
}

int RunTree(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QStringList rest = arguments;
    bool byPaths = true;
    if (!rest.isEmpty() && rest.first() == QLatin1String("--by")) {
        if (rest.size() < 2)
            return Usage(err);
        const QString& view = rest.at(1);
        if (view != QLatin1String("paths") && view != QLatin1String("styles"))
            return Usage(err);
        byPaths = view == QLatin1String("paths");
        rest = rest.mid(2);
    }
    if (rest.size() != 1 || rest.first().startsWith(u'-'))
        return Usage(err);

    // Opened as the window opens it: a missing file is an error, never a new catalog.
    Catalog catalog;
    if (!catalog.connection.open(rest.first())) {
        err << "tarl-catalog tree: " << catalog.connection.lastError() << "\n";
        return kFailure;
    }
    PrintCatalogNote(catalog.connection, "tree", err);
    const LinuxDrives drives;
    const LocalFiles files;
    LibraryTree tree;
    const PathMap pathMap = MachinePathMap();
    const TreeSources sources{catalog, drives, files, &pathMap};
    Result<> built;
    if (byPaths)
        BuildTreeByPaths(tree, sources);
    else
        built = BuildTreeByStyle(tree, sources);

    for (const auto& node : tree.topLevel())
        Print(*node, 0, out);
    if (!built) {
        out.flush();
        err << "tarl-catalog tree: the tree by styles stopped at a failing statement: "
            << built.error << "\n";
        return kFailure;
    }
    return kSuccess;
}

} // namespace tarl::tool
