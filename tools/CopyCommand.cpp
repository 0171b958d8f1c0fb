#include "CopyCommand.h"

#include "Command.h"
#include "ProgressBar.h"
#include "catalog/maintenance/CatalogCopy.h"

#include <algorithm>

namespace tarl::tool {

int RunCopy(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QStringList places = arguments;
    const bool force = places.removeAll(QStringLiteral("--force")) > 0;
    if (places.size() != 2 || std::any_of(places.begin(), places.end(),
                                          [](const QString& a) { return a.startsWith(u'-'); })) {
        err << "Usage: tarl-catalog copy SOURCE DEST [--force]\n";
        return kBadUsage;
    }
    ProgressBar bar(QStringLiteral("rows"));
    const Result<CopyReport> copied =
        CopyCatalog(places.at(0), places.at(1), force,
                    [&bar](qint64 done, qint64 total) { bar.update(total, done); });
    bar.finish();
    if (!copied) {
        err << "tarl-catalog copy: " << copied.error << "\n";
        return kFailure;
    }
    for (const QString& change : copied.value.changes)
        err << "tarl-catalog copy: changed to fit: " << change << "\n";
    out << "Copied " << copied.value.rows << " rows from " << places.at(0) << " to " << places.at(1)
        << "\n";
    return kSuccess;
}

} // namespace tarl::tool
