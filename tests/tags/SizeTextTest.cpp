#include "tags/FormatFileSize.h"
#include "tags/FormatMinSec.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace tarl {
namespace {

TEST(FormatFileSize, BytesThousandsAndMillionsCutNotRounded) {
    const struct {
        qint64 bytes;
        const char* text;
    } cases[] = {
        {0, "N/A"},
        {-5, "N/A"},
        {850, "850b"},
        {1000, "1000b"},
        {1001, "1K"},
        {12340, "12K"},
        {999999, "999K"},
        {1000000, "1000K"},
        {1000001, "1.00M"},
        {1019999, "1.01M"},
        {4500000, "4.50M"},
        {12345678, "12.34M"},
        // Beyond 32 bits: large files keep their size.
        {4294967296LL, "4294.96M"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatFileSize(c.bytes), QString::fromLatin1(c.text)) << c.bytes;
}

TEST(FormatMinSec, TwoDigitsAtLeastAnyLength) {
    const struct {
        qint64 seconds;
        const char* text;
    } cases[] = {
        {0, "00:00"},
        {-5, "00:00"},
        {59, "00:59"},
        {75, "01:15"},
        {187, "03:07"},
        {600, "10:00"},
        {6000, "100:00"},
        {7505, "125:05"},
        // Past the 16-bit minutes that once overflowed.
        {32820, "547:00"},
        {40000, "666:40"},
        {2147483647, "35791394:07"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatMinSec(c.seconds), QString::fromLatin1(c.text)) << c.seconds;
}

} // namespace
} // namespace tarl
