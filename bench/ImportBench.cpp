// The import of a generated MP3 collection into a fresh catalog, against the I/O lower bound.
// Usage: tarl-bench-import [TRACKS] [--corpus FOLDER] [--mixed] [--no-bound] [--batch NODES MS]
// (default 20000)
//
// --mixed makes every second track a FLAC, Ogg Vorbis, Opus or M4A file (Mp3Corpus.h); the lower
// bound then reads the MP3 half alone, so compare a mixed import with an MP3-only one of the same
// count.
// --batch NODES MS commits the import's batches after NODES nodes or MS ms instead of the
// defaults.
// --no-bound skips the lower bound (for profiling the walk and import alone).
// --corpus keeps the generated collection in FOLDER and uses it again on the next run with the
// same TRACKS (a file FOLDER/.tracks holds the count), so repeated runs and profiles skip the
// generation.
//
// 1. Generates TRACKS tagged files (bench/Mp3Corpus.h) in a temporary folder.
// 2. The lower bound, hot cache: walks the folders and reads from every file only the bytes the
//    tag reader needs (the ID3v2 header and frame headers, the text frames' contents, the last
//    128 bytes), with plain system calls. One warm-up pass, then the median of three.
// 3. The import as `tarl-catalog import --sound-files` makes it: ScanWalker over the folder,
//    then ImportScanTree into a fresh catalog. Times of the walk and the import, the peak
//    resident size (VmHWM) of the process.
#include "Mp3Corpus.h"

#include "catalog/engine/CatalogFile.h"
#include "catalog/engine/Connection.h"
#include "platform/LinuxDrives.h"
#include "platform/LocalFiles.h"
#include "scan/ScanImport.h"
#include "scan/ScanTree.h"
#include "scan/ScanWalker.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

quint32 Be32(const unsigned char* p, bool syncsafe) {
    if (syncsafe)
        return (quint32(p[0] & 0x7F) << 21) | (quint32(p[1] & 0x7F) << 14) |
               (quint32(p[2] & 0x7F) << 7) | quint32(p[3] & 0x7F);
    return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
}

// Reads what a tag reader must read of one file; gives the bytes read.
qint64 ReadTagBytes(const char* path) {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    struct stat st {};
    ::fstat(fd, &st);
    qint64 total = 0;
    unsigned char header[10];
    static thread_local std::vector<unsigned char> content(1 << 20);
    if (::pread(fd, header, 10, 0) == 10 && std::memcmp(header, "ID3", 3) == 0 && header[3] >= 3) {
        total += 10;
        const bool v4 = header[3] == 4;
        const qint64 end = 10 + Be32(header + 6, true);
        qint64 at = 10;
        unsigned char frame[10];
        while (at + 10 <= end && ::pread(fd, frame, 10, at) == 10 && frame[0] != 0) {
            total += 10;
            const quint32 size = Be32(frame + 4, v4);
            // Text frames and comments are read; pictures and the rest are skipped.
            if ((frame[0] == 'T' || std::memcmp(frame, "COMM", 4) == 0) && size <= content.size())
                total += ::pread(fd, content.data(), size, at + 10);
            at += 10 + qint64(size);
        }
    }
    unsigned char trailer[128];
    if (st.st_size >= 128)
        total += ::pread(fd, trailer, 128, st.st_size - 128);
    ::close(fd);
    return total;
}

// Walks the folders as a scan does (every entry looked at, folders entered) and reads every
// ".mp3" file's tag bytes.
void LowerBound(const std::string& folder, qint64* files, qint64* bytes) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    while (dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        if (name[0] == '.')
            continue;
        const std::string path = folder + "/" + name;
        if (entry->d_type == DT_DIR) {
            LowerBound(path, files, bytes);
            continue;
        }
        const size_t length = std::strlen(name);
        if (length > 4 && strcasecmp(name + length - 4, ".mp3") == 0) {
            ++*files;
            *bytes += ReadTagBytes(path.c_str());
        }
    }
    ::closedir(dir);
}

// The processor time this process has used, in ms: steadier than the wall clock while other
// programs share the machine.
double CpuMs() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

