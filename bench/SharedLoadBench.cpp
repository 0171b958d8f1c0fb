// Several machines on one catalog server: CLIENTS clients each import TRACKS tracks into volumes of
// their own at once, while another searches and another stores lengths, against one client
// importing all CLIENTS x TRACKS tracks alone.
// Usage: tarl-bench-shared-load SERVER [--clients N] [--tracks N] [--corpus FOLDER]
//        [--search-every MS] [--length-every MS]
// (defaults 8, 20000, a search every 100 ms and a length every 20 ms: users searching now and
// then, players storing the lengths of the tracks they start, many times faster than people do).
// SERVER is an address postgresql://USER@HOST:PORT/DATABASE whose user may create databases
// (scripts/pg-cluster start prints one); the benchmark makes and drops tarl_bench_alone and
// tarl_bench_shared there.
//
// 1. Generates the collection (bench/Mp3Corpus.h), one folder a client: FOLDER/client1...
//    --corpus keeps it for the next run with the same counts.
// 2. Alone: a fresh catalog; one walk + import of FOLDER (every client's folder).
// 3. Together: a fresh catalog; each client walks and imports its folder on a thread and
//    connection of its own, started at once; meanwhile one thread searches the titles and one
//    stores lengths of stored tracks, each at its pace, until the last import ends.
// 4. Every track stored once (rows and distinct paths both CLIENTS x TRACKS), the errors each
//    side met, and the ratio of the two import times.
#include "Mp3Corpus.h"

#include "catalog/CatalogSearch.h"
#include "catalog/TrackLength.h"
#include "catalog/engine/CatalogFile.h"
#include "catalog/engine/Connection.h"
#include "catalog/engine/Recordset.h"
#include "platform/LinuxDrives.h"
#include "platform/LocalFiles.h"
#include "scan/ScanImport.h"
#include "scan/ScanTree.h"
#include "scan/ScanWalker.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUrl>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

namespace {

// Makes (again) the empty database `name` on the server of `server`; gives its address.
QString FreshDatabase(const QString& server, const QString& name) {
    {
        const QUrl url(server);
        QSqlDatabase admin = QSqlDatabase::addDatabase("QPSQL", "bench-admin");
        admin.setHostName(url.host());
        admin.setPort(url.port(5432));
        admin.setUserName(url.userName());
        admin.setDatabaseName(url.path().mid(1));
        if (!admin.open()) {
            std::fprintf(stderr, "server: %s\n", qPrintable(admin.lastError().text()));
            std::exit(1);
        }
        QSqlQuery query(admin);
        query.exec("DROP DATABASE IF EXISTS " + name + " WITH (FORCE)");
        if (!query.exec("CREATE DATABASE " + name)) {
            std::fprintf(stderr, "server: %s\n", qPrintable(query.lastError().text()));
            std::exit(1);
        }
    }
    QSqlDatabase::removeDatabase("bench-admin");
    QUrl url(server);
    url.setPath("/" + name);
    const QString address = url.toString();
    if (const tarl::Result<> made = tarl::CreateCatalog(address); !made) {
        std::fprintf(stderr, "catalog: %s\n", qPrintable(made.error));
        std::exit(1);
    }
    return address;
}

struct Imported {
    qint64 tracks = 0;
    int errors = 0;
    QString firstError;
};

// One client: its own connection, a walk of `folder` and its import, as tarl-catalog does.
Imported ImportFolder(const QString& address, const QString& folder) {
    Imported done;
    tarl::Catalog catalog;
    if (!catalog.connection.open(address)) {
        done.errors = 1;
        done.firstError = catalog.connection.lastError();
        return done;
    }
    const tarl::LinuxDrives drives;
    const tarl::LocalFiles files;
    tarl::ScanTree tree;
    tarl::ScanWalker walker(tree, files, drives);
    tarl::ScanOptions options;
    options.folder = folder + "/";
    walker.walk(options);
    QString label = QStringLiteral("EOF");
    const tarl::ScanImportResult result =
        tarl::ImportScanTree(catalog, drives, tree, label, options.folder, {});
    done.tracks = result.tracks;
    done.errors = result.errorCount;
    if (result.failed())
        done.firstError =
            result.errors.isEmpty() ? QStringLiteral("failed") : result.errors.first();
    return done;
}

qint64 Number(const QString& address, const QString& statement) {
    tarl::Catalog catalog;
    tarl::Recordset rows;
    if (!catalog.connection.open(address) || !catalog.connection.execute(statement, rows))
        return -1;
    return rows.field(0).toLongLong();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2 || std::strncmp(argv[1], "postgres", 8) != 0) {
        std::fprintf(stderr, "usage: tarl-bench-shared-load postgresql://USER@HOST:PORT/DATABASE "
                             "[--clients N] [--tracks N] [--corpus FOLDER]\n");
        return 2;
    }
    const QString server = QString::fromLocal8Bit(argv[1]);
    int clients = 8;
    int tracks = 20000;
    int searchEvery = 100;
    int lengthEvery = 20;
    QString kept;
    for (int i = 2; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--clients") == 0)
            clients = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--tracks") == 0)
            tracks = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--corpus") == 0)
            kept = QString::fromLocal8Bit(argv[i + 1]);
        else if (std::strcmp(argv[i], "--search-every") == 0)
            searchEvery = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--length-every") == 0)
            lengthEvery = std::atoi(argv[i + 1]);
    }
    QTemporaryDir temp;
    const QString corpus = kept.isEmpty() ? temp.path() + "/corpus" : kept;
    const QString marker = QStringLiteral("%1 x %2").arg(clients).arg(tracks);
    QFile counts(corpus + "/.tracks");
    QElapsedTimer clock;
    if (!counts.open(QIODevice::ReadOnly) || counts.readAll() != marker.toUtf8()) {
        clock.start();
        QDir(corpus).removeRecursively();
        for (int c = 1; c <= clients; ++c) {
            const tarl::Result<> made =
                tarl::bench::MakeMp3Corpus(corpus + QStringLiteral("/client%1").arg(c), tracks);
            if (!made) {
                std::fprintf(stderr, "corpus: %s\n", qPrintable(made.error));
                return 1;
            }
        }
        QFile write(corpus + "/.tracks");
        write.open(QIODevice::WriteOnly);
        write.write(marker.toUtf8());
        std::printf("corpus: %d x %d files made in %.1f s\n", clients, tracks,
                    clock.elapsed() / 1000.0);
    }
    const qint64 all = qint64(clients) * tracks;

