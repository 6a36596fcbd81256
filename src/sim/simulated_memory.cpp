// The simulated decoder's memory as its CPU sees it, and what it holds when
// it leaves the shop.
#include "sample_contents.h"
#include "simulated_decoder.h"
#include "test_frame.h"
#include "trap_routine.h"

namespace velarix::sim {

namespace {

bool Inside(std::uint32_t address, std::uint32_t start, std::uint32_t size) {
    return address >= start && address - start < size;
}

void PutWord(QByteArray& bytes, std::uint32_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
}

}  // namespace

std::uint8_t SimulatedDecoder::BusRead(std::uint32_t address) {
    if (Inside(address, kRamStart, kRamSize)) return ram_[address - kRamStart];
    if (Inside(address, kSdramStart, kSdramSize)) return sdram_[address - kSdramStart];
    if (Inside(address, kSramStart, kSramSize)) return sram_[address - kSramStart];
    if (FlashChip* chip = FlashAt(address)) return chip->Bytes()[address - chip->Start()];
    return 0xFF;
}

void SimulatedDecoder::BusWrite(std::uint32_t address, std::uint8_t value) {
    const char byte = static_cast<char>(value);
    if (Inside(address, kRamStart, kRamSize)) {
        ram_[address - kRamStart] = byte;
    } else if (Inside(address, kSdramStart, kSdramSize)) {
        sdram_[address - kSdramStart] = byte;
    } else if (Inside(address, kSramStart, kSramSize)) {
        sram_[address - kSramStart] = byte;
    }
}

void SimulatedDecoder::FillSampleContents() {
    flash_[0].Fill(0, SampleFirmware(flash_[0].Size()));
    flash_[1].Fill(0, SampleFlashChannelList());
    const QByteArray table = SampleRamChannelTable();
    ram_.replace(kRamTableStart - kRamStart, table.size(), table);
    const QByteArray frame = TestFrame(720);
    sdram_.replace(kFrameStart - kSdramStart, frame.size(), frame);
    PutWord(sram_, kMailboxPointer - kSramStart, kMailboxAddress);
    PutWord(sram_, kTrapVector - kSramStart, kDefaultTrapHandler);
}

}  // namespace velarix::sim
