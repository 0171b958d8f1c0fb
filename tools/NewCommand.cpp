#include "NewCommand.h"

#include "Command.h"
#include "catalog/engine/CatalogFile.h"

namespace tarl::tool {

int RunNew(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    if (arguments.size() != 1 || arguments.first().startsWith(u'-')) {
        err << "Usage: tarl-catalog new FILE|postgresql://USER@HOST:PORT/DATABASE\n";
        return kBadUsage;
    }
    const QString& file = arguments.first();
    const Result<> made = CreateCatalog(file);
    if (!made) {
        err << "tarl-catalog new: " << made.error << "\n";
        return kFailure;
    }
    out << "Created the catalog " << file << "\n";
    return kSuccess;
}

} // namespace tarl::tool
