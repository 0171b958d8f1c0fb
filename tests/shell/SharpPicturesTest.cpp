#include "MainFixture.h"
#include "support/WindowParts.h"

#include "desktop/IconLabel.h"
#include "dialogs/ScanWindow.h"
#include "shell/About.h"
#include "shell/Picture.h"

#include <QImage>
#include <QLabel>

using namespace tarl;

namespace {

using SharpPictures = tarl::test::MainFixture;

// A picture made for one density and shown on a screen of twice that density comes out with
// every pixel doubled: each aligned 2x2 block of one colour.
bool DoubledFromHalfTheDensity(const QImage& image) {
    for (int y = 0; y + 1 < image.height(); y += 2)
        for (int x = 0; x + 1 < image.width(); x += 2) {
            const QRgb p = image.pixel(x, y);
            if (image.pixel(x + 1, y) != p || image.pixel(x, y + 1) != p ||
                image.pixel(x + 1, y + 1) != p)
                return false;
        }
    return true;
}

// The widget as a screen of twice the density shows it.
QImage OnADoubleDensityScreen(QWidget* widget) {
    QImage image(widget->size() * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2.0);
    image.fill(Qt::white);
    widget->render(&image);
    return image;
}

TEST_F(SharpPictures, NoLabelHoldsAPictureMadeForOneDensity) {
    MainWindow& w = start();
    About about;
    ScanWindow scan(*state);
    for (const QWidget* shown :
         {static_cast<QWidget*>(&w), static_cast<QWidget*>(&about), static_cast<QWidget*>(&scan)})
        for (const QLabel* label : shown->findChildren<QLabel*>())
            EXPECT_TRUE(label->pixmap().isNull()) << label->objectName().toStdString();
}

TEST_F(SharpPictures, PanelButtonsAndTheProgramsPictureAreDrawnAtTheScreensDensity) {
    MainWindow& w = start();
    About about;
    std::vector<QWidget*> pictures{about.findChild<QLabel*>("picture")};
    for (int i : {0, 1, 2, 3, 4, 7})
        pictures.push_back(test::Part<QLabel>(w, "panelButton" + QString::number(i)));
    for (QWidget* picture : pictures) {
        ASSERT_NE(picture, nullptr);
        EXPECT_FALSE(DoubledFromHalfTheDensity(OnADoubleDensityScreen(picture)))
            << picture->objectName().toStdString();
    }
    // The tray and the window manager ask the icon for pixels at their own density.
    const QPixmap tray = TarlIcon().pixmap(QSize(22, 22), 2.0);
    EXPECT_EQ(tray.size(), QSize(44, 44));
    EXPECT_FALSE(DoubledFromHalfTheDensity(tray.toImage()));
}

} // namespace
