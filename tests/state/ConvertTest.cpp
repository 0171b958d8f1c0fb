#include "state/Convert.h"

#include <gtest/gtest.h>

using namespace tarl;

TEST(Convert, WholeNumbersRoundHalfToEvenAndRejectOutOfRange) {
    EXPECT_EQ(ToInt16("12"), 12);
    EXPECT_EQ(ToInt16(" 7 "), 7);
    EXPECT_EQ(ToInt16("2.5"), 2);
    EXPECT_EQ(ToInt16("3.5"), 4);
    EXPECT_EQ(ToInt16("-1"), -1);
    EXPECT_EQ(ToInt16("32767"), 32767);
    EXPECT_FALSE(ToInt16("32768"));
    EXPECT_FALSE(ToInt16("abc"));
    EXPECT_FALSE(ToInt16(""));
    EXPECT_FALSE(ToInt16("nan"));
    EXPECT_EQ(ToInt32("40000"), 40000);
    EXPECT_FALSE(ToInt32("3000000000"));
}

TEST(Convert, BooleansAcceptTextInAnyCaseAndNumbers) {
    EXPECT_EQ(ToBool("True"), true);
    EXPECT_EQ(ToBool("FALSE"), false);
    EXPECT_EQ(ToBool("true"), true);
    EXPECT_EQ(ToBool("1000"), true); // the compact playlist's default
    EXPECT_EQ(ToBool("0"), false);
    EXPECT_EQ(ToBool("-1"), true);
    EXPECT_FALSE(ToBool("yes"));
    EXPECT_FALSE(ToBool(""));
}

TEST(Convert, SinglesRoundTripThroughTheirText) {
    for (float v : {0.0f, 11000.0f, 1234.5f, 0.1f, -15.0f, 16777216.0f, 3.3333333f}) {
        const auto back = ToSingle(FormatSingle(v));
        ASSERT_TRUE(back) << FormatSingle(v).toStdString();
        EXPECT_EQ(*back, v);
    }
    EXPECT_EQ(FormatSingle(11000.0f), "11000");
    EXPECT_FALSE(ToSingle("1e40"));
    EXPECT_FALSE(ToSingle("x"));
}
