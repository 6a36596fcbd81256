#include <gtest/gtest.h>

#include "serial/checksum.h"

namespace velarix {
namespace {

TEST(AddChecksum, CommandLinesOfTheServiceProtocol) {
    EXPECT_EQ(AddChecksum("%EE?00010"), QStringLiteral("%EE?00010F1"));
    EXPECT_EQ(AddChecksum("%EE?0A010").right(2), QStringLiteral("80"));
    EXPECT_EQ(AddChecksum("%EE=00010" + QString(32, QLatin1Char('F'))).right(2),
              QStringLiteral("F3"));
    EXPECT_EQ(AddChecksum("%PR?"), QStringLiteral("%PR?C2"));
    EXPECT_EQ(AddChecksum("%DL?"), QStringLiteral("%DL?C8"));
}

TEST(AddChecksum, LeavesOutTheFirstCharacter) {
    EXPECT_EQ(AddChecksum("%EE"), QStringLiteral("%EEFF"));  // E xor E is 0
    EXPECT_EQ(AddChecksum("%"), QStringLiteral("%FF"));
    EXPECT_EQ(AddChecksum(""), QStringLiteral("FF"));
    EXPECT_EQ(AddChecksum("XA"), QStringLiteral("XABE"));  // ~0x41
}

TEST(AddChecksum, CountsTheLengthInEightBits) {
    // 256 characters: length mod 256 is 0, so no character is summed.
    const QString line256 = QStringLiteral("%") + QString(255, QLatin1Char('A'));
    EXPECT_EQ(AddChecksum(line256).right(2), QStringLiteral("FF"));
    // 258 characters: only characters 2 to 2 are summed.
    const QString line258 = QStringLiteral("%B") + QString(256, QLatin1Char('A'));
    EXPECT_EQ(AddChecksum(line258).right(2), QStringLiteral("BD"));  // ~0x42
}

TEST(AddChecksumToBytes, SumsTheBytesAsTheyAreSent) {
    EXPECT_EQ(AddChecksumToBytes("%EE?00010"), QByteArray("%EE?00010F1"));
    EXPECT_EQ(AddChecksumToBytes("%\xE9\x80"), QByteArray("%\xE9\x80"
                                                          "96"));  // ~(E9 ^ 80)
    const QByteArray line258 = "%B" + QByteArray(256, 'A');
    EXPECT_EQ(AddChecksumToBytes(line258).right(2), QByteArray("BD"));
}

}  // namespace
}  // namespace velarix
