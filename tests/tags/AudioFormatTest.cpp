#include "tags/AudioFormat.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

TEST(AudioFormat, TheExtensionNamesTheFormat) {
    const struct {
        const char* name;
        std::optional<AudioFormat> format;
    } cases[] = {
        {"a.mp3", AudioFormat::Mp3},   {"/music/Disc 1/A.MP3", AudioFormat::Mp3},
        {"a.Wav", AudioFormat::Wav},   {"a.WMA", AudioFormat::Wma},
        {"a.flac", AudioFormat::Flac}, {"a.ogg", AudioFormat::Ogg},
        {"a.OGA", AudioFormat::Ogg},   {"a.opus", AudioFormat::Ogg},
        {"a.m4a", AudioFormat::M4a},   {"a.mp4", AudioFormat::M4a},
        {"a.AAC", std::nullopt},       {"a.mp3.txt", std::nullopt},
        {"mp3", std::nullopt},         {"a", std::nullopt},
        {"a.", std::nullopt},          {"a.mp33", std::nullopt},
        {"a.fla", std::nullopt},       {"/music/x.mp3/track", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatOfFileName(QString::fromUtf8(c.name)), c.format) << c.name;
}

TEST(AudioFormat, KeysGoBothWays) {
    for (const AudioFormat f : {AudioFormat::Mp3, AudioFormat::Wav, AudioFormat::Wma,
                                AudioFormat::Flac, AudioFormat::Ogg, AudioFormat::M4a}) {
        EXPECT_EQ(FormatOfKey(FormatKey(f)), f) << FormatKey(f).toStdString();
        EXPECT_EQ(FormatOfKey(FormatKey(f).toUpper()), f);
    }
    EXPECT_EQ(FormatKey(AudioFormat::Flac), "flac");
    EXPECT_EQ(FormatOfKey("opus"), std::nullopt); // an extension, not a format
    EXPECT_EQ(FormatOfKey(".mp3"), std::nullopt);
}

} // namespace
} // namespace tarl
