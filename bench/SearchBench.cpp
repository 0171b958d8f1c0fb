// Time of a search in a catalog of a million tracks with varied titles, artists and albums,
// against the sqlite3 shell's plain `SELECT * FROM Mp3 WHERE <field> LIKE '%text%'` on the same
// file, on a hot cache.
//
//   tarl-bench-search [--corpus FILE] [--passes N] [--case K]
//
// The catalog is MakeLargeCatalog's (10,000 volumes, 100,000 lists, 1,000,000 tracks, 100 styles)
// with TrackNames::Varied; --corpus keeps it in FILE (made on the first run, reused after). A new
// catalog has no search index: the first search builds it, and its time and the file's growth are
// printed. Then, for each text: the hits, the median of the passes (default 5) of RunSearch (both
// passes, the rows as the window shows them), the shell's median, and their ratio.

#include "LargeCatalog.h"
#include "catalog/SearchIndex.h"
#include "catalog/engine/Connection.h"
#include "search/SearchHits.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using namespace tarl;

double MedianMs(int passes, const std::function<void()>& run) {
    std::vector<double> times;
    for (int pass = 0; pass < passes; ++pass) {
        QElapsedTimer clock;
        clock.start();
        run();
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double ShellMs(const QString& file, const QString& statement, int passes) {
    return MedianMs(passes, [&] {
        QProcess shell;
        shell.setStandardOutputFile(QProcess::nullDevice());
        shell.start(QStringLiteral("sqlite3"), {file, statement});
        shell.waitForFinished(-1);
    });
}

qint64 FileBytes(const QString& file) {
    return QFileInfo(file).size() + QFileInfo(file + QStringLiteral("-wal")).size();
}

struct Case {
    const char* what;
    QString text;
    SearchField field;
    bool ignoreAccents = false;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    int passes = 5;
    int only = -1; // --case K: only the K-th text (from 1), for a profiler
    QString file;
    QTemporaryDir temp;
    for (qsizetype i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--passes"))
            passes = std::max(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--case"))
            only = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--corpus"))
            file = args[i + 1];
    }
    if (file.isEmpty())
        file = temp.filePath(QStringLiteral("large.mdb"));
    if (!QFileInfo::exists(file)) {
        QElapsedTimer made;
        made.start();
        const auto counts =
            bench::MakeLargeCatalog(file, 10000, 100000, 1000000, 100, bench::TrackNames::Varied);
        if (!counts) {
            std::fprintf(stderr, "%s\n", qPrintable(counts.error));
            return 1;
        }
        std::printf("catalog of %lld tracks made in %.1f s (%.0f MB)\n",
                    static_cast<long long>(counts.value.tracks), double(made.elapsed()) / 1000,
                    double(FileBytes(file)) / 1e6);
    }

    Catalog catalog;
    if (!catalog.connection.open(file)) {
        std::fprintf(stderr, "%s\n", qPrintable(catalog.connection.lastError()));
        return 1;
    }
    if (!SearchIndexIsCurrent(catalog)) {
        const qint64 before = FileBytes(file);
        QElapsedTimer built;
        built.start();
        const Result<> refreshed = RefreshSearchIndex(catalog);
        if (!refreshed) {
            std::fprintf(stderr, "%s\n", qPrintable(refreshed.error));
            return 1;
        }
        std::printf("search index built in %.1f s; the catalog grew from %.0f MB to %.0f MB\n",
                    double(built.elapsed()) / 1000, double(before) / 1e6,
                    double(FileBytes(file)) / 1e6);
    }

    // Texts that occur rarely, often, and ones the index cannot answer (two characters, or
    // wildcards leaving no run of three).
    const Case cases[] = {
        {"a word", QStringLiteral("Þiþimø"), SearchField::Title},
        {"the same in other case", QStringLiteral("þIÞIMØ"), SearchField::Title},
        {"the same, accents ignored", QStringLiteral("THITHIMO"), SearchField::Title, true},
        {"two words", QStringLiteral("Jęję Vequri"), SearchField::Title},
        {"an artist", QStringLiteral("Łodrómø"), SearchField::Artist},
        {"a run of three", QStringLiteral("Xozé"), SearchField::Title},
        {"a common word", QStringLiteral("kalé"), SearchField::Title},
        {"a run in 70,000 titles", QStringLiteral("alé"), SearchField::Title},
        {"two characters", QStringLiteral("ąm"), SearchField::Title},
        {"wildcards leaving no run of three", QStringLiteral("ka%mø"), SearchField::Title},
        {"the same, accents ignored", QStringLiteral("ka%mo"), SearchField::Title, true},
    };
    std::printf("%-45s %9s %12s %12s %7s\n", "text", "hits", "search ms", "sqlite3 ms", "ratio");
    int number = 0;
    for (const Case& c : cases) {
        if (++number != only && only > 0)
            continue;
        SearchOptions options;
        options.ignoreAccents = c.ignoreAccents;
        int hits = 0;
        const double ours = MedianMs(passes, [&] {
            const Result<SearchOutcome> found = RunSearch(catalog, c.text, c.field, options);
            hits = found ? found.value.hits : -1;
        });
        const QString statement = QStringLiteral("SELECT * FROM Mp3 WHERE %1 LIKE '%%2%'")
                                      .arg(SearchFieldCaption(c.field).toLower(), c.text);
        const double shell = ShellMs(file, statement, passes);
        std::printf("%-45s %9d %12.1f %12.1f %7.2f\n",
                    qPrintable(QStringLiteral("%1 \"%2\"").arg(QString::fromUtf8(c.what), c.text)),
                    hits, ours, shell, ours / shell);
    }
    return 0;
}
