#include "sample_tables.h"

#include <QDir>
#include <QSaveFile>
#include <QStringList>

namespace velarix::sim {

namespace {

void PutBig16(QByteArray& bytes, int at, std::uint16_t value) {
    bytes[at] = static_cast<char>(value >> 8);
    bytes[at + 1] = static_cast<char>(value & 0xFF);
}

void PutBig32(QByteArray& bytes, int at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (24 - 8 * i));
}

// Tuner frequencies of the made-up transponders, in MHz as the transponder
// sends (the tuner gets this less the LNB's oscillator).
constexpr int kLowBand[] = {10744, 10773, 10818, 10847, 10876, 10921, 10979, 11038,
                            11097, 11156, 11222, 11273, 11303, 11421, 11464, 11538};
constexpr int kHighBand[] = {11739, 11778, 11836, 11895, 11954, 12012,
                             12070, 12129, 12188, 12246, 12304, 12363};
constexpr std::uint32_t kLnbLowMHz = 9750;
constexpr std::uint32_t kLnbHighMHz = 10600;

// Channel names, written here in UTF-8 and stored as Latin-1.
const char* const kNames[] = {
    "Telé Música",  "Canal Acción",   "Fútbol Plus",    "Cine Clásico", "Radio Señal",
    "Información",  "Café TV",        "Über Kino",      "Crónica 24",   "Zoé Kids",
    "Müzik Türk",   "España Directo", "Eurosport 2",    "Océano",       "Jazz Rádio",
    "Ciné Famille", "Noticias",       "Documentales",   "Mañana TV",    "Peñíscola",
    "Grüße",        "Año Nuevo",      "Hogar & Jardín", "Señorío",      "Bühne Eins",
};

QByteArray Latin1(const char* utf8) {
    return QString::fromUtf8(utf8).toLatin1().left(16);
}

// Bytes that look like compiled code but never hold a section tag.
QByteArray FirmwareBytes(qsizetype size) {
    QByteArray bytes(size, '\0');
    std::uint32_t state = 0x2545F491u;
    for (qsizetype i = 0; i < size; ++i) {
        state = state * 1664525u + 1013904223u;
        char byte = static_cast<char>(state >> 24);
        if (byte == 'T') byte = 'U';
        bytes[i] = byte;
    }
    return bytes;
}

// The bytes a block holds before a section placed inside it.
QByteArray PrecedingBytes(qsizetype size) {
    QByteArray bytes(size, '\0');
    const QByteArray head("CFG\x00\x01\x00\x00\x20", 8);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = i < head.size() ? head[i] : static_cast<char>(0x30 + (i * 7) % 40);
    return bytes;
}

void Put(QByteArray& image, std::int64_t at, const QByteArray& bytes) {
    if (at >= image.size()) return;
    const std::int64_t n = std::min<std::int64_t>(bytes.size(), image.size() - at);
    std::copy_n(bytes.constData(), n, image.data() + at);
}

void PutSection(QByteArray& image, std::int64_t at, const char* tag, const QByteArray& records) {
    Put(image, at, at % kBlockSize == 0 ? BlockPrefix() : PrecedingBytes(32));
    Put(image, at + 32, SectionTags(tag));
    Put(image, at + kSectionHeaderSize, records);
}

bool WriteFile(const QString& path, const QByteArray& bytes, QString& error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        error = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    return true;
}

}  // namespace

QList<SampleTransponder> SampleTransponders() {
    return ManyTransponders(30);
}

