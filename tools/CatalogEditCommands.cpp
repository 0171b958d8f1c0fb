#include "CatalogEditCommands.h"

#include "Command.h"
#include "browser/LibraryTree.h"
#include "browser/TreeBuild.h"
#include "browser/TreeCommands.h"
#include "catalog/CatalogDelete.h"
#include "catalog/CatalogFind.h"
#include "catalog/CatalogInsert.h"
#include "catalog/CatalogUpdate.h"
#include "catalog/engine/Connection.h"
#include "platform/LinuxDrives.h"
#include "platform/LocalFiles.h"
#include "text/PathMap.h"

namespace tarl::tool {

namespace {

// Opened as the window opens it: a missing file is an error, never a new catalog.
bool Open(Catalog& catalog, const QString& file, const char* command, QTextStream& err) {
    if (catalog.connection.open(file)) {
        PrintCatalogNote(catalog.connection, command, err);
        return true;
    }
    err << "tarl-catalog " << command << ": " << catalog.connection.lastError() << "\n";
    return false;
}

int Failed(const char* command, const QString& why, QTextStream& err) {
    err << "tarl-catalog " << command << ": " << why << "\n";
    return kFailure;
}

int Done(const Result<>& done, const char* command, QTextStream& err) {
    return done ? kSuccess : Failed(command, done.error, err);
}

QString NoStyle(const QString& name) {
    return QStringLiteral("there is no style called \"%1\"").arg(name);
}

int AddStyleNamed(Catalog& catalog, const QString& name, QTextStream& err) {
    if (name.isEmpty())
        return Failed("style", QStringLiteral("a style needs a name"), err);
    const Result<StyleAdded> added = AddStyle(catalog, name);
    if (!added)
        return Failed("style", added.error, err);
    if (added.value.outcome == StyleAdded::AlreadyThere)
        return Failed("style", added.value.notice, err);
    return kSuccess;
}

int RenameStyleNamed(Catalog& catalog, const QString& name, const QString& to, QTextStream& err) {
    if (to.isEmpty())
        return Failed("style", QStringLiteral("a style needs a name"), err);
    const Lookup<FoundStyle> from = FindStyle(catalog, name);
    if (!from)
        return Failed("style", from.error, err);
    if (from.value.id == 0)
        return Failed("style", NoStyle(name), err);
    const Lookup<qint64> taken = FindStyleId(catalog, to);
    if (!taken)
        return Failed("style", taken.error, err);
    // Another case of its own name is a rename; another style's name is not.
    if (taken.value != 0 && taken.value != from.value.id)
        return Failed("style", QStringLiteral("the name \"%1\" is already used").arg(to), err);
    return Done(RenameStyle(catalog, from.value.name, to), "style", err);
}

int DeleteStyleNamed(Catalog& catalog, const QString& name, QTextStream& err) {
    const Lookup<FoundStyle> style = FindStyle(catalog, name);
    if (!style)
        return Failed("style", style.error, err);
    if (style.value.id == 0)
        return Failed("style", NoStyle(name), err);
    return Done(DeleteStyle(catalog, style.value.name, nullptr), "style", err);
}

} // namespace

int RunStyle(const QStringList& arguments, QTextStream& /*out*/, QTextStream& err) {
    const QString verb = arguments.value(0);
    const qsizetype needed = verb == QLatin1String("rename") ? 4 : 3;
    const bool known = verb == QLatin1String("add") || verb == QLatin1String("rename") ||
                       verb == QLatin1String("delete");
    if (!known || arguments.size() != needed) {
        err << "Usage: tarl-catalog style add|rename|delete CATALOG NAME [NEW]\n";
        return kBadUsage;
    }
    Catalog catalog;
    if (!Open(catalog, arguments.at(1), "style", err))
        return kFailure;
    const QString& name = arguments.at(2);
    if (verb == QLatin1String("add"))
        return AddStyleNamed(catalog, name, err);
    if (verb == QLatin1String("rename"))
        return RenameStyleNamed(catalog, name, arguments.at(3), err);
    return DeleteStyleNamed(catalog, name, err);
}

int RunFileList(const QStringList& arguments, QTextStream& /*out*/, QTextStream& err) {
    if (arguments.size() != 3) {
        err << "Usage: tarl-catalog file-list CATALOG LIST-KEY STYLE\n";
        return kBadUsage;
    }
    Catalog catalog;
    if (!Open(catalog, arguments.at(0), "file-list", err))
        return kFailure;
    const ListKeyParts list = SplitListKey(MachinePathMap().toStored(arguments.at(1)));
    return Done(FileListUnderStyle(catalog, list.path, list.file, arguments.at(2)), "file-list",
                err);
}

int RunDeleteVolume(const QStringList& arguments, QTextStream& /*out*/, QTextStream& err) {
    if (arguments.size() != 2) {
        err << "Usage: tarl-catalog delete-volume CATALOG KEY\n";
        return kBadUsage;
    }
    Catalog catalog;
    if (!Open(catalog, arguments.at(0), "delete-volume", err))
        return kFailure;
    // A folder may be named as this machine reaches it.
    const PathMap pathMap = MachinePathMap();
    const QString key = pathMap.toStored(arguments.at(1));
    const LinuxDrives drives;
    LocalFiles files;
    // The key is a node's, as the window deletes it: the tree by paths tells what it names.
    LibraryTree tree;
    BuildTreeByPaths(tree, TreeSources{catalog, drives, files, &pathMap});
    const TreeNode* node = tree.FindNodeByKey(key);
    if (!node || node->kind() != NodeKind::Volume)
        return Failed("delete-volume",
                      QStringLiteral("no volume of the tree by paths has the key \"%1\"").arg(key),
                      err);
    return Done(DeleteVolume(catalog, drives, files, key, nullptr), "delete-volume", err);
}

} // namespace tarl::tool
