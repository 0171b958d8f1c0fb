#include "platform/PlayerLines.h"
#include "platform/PlayerPushed.h"
#include "support/FuzzSeeds.h"

#include <gtest/gtest.h>

// What the player link makes of the lines mpv sends: each stream is read line by line, the
// events applied, and the answers for the length (in s), the position (in ms) and the entry taken.
// The streams are also the IPC fuzzer's seeds (a first byte 0: no cuts).
namespace tarl {
namespace {

struct PushedCase {
    const char* name;
    const char* stream;
    qint64 length;
    qint64 position;
    qint64 entry;
};

const char* const Loaded = R"({"event":"property-change","id":3,"data":0}
{"event":"property-change","id":4,"data":0}
{"event":"file-loaded"}
)";

class PlayerLines : public ::testing::TestWithParam<PushedCase> {};

TEST_P(PlayerLines, PushedValues) {
    const PushedCase& c = GetParam();
    const QByteArray stream = QByteArray(Loaded) + c.stream;
    test::SaveFuzzSeed(QStringLiteral("mpv_ipc"), QString::fromUtf8(c.name), '\0' + stream);
    PlayerLineBuffer buffer;
    ASSERT_TRUE(buffer.append(stream));
    PlayerPushed pushed;
    while (const std::optional<QByteArray> line = buffer.takeLine()) {
        const PlayerMessage message = ParsePlayerLine(*line);
        if (message.kind == PlayerMessage::Kind::Event)
            pushed.apply(message.object);
    }
    EXPECT_EQ(pushed.lengthSeconds(), c.length);
    EXPECT_EQ(pushed.positionMs(), c.position);
    EXPECT_EQ(pushed.entry, c.entry);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlayerLines,
    ::testing::Values(PushedCase{"plain", R"({"event":"property-change","id":1,"data":20.4}
{"event":"property-change","id":2,"data":5.25}
)",
                                 20, 5250, 0},
                      // Found by fuzzing: a rounding of these gave a negative length and position.
                      PushedCase{"beyond_64_bits",
                                 R"({"event":"property-change","id":1,"data":1e300}
{"event":"property-change","id":2,"data":1e19}
)",
                                 2147483647, 2147483647, 0},
                      PushedCase{"beyond_32_bits", R"({"event":"property-change","id":1,"data":3e9}
{"event":"property-change","id":2,"data":2147484}
)",
                                 2147483647, 2147483647, 0},
                      // The end of the list told as idle before the file's end-file event.
                      PushedCase{"idle_before_end_file",
                                 R"({"event":"property-change","id":1,"data":1}
{"event":"property-change","id":2,"data":0.623}
{"event":"property-change","id":6,"data":true}
)",
                                 0, 0, 0},
                      PushedCase{"negative", R"({"event":"property-change","id":1,"data":-5}
{"event":"property-change","id":2,"data":-1e300}
)",
                                 0, 0, 0},
                      PushedCase{"wrong_types", R"({"event":"property-change","id":1,"data":"20"}
{"event":"property-change","id":"2","data":5}
{"event":"property-change","id":3,"data":[1]}
)",
                                 0, 0, -1},
                      PushedCase{"unknown_events_and_ids", R"({"event":"seek"}
{"event":"property-change","id":99,"data":7}
{"event":7,"id":1,"data":7}
{"request_id":"x","data":3}
not json
[1,2]
)",
                                 0, 0, 0}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(PlayerLineBuffer, ALineWithoutItsEndPastTheLimitIsRefused) {
    PlayerLineBuffer buffer(8);
    EXPECT_TRUE(buffer.append("{\"a\":1}\n{\"b\""));
    EXPECT_EQ(buffer.takeLine(), QByteArray("{\"a\":1}"));
    EXPECT_FALSE(buffer.takeLine());
    EXPECT_FALSE(buffer.append(":12345"));
}

} // namespace
} // namespace tarl
