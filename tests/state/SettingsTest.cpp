#include "platform/IniProfile.h"
#include "state/AppState.h"
#include "state/LastSong.h"
#include "support/FakeProfile.h"
#include "support/TempDir.h"
#include "support/TestServices.h"

#include <gtest/gtest.h>

using namespace tarl;
using tarl::test::TempDir;
using tarl::test::TestServices;

namespace {

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override { state.settings.setPath(dir.file("tarl.ini")); }
    QString ini() const { return QString::fromUtf8(dir.read("tarl.ini")); }

    TempDir dir;
    TestServices services;
    AppState state{services.services()};
};

TEST_F(SettingsFile, MissingFileSectionKeyOrEmptyValueGiveTheDefault) {
    EXPECT_EQ(state.settings.read(keys::Width), "11000");
    dir.write("tarl.ini", "[Player]\nMp3_position=\n[Dimensions]\nwidth=9000\n");
    EXPECT_EQ(state.settings.read(keys::Mp3Position), "0");
    EXPECT_EQ(state.settings.read(keys::Width), "9000");          // written "width", read "Width"
    EXPECT_EQ(state.settings.readBool(keys::MiniPlaylist), true); // default "1000"
    EXPECT_EQ(state.settings.readBool(keys::SortedByCd), true);
    EXPECT_TRUE(state.settings.ignoredKeys().isEmpty());
}

TEST_F(SettingsFile, GarbageValuesFallBackToTheirDefaultAndAreNoted) {
    dir.write("tarl.ini", "[Dimensions]\nWidth=wide\nvisual_mode=99999\n[Player]\nVolum=7\n"
                          "sorted_by_cd=maybe\n");
    EXPECT_EQ(state.settings.readSingle(keys::Width), 11000.0f);
    EXPECT_EQ(state.settings.readInt16(keys::VisualMode), 0);
    EXPECT_EQ(state.settings.readInt16(keys::Volume), 7);
    EXPECT_EQ(state.settings.readBool(keys::SortedByCd), true);
    EXPECT_EQ(state.settings.ignoredKeys(),
              QStringList({"Dimensions/Width=wide", "Dimensions/visual_mode=99999",
                           "Player/sorted_by_cd=maybe"}));
}

TEST(SettingsWrites, FailureIsKeptOnceAndLaterWritesStillRun) {
    TestServices services;
    test::FakeProfile profile;
    profile.failWrites = true;
    Settings settings(profile);
    settings.setPath("/nowhere/tarl.ini");
    EXPECT_FALSE(settings.write(keys::Volume, "5"));
    EXPECT_FALSE(settings.write(keys::Mp3Song, "x"));
    EXPECT_EQ(profile.writes, 2);
    EXPECT_TRUE(settings.writeError().contains("/nowhere/tarl.ini"));
}

TEST_F(SettingsFile, LoadLastSongReadsTheLastSongWithItsDefaults) {
    LoadLastSong(state);
    EXPECT_EQ(state.lastFolder, "");
    EXPECT_EQ(state.lastIndex, 1);
    EXPECT_EQ(state.lastSong, "");
    EXPECT_EQ(state.lastPosition, 0);
    dir.write("tarl.ini", "[Player]\nMp3folder=/m/a/\nMp3_index=4\nMp3_song=s.mp3\n"
                          "Mp3_position=61\n");
    LoadLastSong(state);
    EXPECT_EQ(state.lastFolder, "/m/a/");
    EXPECT_EQ(state.lastIndex, 4);
    EXPECT_EQ(state.lastSong, "s.mp3");
    EXPECT_EQ(state.lastPosition, 61);
}

TEST_F(SettingsFile, SaveLastSongWritesNothingBeforeTheLastSongWasRead) {
    dir.write("tarl.ini", "[Player]\nMp3_song=kept.mp3\nMp3_index=7\n");
    SaveLastSong(state);
    EXPECT_EQ(ini(), "[Player]\nMp3_song=kept.mp3\nMp3_index=7\n");
}

TEST_F(SettingsFile, SaveLastSongKeepsThePositionWhenNoPlayerAnswers) {
    dir.write("tarl.ini", "[Player]\nMp3_position=61\n");
    state.lastSongLoaded = true;
    state.lastFolder = "/m/b/";
    state.lastIndex = 2;
    state.lastSong = "t.mp3";
    SaveLastSong(state);
    EXPECT_EQ(state.lastPosition, 0);
    EXPECT_EQ(state.settings.read(keys::Mp3Position), "61");
    EXPECT_EQ(state.settings.read(keys::Mp3Index), "2");
    EXPECT_EQ(state.settings.read(keys::Mp3Song), "t.mp3");
    EXPECT_EQ(state.settings.read(keys::Mp3Folder), "/m/b/");
}

TEST_F(SettingsFile, SaveLastSongRoundsThePlayersPositionHalfToEven) {
    services.player.running = true;
    state.playerPid = services.player.findWindow();
    state.lastSongLoaded = true;
    for (const auto& [ms, seconds] : {std::pair{2500, "2"}, {3500, "4"}, {61499, "61"}}) {
        services.player.replies["lengthSeconds"] = ms;
        services.player.replies["positionMs"] = ms;
        SaveLastSong(state);
        EXPECT_EQ(state.settings.read(keys::Mp3Position), seconds) << ms;
    }
    // The question is the position.
    ASSERT_FALSE(services.player.sent.empty());
    EXPECT_EQ(services.player.sent.back().verb, "positionMs");
}

} // namespace
