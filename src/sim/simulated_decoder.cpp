#include "simulated_decoder.h"

namespace velarix::sim {

SimulatedDecoder::SimulatedDecoder()
    : eeprom_(DefaultEeprom()),
      ram_(kRamSize, '\0'),
      flash_{FlashChip(kFlash1Start, BottomBoot16MbitSectors()),
             FlashChip(kFlash2Start, BottomBoot16MbitSectors())},
      sram_(kSramSize, '\0'),
      sdram_(kSdramSize, '\0') {
    FillSampleContents();
}

FlashChip* SimulatedDecoder::FlashAt(std::uint32_t address) {
    for (FlashChip& chip : flash_) {
        if (chip.Contains(address)) return &chip;
    }
    return nullptr;
}

void SimulatedDecoder::SetEeprom(const QByteArray& bytes) {
    eeprom_ = bytes.left(kEepromSize);
    eeprom_.append(QByteArray(kEepromSize - eeprom_.size(), '\xFF'));
}

namespace {

void Put(QByteArray& bytes, int address, const QByteArray& data) {
    bytes.replace(address, data.size(), data);
}

// The two bytes 255 - x and x, x being the XOR of the field's bytes.
void PutCheckWord(QByteArray& bytes, int address, const QByteArray& field) {
    unsigned char x = 0;
    for (char b : field) x ^= static_cast<unsigned char>(b);
    Put(bytes, address,
        QByteArray(1, static_cast<char>(255 - x)) + QByteArray(1, static_cast<char>(x)));
}

QByteArray Word(int value) {
    return QByteArray(1, static_cast<char>(value >> 8)) +
           QByteArray(1, static_cast<char>(value & 0xFF));
}

// A satellite record: name, band, antenna, frequency, symbol-rate entry,
// FEC, polarity, 22 kHz tone, LNB frequency.
void PutSatellite(QByteArray& bytes, int base, const QByteArray& name, int nameLength, char antenna,
                  int frequency, char fec, char polarity, char tone, int lnb) {
    Put(bytes, base, name + QByteArray(nameLength - name.size(), '\0'));
    Put(bytes, base + 0x16, QByteArray(1, '\0') + QByteArray(1, antenna));
    Put(bytes, base + 0x1A, Word(frequency));
    Put(bytes, base + 0x1C,
        QByteArray(1, 1) + QByteArray(1, fec) + QByteArray(1, polarity) + QByteArray(1, tone));
    Put(bytes, base + 0x23, Word(lnb));
}

}  // namespace

// A configured decoder: Spain, provider 000C, software 42, two satellites,
// the first sections pattern, Spanish EPG, and a serial number. What the
// settings do not use stays erased (FF).
QByteArray DefaultEeprom() {
    QByteArray bytes(SimulatedDecoder::kEepromSize, '\xFF');
    Put(bytes, 0x002, "ESP");
    PutCheckWord(bytes, 0x069, "ESP");
    Put(bytes, 0x007, QByteArray::fromHex("000C"));
    PutCheckWord(bytes, 0x06D, QByteArray::fromHex("000C"));
    Put(bytes, 0x009, QByteArray::fromHex("2A"));
    PutSatellite(bytes, 0x00B, "ASTRA", 21, 0, 11970, 2, 1, 0, 9750);
    PutSatellite(bytes, 0x030, "HOTBIRD", 22, 1, 11766, 1, 0, 1, 10600);
    Put(bytes, 0x055, QByteArray::fromHex("000C"));
    PutCheckWord(bytes, 0x079, QByteArray::fromHex("000C"));
    Put(bytes, 0x057, "eng");
    PutCheckWord(bytes, 0x07B, "eng");
    Put(bytes, 0x05B, "esl");
    PutCheckWord(bytes, 0x07F, "esl");
    Put(bytes, 0x05E, "esl");
    Put(bytes, 0x065, Word(7));
    PutCheckWord(bytes, 0x08B, Word(7));
    const QByteArray sections = QByteArray::fromHex("00800080000000000000000002A7");
    Put(bytes, 0x08E, sections);
    Put(bytes, 0x09C, sections);
    Put(bytes, 0x0DE, QByteArray::fromHex("3B00060000000000"));
    Put(bytes, 0x403, QByteArray::fromHex("82"));
    Put(bytes, 0x406, QByteArray::fromHex("00"));
    Put(bytes, 0x418, QByteArray::fromHex("FF"));
    Put(bytes, 0x733, QByteArray::fromHex("0000"));
    Put(bytes, 0x7D0, "34");
    Put(bytes, 0x7D2, "000123456789");
    return bytes;
}

}  // namespace velarix::sim
