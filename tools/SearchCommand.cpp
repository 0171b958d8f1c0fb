#include "SearchCommand.h"

#include "Command.h"
#include "ProgressBar.h"
#include "catalog/engine/Connection.h"
#include "search/SearchHits.h"

namespace tarl::tool {

namespace {

int Usage(QTextStream& err) {
    err << "Usage: tarl-catalog search CATALOG TEXT "
           "[--field File|Path|Album|Title|Artist|Genre|Year|Comments|Rating] "
           "[--ignore-accents]\n";
    return kBadUsage;
}

} // namespace

int RunSearch(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    QStringList rest = arguments;
    SearchOptions options;
    options.ignoreAccents = rest.removeAll(QStringLiteral("--ignore-accents")) > 0;
    SearchField field = SearchField::File;
    const qsizetype option = rest.indexOf(QStringLiteral("--field"));
    if (option >= 0) {
        if (option + 1 >= rest.size())
            return Usage(err);
        const std::optional<SearchField> named = SearchFieldOf(rest.at(option + 1));
        if (!named)
            return Usage(err);
        field = *named;
        rest.remove(option, 2);
    }
    if (rest.size() != 2)
        return Usage(err);
    const QString& file = rest.at(0);
    const QString& text = rest.at(1);
    if (text.size() < SearchMinimumLength) {
        err << "tarl-catalog search: " << SearchTooShortText << "\n";
        return kFailure;
    }

    // Opened as the window opens it: a missing file is an error, never a new catalog.
    Catalog catalog;
    if (!catalog.connection.open(file)) {
        err << "tarl-catalog search: " << catalog.connection.lastError() << "\n";
        return kFailure;
    }
    PrintCatalogNote(catalog.connection, "search", err);
    // A catalog without its search index gets it now, once.
    ProgressBar bar(QStringLiteral("rows indexed"));
    options.indexProgress = [&bar](qint64 done, qint64 total) { bar.update(total, done); };
    const Result<SearchOutcome> found = tarl::RunSearch(catalog, text, field, options);
    bar.finish();
    if (!found) {
        err << "tarl-catalog search: " << found.error << "\n";
        return kFailure;
    }
    for (const SearchRow& row : found.value.rows) {
        if (found.value.hits == 0)
            break; // "No results found" is the status, not a hit
        out << static_cast<int>(row.icon);
        for (const QString& column : row.columns)
            out << '\t' << FieldText(column);
        out << '\n';
    }
    err << found.value.status << "\n";
    return kSuccess;
}

} // namespace tarl::tool
