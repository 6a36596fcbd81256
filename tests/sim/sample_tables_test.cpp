// The sample tables against the record and section layouts written out by hand.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "sample_tables.h"

namespace velarix::sim {
namespace {

QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray bytes;
    for (int v : values) bytes.append(static_cast<char>(v));
    return bytes;
}

TEST(SampleTables, ChannelRecordIsThirtyBytesBigEndian) {
    SampleChannel c;
    c.name = QByteArray("Ni\xF1os");
    c.status = 0x86;
    c.transponder = 3;
    c.sid = 0x1234;
    c.vpid = 0xFFFF;
    c.apid = 0x0201;
    c.aecm = 1;
    c.pcr = 0x0100;
    const QByteArray expected = Bytes({'N',  'i',  0xF1, 'o',  's',  0,    0,    0,    0,    0,
                                       0,    0,    0,    0,    0,    0,    0x86, 0x03, 0x12, 0x34,
                                       0xFF, 0xFF, 0x02, 0x01, 0x00, 0x00, 0x00, 0x01, 0x01, 0x00});
    EXPECT_EQ(ChannelRecord(c), expected);
    c.name = QByteArray("Documentales HD1");  // 16 letters fill the field, no end byte
    EXPECT_EQ(ChannelRecord(c).left(17), QByteArray("Documentales HD1\x86"));
}

TEST(SampleTables, TransponderRecordIsTwelveBytesBigEndian) {
    SampleTransponder t;
    t.frequencyHz = 1612000500u;
    t.tsid = 1000;
    t.nid = 1;
    t.channels = 11;
    t.symbolRateIndex = 0x1A;
    t.fec = 7;
    t.flags = 0x0B;
    EXPECT_EQ(TransponderRecord(t),
              Bytes({0x60, 0x15, 0x2C, 0xF4, 0x03, 0xE8, 0x00, 0x01, 0x0B, 0x1A, 0x07, 0x0B}));
}

TEST(SampleTables, FlashImageHoldsOneSectionAtABlockStartAndOneInsideABlock) {
    const QByteArray image = FlashImage();
    ASSERT_EQ(image.size(), 0x80000);
    EXPECT_EQ(image.mid(0x30000, 32), Bytes({0x20}) + QByteArray(31, '\0'));
    EXPECT_EQ(image.mid(0x30020, 3), QByteArray("TCS"));
    EXPECT_EQ(image.mid(0x30030, 3), QByteArray("TCS"));
    EXPECT_EQ(image.mid(0x30044, 30), ChannelRecord(SampleChannels().first()));
    EXPECT_EQ(image.mid(0x30044 + 320 * 30, 30), QByteArray(30, '\0'));  // the first free one
    EXPECT_EQ(image.mid(0x50040, 3), QByteArray("TPT"));  // section at 50020h, tags 32 on
    EXPECT_EQ(image.mid(0x50050, 3), QByteArray("TPT"));
    EXPECT_NE(image.mid(0x50020, 32), BlockPrefix());  // what precedes it in the block
    EXPECT_EQ(image.mid(0x50064, 12), TransponderRecord(SampleTransponders().first()));
    EXPECT_EQ(image.count("TCS"), 2);
    EXPECT_EQ(image.count("TPT"), 2);
    EXPECT_EQ(static_cast<unsigned char>(image.back()), 0xFF);
}

TEST(SampleTables, ChannelsAndTranspondersAreWhatTheirNamesSay) {
    const auto channels = SampleChannels();
    const auto transponders = SampleTransponders();
    ASSERT_EQ(channels.size(), 320);
    ASSERT_EQ(transponders.size(), 30);
    EXPECT_EQ(channels[5].name, QByteArray("Ni\xF1os & Co"));
    EXPECT_EQ(channels[17].name.size(), 16);
    EXPECT_EQ(channels[41].transponder, 0);
    int total = 0;
    for (const auto& c : channels) {
        EXPECT_LE(c.name.size(), 16);
        EXPECT_LE(c.transponder, 30);
        EXPECT_NE(c.sid, 0);
        if (c.transponder) ++total;
    }
    int counted = 0;
    for (const auto& t : transponders) {
        EXPECT_EQ(t.flags & 0xC0, 0);
        counted += t.channels;
    }
    EXPECT_EQ(counted, total);
    EXPECT_EQ(transponders[0].frequencyHz, 1612000000u);
    EXPECT_EQ(transponders[6].symbolRateIndex, 0x1A);
}

TEST(SampleTables, RamTableAndFiles) {
    const QByteArray ram = RamTable();
    ASSERT_EQ(ram.size(), 30208);
    EXPECT_EQ(ram.left(30), ChannelRecord(SampleChannels().first()));
    EXPECT_EQ(ram.mid(29970 - 30, 30), QByteArray(30, '\0'));
    EXPECT_NE(ram.mid(29970), QByteArray(238, '\0'));
    QTemporaryDir dir;
    ASSERT_FALSE(SaveSampleTables(dir.path()).has_value());
    QFile flash(dir.filePath("sample-flash.bin"));
    ASSERT_TRUE(flash.open(QIODevice::ReadOnly));
    EXPECT_EQ(flash.readAll(), FlashImage());
    // A folder that is not there is made; a file in the way is told.
    EXPECT_FALSE(SaveSampleTables(dir.filePath("missing/folder")).has_value());
    EXPECT_TRUE(QFile::exists(dir.filePath("missing/folder/sample-ram.bin")));
    EXPECT_TRUE(SaveSampleTables(dir.filePath("sample-ram.bin/folder")).has_value());
}

}  // namespace
}  // namespace velarix::sim