long StatusKb(const char* field) {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(static_cast<qsizetype>(std::strlen(field)))
                .trimmed()
                .split(' ')[0]
                .toLong();
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int tracks = 20000;
    QString kept;
    bool measureBound = true;
    bool mixed = false;
    tarl::ScanImportBatching batching;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--no-bound") == 0)
            measureBound = false;
        else if (std::strcmp(argv[i], "--mixed") == 0)
            mixed = true;
        else if (std::strcmp(argv[i], "--batch") == 0 && i + 2 < argc) {
            batching.nodes = std::atoi(argv[++i]);
            batching.milliseconds = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--corpus") == 0 && i + 1 < argc)
            kept = QString::fromLocal8Bit(argv[++i]);
        else
            tracks = std::atoi(argv[i]);
    }
    QTemporaryDir temp;
    const QString corpus = kept.isEmpty() ? temp.path() + "/corpus" : kept;
    QElapsedTimer clock;
    clock.start();
    QFile count(corpus + "/.tracks");
    const QByteArray countText = QByteArray::number(tracks) + (mixed ? " mixed" : "");
    if (!kept.isEmpty() && count.open(QIODevice::ReadOnly) && count.readAll() == countText) {
        std::printf("corpus: %d files kept in %s\n", tracks, qPrintable(corpus));
    } else {
        // A kept collection of another size is made again; a folder this program did not make
        // is left alone.
        if (!kept.isEmpty() && count.exists()) {
            count.close();
            QDir(corpus).removeRecursively();
        } else if (!kept.isEmpty() && !QDir(corpus).isEmpty()) {
            std::fprintf(stderr, "corpus: %s is not empty\n", qPrintable(corpus));
            return 1;
        }
        const tarl::Result<> made = tarl::bench::MakeMp3Corpus(corpus, tracks, mixed);
        if (!made) {
            std::fprintf(stderr, "corpus: %s\n", qPrintable(made.error));
            return 1;
        }
        count.close();
        if (!kept.isEmpty() && count.open(QIODevice::WriteOnly | QIODevice::Truncate))
            count.write(countText);
        std::printf("corpus: %d files made in %.1f s\n", tracks, clock.elapsed() / 1000.0);
    }

    std::vector<double> bounds;
    std::vector<double> boundsCpu;
    qint64 files = 0;
    qint64 bytes = 0;
    for (int pass = 0; pass < (measureBound ? 4 : 0); ++pass) {
        files = bytes = 0;
        clock.restart();
        const double cpuStart = CpuMs();
        LowerBound(corpus.toStdString(), &files, &bytes);
        if (pass > 0) { // the first pass warms the cache
            bounds.push_back(clock.nsecsElapsed() / 1e6);
            boundsCpu.push_back(CpuMs() - cpuStart);
        }
    }
    std::sort(bounds.begin(), bounds.end());
    std::sort(boundsCpu.begin(), boundsCpu.end());
    if (bounds.empty()) {
        bounds.push_back(0);
        boundsCpu.push_back(0);
    }
    const double bound = bounds[bounds.size() / 2];
    const double boundCpu = boundsCpu[boundsCpu.size() / 2];
    std::printf("lower bound: %lld files, %.1f MB of tag bytes, median %.0f ms (%.0f to %.0f)\n",
                static_cast<long long>(files), bytes / 1e6, bound, bounds.front(), bounds.back());

    const QString dbPath = temp.path() + "/tarl.mdb";
    const tarl::Result<> made = tarl::CreateCatalog(dbPath);
    if (!made) {
        std::fprintf(stderr, "catalog: %s\n", qPrintable(made.error));
        return 1;
    }
    tarl::Catalog catalog;
    if (!catalog.connection.open(dbPath)) {
        std::fprintf(stderr, "catalog: %s\n", qPrintable(catalog.connection.lastError()));
        return 1;
    }
    const long rssBefore = StatusKb("VmRSS:");
    const tarl::LinuxDrives drives;
    const tarl::LocalFiles localFiles;
    tarl::ScanTree tree;
    tarl::ScanWalker walker(tree, localFiles, drives);
    tarl::ScanOptions options;
    options.folder = corpus + "/";
    clock.restart();
    const double cpuStart = CpuMs();
    const tarl::ScanResult walked = walker.walk(options);
    const double walkMs = clock.nsecsElapsed() / 1e6;
    QString label = QStringLiteral("EOF");
    clock.restart();
    const tarl::ScanImportResult imported =
        tarl::ImportScanTree(catalog, drives, tree, label, options.folder, {}, batching);
    const double importMs = clock.nsecsElapsed() / 1e6;
    const double cpuMs = CpuMs() - cpuStart;
    std::printf("walk: %lld files in %.0f ms; import: %d nodes, %lld volumes, %lld lists, %lld "
                "tracks, %d errors in %.0f ms\n",
                static_cast<long long>(walked.matches), walkMs, imported.nodes,
                static_cast<long long>(imported.volumes), static_cast<long long>(imported.lists),
                static_cast<long long>(imported.tracks), imported.errorCount, importMs);
    std::printf("walk + import: %.0f ms = %.1f times the lower bound (%.0f tracks/s)\n",
                walkMs + importMs, (walkMs + importMs) / bound,
                imported.tracks / ((walkMs + importMs) / 1000.0));
    std::printf("processor time: walk + import %.0f ms, lower bound %.0f ms: %.1f times\n", cpuMs,
                boundCpu, cpuMs / boundCpu);
    std::printf("memory: resident %.1f MB before the walk, peak (VmHWM) %.1f MB\n",
                rssBefore / 1024.0, StatusKb("VmHWM:") / 1024.0);
    return 0;
}
