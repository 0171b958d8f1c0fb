#include "text/PathMap.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

const QString kTwoMounts = QStringLiteral(
    "/mnt/music/=/media/nas/music/|/mnt/music/live/=/media/live/|/srv/old=/home/ann/old");

TEST(PathMap, StoredPathsBecomeLocal) {
    const PathMap map = PathMap::Parse(kTwoMounts);
    const struct {
        const char* name;
        QString stored;
        QString local;
    } cases[] = {
        {"prefix", "/mnt/music/a/x.mp3", "/media/nas/music/a/x.mp3"},
        {"longest-prefix-wins", "/mnt/music/live/y.mp3", "/media/live/y.mp3"},
        {"written-without-slash", "/srv/old/z.mp3", "/home/ann/old/z.mp3"},
        {"the-folder-itself", "/mnt/music/", "/media/nas/music/"},
        {"the-folder-without-slash", "/mnt/music", "/media/nas/music"},
        {"not-at-a-boundary", "/mnt/musical/x.mp3", "/mnt/musical/x.mp3"},
        {"no-match", "/home/bob/x.mp3", "/home/bob/x.mp3"},
        {"case-counts", "/MNT/music/x.mp3", "/MNT/music/x.mp3"},
        {"empty", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(map.toLocal(c.stored), c.local) << c.name;
}

TEST(PathMap, LocalPathsBecomeStored) {
    const PathMap map = PathMap::Parse(kTwoMounts);
    const struct {
        const char* name;
        QString local;
        QString stored;
    } cases[] = {
        {"prefix", "/media/nas/music/a/x.mp3", "/mnt/music/a/x.mp3"},
        {"longest-prefix-wins", "/media/live/y.mp3", "/mnt/music/live/y.mp3"},
        {"written-without-slash", "/home/ann/old/z.mp3", "/srv/old/z.mp3"},
        {"not-at-a-boundary", "/home/ann/older/z.mp3", "/home/ann/older/z.mp3"},
        {"no-match", "/mnt/music/a/x.mp3", "/mnt/music/a/x.mp3"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(map.toStored(c.local), c.stored) << c.name;
}

TEST(PathMap, EveryMappedPathComesBack) {
    const PathMap map = PathMap::Parse(kTwoMounts);
    for (const QString stored : {"/mnt/music/a/x.mp3", "/mnt/music/live/", "/srv/old/z.mp3",
                                 "/elsewhere/x.mp3", "/mnt/music"})
        EXPECT_EQ(map.toStored(map.toLocal(stored)), stored) << stored.toStdString();
}

TEST(PathMap, BrokenPairsAreNamedAndSkipped) {
    const struct {
        const char* name;
        QString text;
        QStringList ignored;
        bool empty;
    } cases[] = {
        {"nothing", "", {}, true},
        {"empty-pairs", "||", {}, true},
        {"no-equals", "/mnt/music/", {"/mnt/music/"}, true},
        {"empty-side", "=/media/|/a/=", {"=/media/", "/a/="}, true},
        {"equals-in-local", "/a/=/b=c/", {}, false},
    };
    for (const auto& c : cases) {
        QStringList ignored;
        EXPECT_EQ(PathMap::Parse(c.text, &ignored).isEmpty(), c.empty) << c.name;
        EXPECT_EQ(ignored, c.ignored) << c.name;
    }
    EXPECT_EQ(PathMap::Parse("/a/=/b=c/").toLocal("/a/x"), "/b=c/x");
}

} // namespace
} // namespace tarl
