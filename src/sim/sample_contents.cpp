#include "sample_contents.h"

#include <algorithm>
#include <cstdint>

namespace velarix::sim {

namespace {

constexpr int kChannelRecords = 999;
constexpr int kTransponderRecords = 99;
constexpr int kBlock = 0x10000;

struct Channel {
    const char* name;
    std::uint8_t status;  // bit 2 active, bit 1 favourite, bits 5-7 encryption
    std::uint8_t transponder;
    std::uint16_t sid, vpid, apid, vecm, aecm, pcr;
};

// Channels of our own invention.
constexpr Channel kChannels[] = {
    {"Noticias 24", 0x06, 1, 101, 160, 80, 0, 0, 160},
    {"Deportes Uno", 0x04, 1, 102, 161, 81, 0, 0, 161},
    {"Cine Clasico", 0x24, 1, 103, 162, 82, 1800, 1801, 162},
    {"Documentales", 0x04, 2, 201, 512, 650, 0, 0, 512},
    {"Infantil", 0x04, 2, 202, 513, 660, 0, 0, 513},
    {"Musica Hoy", 0x06, 2, 203, 514, 670, 0, 0, 514},
    {"Radio Central", 0x0C, 3, 301, 0, 700, 0, 0, 700},
    {"Radio Clasica", 0x0C, 3, 302, 0, 710, 0, 0, 710},
    {"Canal Viajes", 0xA4, 3, 303, 1024, 1025, 2000, 2001, 1024},
    {"Prueba Tecnica", 0x04, 3, 399, 1100, 1101, 0, 0, 1100},
};

struct Transponder {
    std::uint32_t hertz;  // tuner frequency
    std::uint16_t tsid, nid;
    std::uint8_t channels, symbolRate, fec, flags;
};

constexpr Transponder kTransponders[] = {
    {1219500000, 1001, 1, 3, 2, 2, 0x02},
    {1361750000, 1002, 1, 3, 2, 1, 0x03},
    {1097000000, 1003, 1, 4, 4, 2, 0x08},
};

void PutBig(QByteArray& bytes, int at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<char>(value >> (8 * (size - 1 - i)));
}

QByteArray ChannelRecords() {
    QByteArray records(kChannelRecords * 30, '\0');
    int at = 0;
    for (const Channel& c : kChannels) {
        const QByteArray name(c.name);
        records.replace(at, name.size(), name);
        records[at + 16] = static_cast<char>(c.status);
        records[at + 17] = static_cast<char>(c.transponder);
        PutBig(records, at + 18, c.sid, 2);
        PutBig(records, at + 20, c.vpid, 2);
        PutBig(records, at + 22, c.apid, 2);
        PutBig(records, at + 24, c.vecm, 2);
        PutBig(records, at + 26, c.aecm, 2);
        PutBig(records, at + 28, c.pcr, 2);
        at += 30;
    }
    return records;
}

QByteArray TransponderRecords() {
    QByteArray records(kTransponderRecords * 12, '\0');
    int at = 0;
    for (const Transponder& t : kTransponders) {
        PutBig(records, at, t.hertz, 4);
        PutBig(records, at + 4, t.tsid, 2);
        PutBig(records, at + 6, t.nid, 2);
        records[at + 8] = static_cast<char>(t.channels);
        records[at + 9] = static_cast<char>(t.symbolRate);
        records[at + 10] = static_cast<char>(t.fec);
        records[at + 11] = static_cast<char>(t.flags);
        at += 12;
    }
    return records;
}

// A section as the decoder writes it at a block start: its prefix, the tag
// twice in 16-byte fields, four bytes, then the records.
QByteArray Section(const char* tag, const QByteArray& records) {
    QByteArray section(68, '\0');
    section[0] = 0x20;
    section.replace(32, 3, tag);
    section.replace(48, 3, tag);
    return section + records;
}

}  // namespace

QByteArray SampleFirmware(int size) {
    QByteArray bytes(size, '\xFF');
    const QByteArray header("VELARIX SIMULATED DECODER FIRMWARE 1.0");
    const int used = std::min(size, 0x140000);
    std::uint32_t x = 0x2545F491;
    for (int i = 0; i < used; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        bytes[i] = static_cast<char>(x >> 11);
    }
    bytes.replace(0, std::min<qsizetype>(header.size(), size), header.left(size));
    return bytes;
}

QByteArray SampleRamChannelTable() {
    return ChannelRecords();
}

QByteArray SampleFlashChannelList() {
    QByteArray bytes(2 * kBlock, '\xFF');
    const QByteArray channels = Section("TCS", ChannelRecords());
    const QByteArray transponders = Section("TPT", TransponderRecords());
    bytes.replace(0, channels.size(), channels);
    bytes.replace(kBlock, transponders.size(), transponders);
    return bytes;
}

}  // namespace velarix::sim
