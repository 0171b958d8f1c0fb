// ReadId3 files per second on a hot cache, over a generated folder of tagged MP3 files.
// Usage: tarl-bench-id3 [FILES [PASSES]]   (defaults: 3000 files, 5 passes)
#include "support/Id3Builder.h"
#include "tags/ReadId3.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

using tarl::test::Id3Builder;
using tarl::test::Id3Enc;
using tarl::test::Id3v1Fields;

namespace {

// The mix of a real collection: mostly v2.3, some v2.4 and v2.2, covers in many, a few
// ID3v1-only and untagged files.
QByteArray TaggedFile(int i) {
    const QString n = QString::number(i);
    const Id3v1Fields v1{"Title " + n.toLatin1(), "Artist", "Album", "2001", "Comment", i % 126};
    switch (i % 8) {
    case 0:
        return Id3Builder(0).audio(12).v1(v1).build();
    case 1:
        return Id3Builder(2)
            .text("TT2", "Title " + n)
            .text("TP1", "Artist")
            .text("TAL", "Album")
            .text("TYE", "1999")
            .text("TCO", "(17)")
            .audio(12)
            .v1(v1)
            .build();
    case 2:
    case 3:
        return Id3Builder(3)
            .text("TIT2", "Title " + n)
            .text("TPE1", "Artist")
            .text("TALB", "Album")
            .text("TYER", "2003")
            .text("TCON", "Rock")
            .comment("", "Ripped")
            .padding(2048)
            .audio(12)
            .v1(v1)
            .build();
    case 4:
        return Id3Builder(3)
            .picture(30000)
            .text("TIT2", QString::fromUtf8("Tïtle ") + n, Id3Enc::Utf16, true)
            .text("TPE1", QString::fromUtf8("Ärtist"), Id3Enc::Utf16, true)
            .text("TALB", "Album", Id3Enc::Utf16, true)
            .text("TYER", "2006", Id3Enc::Utf16, true)
            .comment("iTunNORM", " 00000A2F")
            .padding(4096)
            .audio(12)
            .build();
    case 5:
        return Id3Builder(4)
            .picture(8000)
            .text("TIT2", QString::fromUtf8("Tïtle ") + n, Id3Enc::Utf8)
            .texts("TPE1", {"One", "Two"}, Id3Enc::Utf8)
            .text("TDRC", "2010-05-01", Id3Enc::Utf8)
            .text("TCON", "Electronic", Id3Enc::Utf8)
            .padding(1024)
            .audio(12)
            .v1(v1)
            .build();
    case 6:
        return Id3Builder(3)
            .picture(5000)
            .text("TIT2", "Title " + n)
            .text("TPE1", "Artist")
            .unsynchronise()
            .audio(12)
            .build();
    default:
        return Id3Builder(0).audio(12).build();
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int count = args.size() > 1 ? args[1].toInt() : 3000;
    const int passes = args.size() > 2 ? args[2].toInt() : 5;
    if (count <= 0 || passes <= 0) {
        std::fprintf(stderr, "Usage: tarl-bench-id3 [FILES [PASSES]]\n");
        return 2;
    }

    QTemporaryDir dir(QDir::tempPath() + "/tarl-bench-id3-XXXXXX");
    QStringList paths;
    qint64 bytes = 0;
    for (int i = 0; i < count; ++i) {
        const QString path = dir.path() + QStringLiteral("/track%1.mp3").arg(i, 5, 10, QChar('0'));
        QFile file(path);
        const QByteArray content = TaggedFile(i);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        bytes += content.size();
        paths << path;
    }

    // One untimed pass puts every file in the page cache.
    qint64 check = 0;
    for (const QString& path : paths)
        check += tarl::ReadId3(path).value.title.size();

    std::vector<double> rates;
    for (int pass = 0; pass < passes; ++pass) {
        QElapsedTimer timer;
        timer.start();
        for (const QString& path : paths)
            check += tarl::ReadId3(path).value.title.size();
        const double seconds = timer.nsecsElapsed() / 1e9;
        rates.push_back(count / seconds);
    }
    std::sort(rates.begin(), rates.end());
    std::printf("ReadId3: %d files (%.1f MB, 8 tag layouts), hot cache, %d passes\n", count,
                bytes / 1e6, passes);
    std::printf("  median %.0f files/s, best %.0f, worst %.0f  (check %lld)\n",
                rates[rates.size() / 2], rates.back(), rates.front(),
                static_cast<long long>(check));
    return 0;
}
