#include <gtest/gtest.h>

#include "eeprom/hex.h"

namespace velarix {
namespace {

TEST(HexToInt, ReadsUpperCaseHexadecimal) {
    EXPECT_EQ(HexToInt(u"7F0"), 2032);
    EXPECT_EQ(HexToInt(u"0"), 0);
    EXPECT_EQ(HexToInt(u"FF"), 255);
    EXPECT_EQ(HexToInt(u"C00D0000"), 0xC00D0000LL);
}

TEST(HexToInt, EmptyTextIsZero) {
    EXPECT_EQ(HexToInt(u""), 0);
}

TEST(HexToInt, AnyOtherCharacterGivesMinusOne) {
    EXPECT_EQ(HexToInt(u"7f"), -1);
    EXPECT_EQ(HexToInt(u"G1"), -1);
    EXPECT_EQ(HexToInt(u" 1"), -1);
    EXPECT_EQ(HexToInt(u"-1"), -1);
    EXPECT_EQ(HexToInt(u"0x10"), -1);
}

TEST(HexToInt, ValuesBeyondSixtyFourBitsAreInvalid) {
    EXPECT_EQ(HexToInt(u"7FFFFFFFFFFFFFFF"), 0x7FFFFFFFFFFFFFFFLL);
    EXPECT_EQ(HexToInt(u"10000000000000000"), -1);  // 17 digits
    EXPECT_EQ(HexToInt(u"00000000000000001"), -1);  // 17 digits, small value
    EXPECT_EQ(HexToInt(u"8000000000000000"), -1);   // 16 digits past the signed range
    EXPECT_EQ(HexToInt(u"FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF"), -1);
}

TEST(HexText, PadsAndUpperCases) {
    EXPECT_EQ(HexText(0xab, 2), QStringLiteral("AB"));
    EXPECT_EQ(HexText(5, 2), QStringLiteral("05"));
    EXPECT_EQ(HexText(0x7f, 1), QStringLiteral("7F"));
}

TEST(IsByteText, OnlyTwoUpperCaseDigits) {
    EXPECT_TRUE(IsByteText(u"A5"));
    EXPECT_FALSE(IsByteText(u"a5"));
    EXPECT_FALSE(IsByteText(u"5"));
    EXPECT_FALSE(IsByteText(u"005"));
    EXPECT_FALSE(IsByteText(u""));
}

}  // namespace
}  // namespace velarix
