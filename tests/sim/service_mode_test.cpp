#include <gtest/gtest.h>

#include "service_mode.h"
#include "simulated_decoder.h"

namespace velarix::sim {
namespace {

// Lines are built here by hand, from the protocol, not by the program's code.
QByteArray Line(const QByteArray& body) {
    return body + ServiceMode::Checksum(body);
}

struct ServiceModeTest : ::testing::Test {
    SimulatedDecoder decoder;
    ServiceMode service{decoder};
};

TEST_F(ServiceModeTest, ChecksumIsTheComplementOfTheXorAfterThePercentSign) {
    EXPECT_EQ(ServiceMode::Checksum("%EE?00010"), QByteArray("F1"));
    EXPECT_EQ(ServiceMode::Checksum("%EE?0A010"), QByteArray("80"));
    EXPECT_EQ(ServiceMode::Checksum("%"), QByteArray("FF"));
}

TEST_F(ServiceModeTest, AReadAnswersTheSixteenBytesOfTheRow) {
    const auto replies = service.Feed(Line("%EE?7F010"));
    ASSERT_EQ(replies.size(), 1);
    EXPECT_EQ(replies[0], "$!C0" + decoder.Eeprom().mid(0x7F0, 16).toHex().toUpper() + "\r");
}

TEST_F(ServiceModeTest, AWriteStoresTheBytes) {
    const QByteArray data = "00112233445566778899AABBCCDDEEFF";
    EXPECT_EQ(service.Feed(Line("%EE=120"
                                "10" +
                                data)),
              QList<QByteArray>{"$!C0\r"});
    EXPECT_EQ(decoder.Eeprom().mid(0x120, 16), QByteArray::fromHex(data));
}

TEST_F(ServiceModeTest, BadLinesAreRefused) {
    const QByteArray refusal = "$?C0\r";
    EXPECT_EQ(service.Feed("%EE?00010F0"), QList<QByteArray>{refusal});      // wrong checksum
    EXPECT_EQ(service.Feed(Line("%EE?80010")), QList<QByteArray>{refusal});  // beyond 7FF
    EXPECT_EQ(service.Feed(Line("%EE?00510")), QList<QByteArray>{refusal});  // not a row start
    EXPECT_EQ(service.Feed(Line("%EE?00020")), QList<QByteArray>{refusal});  // count not 10
    EXPECT_EQ(service.Feed(Line("%EE=00010" + QByteArray(32, 'g'))), QList<QByteArray>{refusal});
    EXPECT_EQ(decoder.Eeprom(), DefaultEeprom());
}

TEST_F(ServiceModeTest, LinesAreFramedByTheirLengthWhateverTheArrivals) {
    const QByteArray two = Line("%EE?00010") + Line("%EE?01010");
    QList<QByteArray> replies;
    for (char c : two) replies += service.Feed(QByteArray(1, c));
    EXPECT_EQ(replies.size(), 2);
    EXPECT_FALSE(service.HasPartialLine());
}

TEST_F(ServiceModeTest, AnUnknownLineIsAnsweredWhenTheHostFallsQuiet) {
    EXPECT_TRUE(service.Feed("%EEFF").isEmpty());
    EXPECT_TRUE(service.HasPartialLine());
    EXPECT_EQ(service.Flush(), QList<QByteArray>{"$?C0\r"});
    EXPECT_TRUE(service.Feed("HELLO").isEmpty());
    EXPECT_EQ(service.Feed(Line("%EE?00010")).size(), 2);  // the "%" closes HELLO first
}

TEST_F(ServiceModeTest, FaultKnobs) {
    service.RefuseNext(2);
    EXPECT_EQ(service.Feed(Line("%EE?00010")), QList<QByteArray>{"$?C0\r"});
    EXPECT_EQ(service.Feed(Line("%EE?00010")), QList<QByteArray>{"$?C0\r"});
    EXPECT_TRUE(service.Feed(Line("%EE?00010"))[0].startsWith("$!C0"));
    service.SetSilent(true);
    EXPECT_TRUE(service.Feed(Line("%EE?00010")).isEmpty());
    EXPECT_EQ(service.LinesHandled(), 4);
}

}  // namespace
}  // namespace velarix::sim