QList<SampleTransponder> ManyTransponders(int count) {
    QList<SampleTransponder> list;
    for (int i = 0; i < count; ++i) {
        SampleTransponder t;
        if (i == 0) {
            t.frequencyHz = 1612000000u;  // 11362 MHz on the low band
        } else if (i == 1) {
            t.frequencyHz = 1612000500u;  // a tuner frequency with half a kHz
        } else {
            const int k = i - 2;
            const bool high = k % 3 == 2;
            const int mhz = high ? kHighBand[k % 12] : kLowBand[k % 16];
            t.frequencyHz = (mhz - (high ? kLnbHighMHz : kLnbLowMHz)) * 1000000u;
            if (high) t.flags |= 0x01;
        }
        if (i % 2 == 1) t.flags |= 0x02;  // horizontal
        if (i == 12) t.flags |= 0x04;     // one on the C band
        const int satellite = i < 20 ? 0 : i < 25 ? 1 : i < 28 ? 2 : 3;
        t.flags |= static_cast<std::uint8_t>(satellite << 3);
        t.tsid = static_cast<std::uint16_t>(1000 + i);
        t.nid = static_cast<std::uint16_t>(satellite == 0 ? 1 : 300 + satellite);
        t.symbolRateIndex = static_cast<std::uint8_t>(i == 6 ? 0x1A : i % 10);
        t.fec = static_cast<std::uint8_t>(i == 8 ? 7 : (i * 5) % 6);
        list << t;
    }
    const QList<SampleChannel> channels = ManyChannels(count * 32 / 3, count);
    for (const SampleChannel& c : channels) {
        if (c.transponder >= 1 && c.transponder <= list.size()) ++list[c.transponder - 1].channels;
    }
    return list;
}

QList<SampleChannel> SampleChannels() {
    return ManyChannels(320, 30);
}

QList<SampleChannel> ManyChannels(int count, int transponders) {
    QList<SampleChannel> list;
    constexpr int kNameCount = sizeof kNames / sizeof kNames[0];
    for (int i = 0; i < count; ++i) {
        SampleChannel c;
        const int round = i / kNameCount;
        QByteArray name = Latin1(kNames[i % kNameCount]);
        if (round > 0) name = (name + ' ' + QByteArray::number(round + 1)).left(16);
        c.name = name;
        c.transponder = static_cast<std::uint8_t>(1 + (i * transponders) / count);
        c.sid = static_cast<std::uint16_t>(1000 + i);
        const int kind = i % 10;
        c.vpid = static_cast<std::uint16_t>(0x100 + (i % 400) * 16);
        c.apid = static_cast<std::uint16_t>(c.vpid + 1);
        c.pcr = c.vpid;
        if (kind == 7 || kind == 8) c.vpid = 0xFFFF;  // radio
        if (kind == 9) c.vpid = c.apid = 0xFFFF;      // data service
        c.status = 0x04;
        if (i % 7 == 0) c.status |= 0x02;
        if (i % 13 == 0) c.status |= 0x01;
        if (kind == 7) c.status |= 0x08;
        if (i % 11 == 3) c.status |= 0x10;
        const int system = (i / 3) % 8;
        c.status |= static_cast<std::uint8_t>(system << 5);
        if (system != 0) {
            c.vecm = static_cast<std::uint16_t>(1700 + system);
            c.aecm = static_cast<std::uint16_t>(1800 + system);
        }
        list << c;
    }
    // Names that tell a reader's faults apart.
    if (count > 5) list[5].name = Latin1("Niños & Co");
    if (count > 17) list[17].name = Latin1("Documentales HD1");  // 16 letters, no end byte
    if (count > 40) {
        list[40].vpid = 0;  // a service entry not yet tuned: white, though not free
        list[40].apid = 0;
        list[40].pcr = 0;
    }
    if (count > 41) list[41].transponder = 0;  // a channel without a transponder
    return list;
}

QByteArray ChannelRecord(const SampleChannel& c) {
    QByteArray record(kChannelRecordSize, '\0');
    std::copy_n(c.name.constData(), std::min<qsizetype>(c.name.size(), 16), record.data());
    record[16] = static_cast<char>(c.status);
    record[17] = static_cast<char>(c.transponder);
    PutBig16(record, 18, c.sid);
    PutBig16(record, 20, c.vpid);
    PutBig16(record, 22, c.apid);
    PutBig16(record, 24, c.vecm);
    PutBig16(record, 26, c.aecm);
    PutBig16(record, 28, c.pcr);
    return record;
}

