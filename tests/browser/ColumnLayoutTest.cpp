#include "browser/ColumnLayout.h"

#include "platform/IniProfile.h"
#include "state/Settings.h"
#include "support/FakeProfile.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QRandomGenerator>
#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>

namespace tarl {
namespace {

using Widths = std::array<double, TrackColumnCount>;
using Positions = std::array<int, TrackColumnCount>;

constexpr Widths kBuiltIn{3000, 2000, 2000, 1500, 1500, 800, 1000, 2000, 2000, 2000, 0, 0};
constexpr Positions kInOrder{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};

// A real settings file, as the program reads it.
class ColumnLayoutTest : public ::testing::Test {
protected:
    void SetUp() override { settings.setPath(dir.file("tarl.ini")); }
    void ini(const QByteArray& dimensions) { dir.write("tarl.ini", "[Dimensions]\n" + dimensions); }

    test::TempDir dir;
    IniProfile profile;
    Settings settings{profile};
};

TEST_F(ColumnLayoutTest, NoSavedValuesGiveTheBuiltInLayout) {
    const ColumnLayout layout = ReadColumnLayout(settings);
    EXPECT_EQ(layout.widthTwips, kBuiltIn);
    EXPECT_EQ(layout.position, kInOrder);
    EXPECT_TRUE(layout.ignored.isEmpty());
}

TEST_F(ColumnLayoutTest, AnUnusableValueLeavesOnlyItsOwnColumnBuiltIn) {
    const struct {
        const char* name;
        QByteArray ini;
        Widths widths;
        QStringList ignored;
    } cases[] = {
        {"abc under mp3F3",
         "mp3F1=2500\nmp3F2=1800.5\nmp3F3=abc\nmp3F4=100\nmp3F11=999\n",
         {2500, 1800.5, 2000, 100, 1500, 800, 1000, 2000, 2000, 2000, 999, 0},
         {"Dimensions/mp3F3=abc"}},
        {"empty values are not ignored, just absent",
         "mp3F1=\nmp3F2=  \nmp3F10=0\n",
         {3000, 2000, 2000, 1500, 1500, 800, 1000, 2000, 2000, 0, 0, 0},
         {}},
        {"negative, beyond a section's size, not finite",
         "mp3F1=-15\nmp3F2=491506\nmp3F3=491505\nmp3F4=nan\nmp3F5=1e40\n",
         {3000, 2000, 491505, 1500, 1500, 800, 1000, 2000, 2000, 2000, 0, 0},
         {"Dimensions/mp3F1=-15", "Dimensions/mp3F2=491506", "Dimensions/mp3F4=nan",
          "Dimensions/mp3F5=1e40"}},
        // The twelfth column is never read.
        {"mp3F12", "mp3F12=5000\n", kBuiltIn, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ini(c.ini);
        const ColumnLayout layout = ReadColumnLayout(settings);
        EXPECT_EQ(layout.widthTwips, c.widths);
        EXPECT_EQ(layout.position, kInOrder);
        EXPECT_EQ(layout.ignored, c.ignored);
    }
}

TEST_F(ColumnLayoutTest, PositionsCountFromOneAndColumnsWithoutOneFillTheGaps) {
    const struct {
        const char* name;
        QByteArray ini;
        Positions positions; // 0-based display position of each column
        QStringList ignored;
    } cases[] = {
        {"a file saved by the Windows program, Title first",
         "mp3FO1=2\nmp3FO2=3\nmp3FO3=1\nmp3FO4=4\nmp3FO5=5\nmp3FO6=6\nmp3FO7=7\nmp3FO8=8\n"
         "mp3FO9=9\nmp3FO10=10\nmp3FO11=11\n",
         {1, 2, 0, 3, 4, 5, 6, 7, 8, 9, 10, 11},
         {}},
        {"the track id was dragged to the left",
         "mp3FO1=2\nmp3FO2=3\nmp3FO3=4\nmp3FO4=5\nmp3FO5=6\nmp3FO6=7\nmp3FO7=8\nmp3FO8=9\n"
         "mp3FO9=10\nmp3FO10=11\nmp3FO11=12\n",
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0},
         {}},
        {"only Time moved to the front", "mp3FO10=1\n", {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 10, 11}, {}},
        {"an unreadable position among saved ones",
         "mp3FO1=12\nmp3FO2=abc\nmp3FO3=1\n",
         {11, 1, 0, 2, 3, 4, 5, 6, 7, 8, 9, 10},
         {"Dimensions/mp3FO2=abc"}},
        {"out of range and a place already taken",
         "mp3FO1=0\nmp3FO2=13\nmp3FO3=-1\nmp3FO4=2\nmp3FO5=2\n",
         {0, 2, 3, 1, 4, 5, 6, 7, 8, 9, 10, 11},
         {"Dimensions/mp3FO1=0", "Dimensions/mp3FO2=13", "Dimensions/mp3FO3=-1",
          "Dimensions/mp3FO5=2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ini(c.ini);
        const ColumnLayout layout = ReadColumnLayout(settings);
        EXPECT_EQ(layout.position, c.positions);
        EXPECT_EQ(layout.widthTwips, kBuiltIn);
        EXPECT_EQ(layout.ignored, c.ignored);
    }
}

TEST_F(ColumnLayoutTest, WritesWidthsThenPositionsAndEveryOrderComesBack) {
    test::FakeProfile recorder;
    Settings recorded(recorder);
    recorded.setPath("tarl.ini");
    ColumnLayout layout = BuiltInColumnLayout();
    layout.widthTwips[ColTitle] = 2345.5;
    layout.widthTwips[ColRating] = 1200;
    layout.position = {3, 0, 1, 2, 4, 5, 6, 7, 8, 9, 11, 10};
    WriteColumnLayout(recorded, layout);
    EXPECT_EQ(recorder.writes, 22);
    EXPECT_EQ(recorded.ReadSetting("Dimensions", "mp3F3", ""), "2345.5");
    EXPECT_EQ(recorded.ReadSetting("Dimensions", "mp3F11", ""), "1200");
    EXPECT_EQ(recorded.ReadSetting("Dimensions", "mp3FO1", ""), "4");
    EXPECT_EQ(recorded.ReadSetting("Dimensions", "mp3FO11", ""), "12");
    EXPECT_EQ(recorded.ReadSetting("Dimensions", "mp3F12", ""), "");
    EXPECT_EQ(recorded.ReadSetting("Dimensions", "mp3FO12", ""), "");

    // Any order the user drags the columns into survives a restart, whichever column is last.
    // Kept in memory: the file's own rules are tested with the settings.
    test::FakeProfile memory;
    Settings kept(memory);
    kept.setPath("tarl.ini");
    QRandomGenerator random(7);
    for (int round = 0; round < 500; ++round) {
        ColumnLayout saved;
        std::iota(saved.position.begin(), saved.position.end(), 0);
        std::shuffle(saved.position.begin(), saved.position.end(), random);
        for (double& width : saved.widthTwips)
            width = random.bounded(1, 40000) * 0.5;
        saved.widthTwips[ColId] = 0; // not saved: the view's default
        WriteColumnLayout(kept, saved);
        const ColumnLayout read = ReadColumnLayout(kept);
        ASSERT_EQ(read.position, saved.position) << round;
        ASSERT_EQ(read.widthTwips, saved.widthTwips) << round;
        ASSERT_TRUE(read.ignored.isEmpty()) << round;
    }
}

} // namespace
} // namespace tarl
