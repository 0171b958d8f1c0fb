#include "browser/TreeIcons.h"

#include "browser/TreeImage.h"

#include <QSet>
#include <gtest/gtest.h>

namespace tarl {
namespace {

int DrawnPixels(const QImage& image) {
    int drawn = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            drawn += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    }
    return drawn;
}

TEST(LibraryTreeIcons, EveryIndexOfTheTreeHasItsOwnPictureAndOthersNone) {
    // The indices the builds use; 9 and 0 are none of them.
    const int used[] = {
        TreeImage::Catalog,     TreeImage::StyleFilePresent, TreeImage::StyleFileMissing,
        TreeImage::Folder,      TreeImage::Playlist,         TreeImage::Disc,
        TreeImage::DiscMissing, TreeImage::TrackFolder,      TreeImage::Style};
    QSet<QByteArray> pictures;
    for (const int index : used) {
        SCOPED_TRACE(index);
        const QImage image = TreeIcons::image(index, 16);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(16, 16));
        // Something is drawn, and the corners stay clear for the view's background.
        EXPECT_GT(DrawnPixels(image), 40);
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
        pictures.insert(
            QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()));
        EXPECT_FALSE(TreeIcons::icon(index).isNull());
    }
    EXPECT_EQ(pictures.size(), int(std::size(used)));

    for (const int index : {-1, 0, 9, 11}) {
        SCOPED_TRACE(index);
        EXPECT_TRUE(TreeIcons::image(index).isNull());
        EXPECT_TRUE(TreeIcons::icon(index).isNull());
    }
}

} // namespace
} // namespace tarl