QByteArray TransponderRecord(const SampleTransponder& t) {
    QByteArray record(kTransponderRecordSize, '\0');
    PutBig32(record, 0, t.frequencyHz);
    PutBig16(record, 4, t.tsid);
    PutBig16(record, 6, t.nid);
    record[8] = static_cast<char>(t.channels);
    record[9] = static_cast<char>(t.symbolRateIndex);
    record[10] = static_cast<char>(t.fec);
    record[11] = static_cast<char>(t.flags);
    return record;
}

QByteArray ChannelRecords(const QList<SampleChannel>& channels, int slotCount) {
    QByteArray bytes;
    for (int i = 0; i < slotCount && i < channels.size(); ++i) bytes += ChannelRecord(channels[i]);
    bytes.append(static_cast<qsizetype>(slotCount) * kChannelRecordSize - bytes.size(), '\0');
    return bytes;
}

QByteArray TransponderRecords(const QList<SampleTransponder>& transponders, int slotCount) {
    QByteArray bytes;
    for (int i = 0; i < slotCount && i < transponders.size(); ++i)
        bytes += TransponderRecord(transponders[i]);
    bytes.append(static_cast<qsizetype>(slotCount) * kTransponderRecordSize - bytes.size(), '\0');
    return bytes;
}

QByteArray SectionTags(const char* tag) {
    QByteArray tags;
    tags += QByteArray(tag, 3) + QByteArray("\x00\x01\x07", 3) + QByteArray("2004-03-15");
    tags +=
        QByteArray(tag, 3) + QByteArray("\x00\x02\x00\x00", 4) + QByteArray("CH-LIST\x00\x00", 9);
    tags += QByteArray("\x00\x00\x5A\xA5", 4);
    return tags;
}

QByteArray BlockPrefix() {
    return QByteArray(1, '\x20') + QByteArray(31, '\0');
}

QByteArray FlashImage(const FlashLayout& layout) {
    QByteArray image(layout.size, '\xFF');
    Put(image, 0, FirmwareBytes(std::min<std::int64_t>(layout.size, 3 * kBlockSize)));
    const QByteArray channels = ChannelRecords(layout.channels, layout.channelSlots);
    const QByteArray transponders =
        TransponderRecords(layout.transponders, layout.transponderSlots);
    for (std::int64_t at : layout.moreChannelSections) PutSection(image, at, "TCS", channels);
    for (std::int64_t at : layout.moreTransponderSections)
        PutSection(image, at, "TPT", transponders);
    PutSection(image, layout.channelSection, "TCS", channels);
    PutSection(image, layout.transponderSection, "TPT", transponders);
    return image;
}

QByteArray RamTable() {
    QByteArray table = ChannelRecords(SampleChannels(), 999);
    for (int i = table.size(); i < kRamTableSize; ++i) table.append(static_cast<char>(0xA5 ^ i));
    return table;
}

std::optional<QString> SaveSampleTables(const QString& folder) {
    QString error;
    const QDir dir(folder);
    if (!QDir().mkpath(folder)) return folder + QStringLiteral(": cannot be made");
    if (!WriteFile(dir.filePath(QStringLiteral("sample-flash.bin")), FlashImage(), error) ||
        !WriteFile(dir.filePath(QStringLiteral("sample-ram.bin")), RamTable(), error)) {
        return error;
    }
    return std::nullopt;
}

QList<QByteArray> SeedImages() {
    QList<QByteArray> seeds;
    FlashLayout tiny;
    tiny.size = 0x400;
    tiny.channelSection = 0;
    tiny.transponderSection = 0x200;
    tiny.channelSlots = 12;
    tiny.transponderSlots = 4;
    seeds << FlashImage(tiny);

    FlashLayout inside;
    inside.size = 0x10400;
    inside.channelSection = 0x20;
    inside.transponderSection = 0x10000;
    inside.channelSlots = 40;
    inside.transponderSlots = 200;  // runs past the end of the image
    seeds << FlashImage(inside);

    FlashLayout twice = tiny;
    twice.size = 0x20200;
    twice.channelSection = 0x10000;
    twice.transponderSection = 0x20000;
    twice.moreChannelSections = {0x100};
    seeds << FlashImage(twice);

    seeds << ChannelRecords(SampleChannels(), 10);
    return seeds;
}

}  // namespace velarix::sim