    const QString alone = FreshDatabase(server, "tarl_bench_alone");
    clock.start();
    const Imported single = ImportFolder(alone, corpus);
    const double aloneMs = clock.nsecsElapsed() / 1e6;
    std::printf("alone: %lld tracks, %d errors in %.0f ms%s%s\n",
                static_cast<long long>(single.tracks), single.errors, aloneMs,
                single.firstError.isEmpty() ? "" : ": ", qPrintable(single.firstError));

    const QString shared = FreshDatabase(server, "tarl_bench_shared");
    std::atomic<bool> importing{true};
    std::atomic<int> searches{0}, searchErrors{0}, lengths{0}, lengthErrors{0};
    std::vector<Imported> results(static_cast<size_t>(clients));
    clock.start();
    std::vector<std::thread> threads;
    for (int c = 0; c < clients; ++c)
        threads.emplace_back([&, c] {
            results[size_t(c)] =
                ImportFolder(shared, corpus + QStringLiteral("/client%1").arg(c + 1));
        });
    std::thread searcher([&] {
        tarl::Catalog catalog;
        catalog.connection.open(shared);
        for (int i = 0; importing; ++i) {
            const auto hits = tarl::SearchTracks(catalog, tarl::SearchField::Title,
                                                 QStringLiteral("song %1").arg(i % 50));
            ++(hits ? searches : searchErrors);
            std::this_thread::sleep_for(std::chrono::milliseconds(searchEvery));
        }
    });
    std::thread lengthStorer([&] {
        tarl::Catalog catalog;
        catalog.connection.open(shared);
        tarl::Recordset rows;
        for (int i = 1; importing; ++i) {
            if (!catalog.connection.execute(
                    QStringLiteral("SELECT path || file FROM Mp3 WHERE id = %1").arg(i % 5000 + 1),
                    rows))
                ++lengthErrors;
            else if (!rows.eof())
                ++(tarl::StoreTrackLength(catalog, rows.field(0).toString(), 60 + i % 240)
                       ? lengths
                       : lengthErrors);
            std::this_thread::sleep_for(std::chrono::milliseconds(lengthEvery));
        }
    });
    for (std::thread& t : threads)
        t.join();
    const double togetherMs = clock.nsecsElapsed() / 1e6;
    importing = false;
    searcher.join();
    lengthStorer.join();

    int errors = 0;
    for (const Imported& r : results) {
        errors += r.errors + (r.firstError.isEmpty() ? 0 : 1);
        if (!r.firstError.isEmpty())
            std::printf("client error: %s\n", qPrintable(r.firstError));
    }
    std::printf("together: %d clients, %d errors in %.0f ms; meanwhile %d searches "
                "(%d failed), %d lengths stored (%d failed)\n",
                clients, errors, togetherMs, searches.load(), searchErrors.load(), lengths.load(),
                lengthErrors.load());
    const qint64 rows = Number(shared, "SELECT COUNT(*) FROM Mp3");
    const qint64 distinct =
        Number(shared, "SELECT COUNT(*) FROM (SELECT DISTINCT path, file FROM Mp3) t");
    std::printf("stored: %lld rows, %lld distinct paths, %lld expected: %s\n",
                static_cast<long long>(rows), static_cast<long long>(distinct),
                static_cast<long long>(all),
                rows == all && distinct == all ? "each once" : "WRONG");
    std::printf("together / alone: %.2f\n", togetherMs / aloneMs);
    return rows == all && distinct == all ? 0 : 1;
}
