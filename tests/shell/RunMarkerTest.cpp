#include "shell/RunMarker.h"

#include "support/QtPrinters.h"
#include "support/TempDir.h"
#include "support/TmpfsMount.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace tarl {
namespace {

// Fills the disc holding `file` until it refuses a byte more.
void Fill(const QString& file) {
    QFile filler(file);
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size()) {
    }
    while (filler.write("x", 1) == 1) {
    }
}

// A program folder on a full disc (a small tmpfs, mounted as root): this run's marker is written
// whole or not at all, and what the previous run left stays as it was.
TEST(RunMarker, OnAFullDiscTheMarkerIsWholeOrThePreviousOneStays) {
    const struct {
        const char* name;
        QByteArray before; // "": no marker
        bool unclean;
    } cases[] = {
        {"nothing before", "", false},
        {"a crashed run's marker", "999999999", true},
    };
    for (const auto& c : cases) {
        test::TempDir folder;
        const test::TmpfsMount disc(folder.path(), "64k");
        if (!disc.mounted())
            GTEST_SKIP() << "mounting a tmpfs needs root";
        if (!c.before.isEmpty())
            folder.write("tarl.running", c.before);
        Fill(folder.file("filler"));

        RunMarker marker;
        EXPECT_EQ(marker.begin(folder.path() + u'/'), c.unclean) << c.name;
        const QStringList left =
            c.before.isEmpty() ? QStringList{"filler"} : QStringList{"filler", "tarl.running"};
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), left)
            << c.name;
        EXPECT_EQ(folder.read("tarl.running"), c.before) << c.name;
    }
}

} // namespace
} // namespace tarl
