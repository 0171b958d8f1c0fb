#include "browser/DiscCheck.h"
#include "TreeBuildFixture.h"
#include "support/FakeUi.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

// The disc check over the keys of the style view, where every list has a "label:>path" key,
// hard-disc ones ("EOF:>...") too.
class DiscCheckTest : public test::TreeBuildFixture {};

TEST_F(DiscCheckTest, OnlyADiscIsAskedForWhateverTheDriveIsLabelled) {
    const QString stick = "/media/ann/STICK/";
    drives.addDrive(stick, DriveType::Removable, "STICK");
    drives.addDrive("/media/cd2", DriveType::CdRom, "OTHER");
    const qint64 rock = style("Rock");
    list(stick + "music/", "a.m3u", hardDisc(stick + "music/", 1), rock);
    list("/music/", "b.m3u", hardDisc("/music/", 1), rock);
    list("/media/cd/Album/", "c.m3u", disc("/media/cd/Album/", 1, "Disc In", "Disc7"), rock);
    list("/media/cd2/", "d.m3u", disc("/media/cd2/", 1, "Disc Out", "Music_02"), rock);
    styleTree();

    const struct {
        QString key;
        size_t boxes;
        MsgAnswer answer;
    } cases[] = {
        {"EOF:>" + stick + "music/a.m3u", 0, MsgAnswer::Ok},  // a labelled USB drive
        {"EOF:>/music/b.m3u", 0, MsgAnswer::Ok},              // an unlabelled one
        {"Disc In:>/media/cd/Album/c.m3u", 0, MsgAnswer::Ok}, // its disc is in
        {"Disc Out:>/media/cd2/d.m3u", 1, MsgAnswer::Cancel}, // another disc is in
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key.toStdString());
        ASSERT_TRUE(tree.NodeExists(c.key));
        test::FakeUi ui;
        EXPECT_EQ(ConfirmDiscOfKey(catalog, drives, ui, c.key), c.answer);
        EXPECT_EQ(ui.transcript.size(), c.boxes);
    }
}

} // namespace
} // namespace tarl
