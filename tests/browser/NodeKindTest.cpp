#include "browser/NodeKind.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

// The tag texts are what the tree view's roles, the rename window and `tarl-catalog tree` read:
// they never change.
TEST(NodeKind, EachKindHasItsTagAndItsTracks) {
    const struct {
        NodeKind kind;
        const char* tag;
        bool showsTracks;
        bool playsTracks;
    } cases[] = {
        {NodeKind::None, "", false, false},
        {NodeKind::Catalog, "Db", false, false},
        {NodeKind::Volume, "Cd", true, false},
        {NodeKind::TrackFolder, "Mp3Cd", true, true},
        {NodeKind::Playlist, "M3uCd", true, true},
        {NodeKind::Style, "Nick", false, false},
        {NodeKind::StyleList, "M3uNick", true, true},
        {NodeKind::Unsorted, "Unsorted", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tag);
        EXPECT_EQ(NodeKindTag(c.kind), QString::fromLatin1(c.tag));
        EXPECT_EQ(NodeKindOfTag(QString::fromLatin1(c.tag)), c.kind);
        EXPECT_EQ(ShowsTracks(c.kind), c.showsTracks);
        EXPECT_EQ(PlaysTracks(c.kind), c.playsTracks);
    }
    // Any other text, a case changed included, is no kind.
    for (const char* other : {"mp3cd", "CD", "M3u", " Cd", "Cdmp3"})
        EXPECT_EQ(NodeKindOfTag(QString::fromLatin1(other)), NodeKind::None) << other;
}

} // namespace
} // namespace tarl
