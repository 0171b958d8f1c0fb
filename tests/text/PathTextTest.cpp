#include "text/PathText.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

TEST(PathText, SlashesAtTheEnd) {
    const struct {
        QString path;
        QString with;
        QString without;
    } cases[] = {
        {"", "", ""},
        {"/", "/", "/"},
        {"//", "/", "/"},
        {"/a", "/a/", "/a"},
        {"/a/", "/a/", "/a"},
        {"/a//", "/a/", "/a"},
        {"/a b/c d", "/a b/c d/", "/a b/c d"},
        {"rel", "rel/", "rel"},
        {"rel/", "rel/", "rel"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WithTrailingSlash(c.path), c.with) << c.path.toStdString();
        EXPECT_EQ(WithoutTrailingSlash(c.path), c.without) << c.path.toStdString();
    }
}

TEST(PathText, FolderLastPartAndLastFolderName) {
    const struct {
        QString path;
        QString folder;
        QString lastPart;
        QString lastFolderName;
    } cases[] = {
        {"/music/party.m3u", "/music/", "party.m3u", "party.m3"}, // not a folder path
        {"/music/rock/", "/music/rock/", "rock", "rock"},
        {"/music/rock//", "/music/rock//", "", ""},
        {"/music/", "/music/", "music", "music"},
        {"party.m3u", "", "party.m3u", "party.m3"},
        {"/música/été 2001/", "/música/été 2001/", "été 2001", "été 2001"},
        {"/", "/", "", ""},
        {"", "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        EXPECT_EQ(FolderOf(c.path), c.folder);
        EXPECT_EQ(LastPathPart(c.path), c.lastPart);
        EXPECT_EQ(LastFolderName(c.path), c.lastFolderName);
    }
}

} // namespace
} // namespace tarl
