#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>
#include <optional>

namespace velarix::sim {

// Made-up tuning data of a decoder, laid out as the decoder keeps it: channel
// records of 30 bytes and transponder records of 12 bytes, big-endian, in
// tagged sections of a flash image or as a plain array in RAM. Written from
// the record and section layouts alone, so that the program's reading of them
// can be checked against a second, separate writing.

struct SampleChannel {
    QByteArray name;  // Latin-1 bytes, at most 16
    std::uint8_t status = 0;
    std::uint8_t transponder = 0;  // 1-based row of the transponder table; 0 for none
    std::uint16_t sid = 0, vpid = 0, apid = 0, vecm = 0, aecm = 0, pcr = 0;
};

struct SampleTransponder {
    std::uint32_t frequencyHz = 0;  // tuner frequency
    std::uint16_t tsid = 0, nid = 0;
    std::uint8_t channels = 0;
    std::uint8_t symbolRateIndex = 0;
    std::uint8_t fec = 0;
    std::uint8_t flags = 0;  // 22 kHz, horizontal, C band, satellite index << 3
};

inline constexpr int kChannelRecordSize = 30;
inline constexpr int kTransponderRecordSize = 12;
inline constexpr int kSectionHeaderSize = 68;  // block prefix, two tag fields, 4 bytes
inline constexpr int kBlockSize = 0x10000;

// The 30 transponders and the channels on them: TV, radio, data and empty
// service entries, names with Latin-1 letters, one name of exactly 16 letters,
// one channel without a transponder.
QList<SampleTransponder> SampleTransponders();
QList<SampleChannel> SampleChannels();

// `count` channels spread over transponders 1..`transponders`, for tables of
// any size; the first ones are those of SampleChannels().
QList<SampleChannel> ManyChannels(int count, int transponders);
// `count` transponders; the first ones are those of SampleTransponders().
QList<SampleTransponder> ManyTransponders(int count);

QByteArray ChannelRecord(const SampleChannel& channel);
QByteArray TransponderRecord(const SampleTransponder& transponder);

// `records` records of the list, padded with zero records (free entries) up
// to `slotCount` records.
QByteArray ChannelRecords(const QList<SampleChannel>& channels, int slotCount);
QByteArray TransponderRecords(const QList<SampleTransponder>& transponders, int slotCount);

// The 36 bytes of a section from its first tag field to its records: the two
// tag fields ("TCS" or "TPT" and 13 made-up bytes each) and 4 made-up bytes.
QByteArray SectionTags(const char* tag);
// The 32-byte prefix the decoder writes before a section at a block start.
QByteArray BlockPrefix();

// Where the two sections of a flash image go, given as the position of the
// section (its tag field is 32 bytes further on); a position that is not a
// block start puts the section inside a block; the 32 bytes before its tag
// field then hold bytes of whatever precedes it there.
struct FlashLayout {
    std::int64_t size = 0x80000;
    std::int64_t channelSection = 0x30000;
    std::int64_t transponderSection = 0x50020;
    int channelSlots = 2002;  // records written in the channel section
    int transponderSlots = 199;
    QList<SampleChannel> channels = SampleChannels();
    QList<SampleTransponder> transponders = SampleTransponders();
    // Further channel sections (stale copies the decoder left), each holding
    // the same tags and `channels`.
    QList<std::int64_t> moreChannelSections;
    QList<std::int64_t> moreTransponderSections;
};

// A flash image: firmware-like bytes in the first blocks, the sections where
// the layout puts them, erased flash (FF) elsewhere.
QByteArray FlashImage(const FlashLayout& layout = {});

// The decoder's working channel table in RAM: SampleChannels() as 999 records
// from offset 0, then 238 bytes of other RAM (30208 bytes in all).
QByteArray RamTable();
inline constexpr int kRamTableSize = 30208;

// Writes "sample-flash.bin" and "sample-ram.bin" into `folder`; the system's
// reason when a file cannot be written.
std::optional<QString> SaveSampleTables(const QString& folder);

// Small images for a fuzzer to start from: sections at and inside blocks,
// short records at the end, a RAM table.
QList<QByteArray> SeedImages();

}  // namespace velarix::sim
