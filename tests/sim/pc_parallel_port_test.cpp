#include <gtest/gtest.h>

#include <vector>

#include "flash_chip.h"
#include "pc_parallel_port.h"

namespace velarix::sim {
namespace {

struct RecordingEnd : CableEnd {
    std::vector<HostLines> seen;
    PeripheralLines out;
    void OnHostLines(const HostLines& lines) override { seen.push_back(lines); }
    PeripheralLines Lines() override { return out; }
};

TEST(PcParallelPortTest, ControlBitsZeroOneAndThreeDriveTheirLinesLowBitTwoDrivesNInitHigh) {
    PcParallelPort port;
    RecordingEnd parallel;
    port.AttachParallel(&parallel);
    port.Write(2, 0x0B);  // bits 0, 1, 3 set, bit 2 clear
    const HostLines lines = parallel.seen.back();
    EXPECT_FALSE(lines.nStrobe);
    EXPECT_FALSE(lines.nAutoFd);
    EXPECT_FALSE(lines.nSelectIn);
    EXPECT_FALSE(lines.nInit);
    port.Write(2, 0x24);
    EXPECT_TRUE(parallel.seen.back().nStrobe);
    EXPECT_TRUE(parallel.seen.back().nInit);
    EXPECT_FALSE(parallel.seen.back().dataOutputs);
    EXPECT_EQ(port.Read(2), 0xE4);  // bits 6 and 7 read as 1
}

TEST(PcParallelPortTest, StatusRegisterCarriesBusyInvertedAndTheOtherLinesAsTheyAre) {
    PcParallelPort port;
    RecordingEnd parallel;
    port.AttachParallel(&parallel);
    parallel.out = {.busy = true, .nAck = false, .pError = true, .select = false, .nFault = true};
    EXPECT_EQ(port.Read(1), 0x2F);
    parallel.out = {.busy = false, .nAck = true, .pError = false, .select = true, .nFault = false};
    EXPECT_EQ(port.Read(1), 0xD7);
}

TEST(PcParallelPortTest, TwoDataWritesInARowHandTheLinesToTheJtagCableFromTheFirst) {
    PcParallelPort port;
    RecordingEnd parallel, jtag;
    port.AttachParallel(&parallel);
    port.AttachJtag(&jtag);
    port.Write(2, 0x04);
    port.Write(0, 0x01);
    EXPECT_EQ(port.InUse(), PcParallelPort::Cable::Parallel);
    port.Write(0, 0x03);
    EXPECT_EQ(port.InUse(), PcParallelPort::Cable::Jtag);
    ASSERT_EQ(jtag.seen.size(), 2u);
    EXPECT_EQ(jtag.seen[0].data, 0x01);
    EXPECT_EQ(jtag.seen[1].data, 0x03);
    jtag.out.select = false;
    parallel.out.select = true;
    EXPECT_EQ(port.Read(1) & 0x10, 0);  // TDO, not the loader's Select
    port.Write(2, 0x04);
    EXPECT_EQ(port.InUse(), PcParallelPort::Cable::Parallel);
    EXPECT_EQ(port.Read(1) & 0x10, 0x10);
}

TEST(PcParallelPortTest, TheFiveRangesMapOntoTheirRegisters) {
    EXPECT_EQ(PcParallelPort::OffsetOf(0x378), 0);
    EXPECT_EQ(PcParallelPort::OffsetOf(0x379), 1);
    EXPECT_EQ(PcParallelPort::OffsetOf(0x3BE), 2);
    EXPECT_EQ(PcParallelPort::OffsetOf(0x77A), 0x402);
    EXPECT_EQ(PcParallelPort::OffsetOf(0xA46A), 0x402);
    EXPECT_EQ(PcParallelPort::OffsetOf(0x2002), 2);
    EXPECT_EQ(PcParallelPort::OffsetOf(0x37B), -1);
}

TEST(FlashChipTest, SectorsTileTheChipAndProgrammingOnlyClearsBits) {
    FlashChip chip(0x60000000, BottomBoot16MbitSectors());
    EXPECT_EQ(chip.Size(), 0x200000u);
    EXPECT_EQ(chip.SectorCount(), 35);
    EXPECT_EQ(chip.SectorStart(4), 0x10000u);
    EXPECT_EQ(chip.SectorAt(0x3FFF), 0);
    EXPECT_EQ(chip.SectorAt(0x4000), 1);
    EXPECT_EQ(chip.SectorAt(0x1FFFFF), 34);
    EXPECT_TRUE(chip.Program(0x10, QByteArray("\x0F\xF0", 2)));
    EXPECT_FALSE(chip.Program(0x10, QByteArray("\xF0\x0F", 2)));
    EXPECT_EQ(chip.Bytes().mid(0x10, 2), QByteArray(2, '\0'));
    EXPECT_FALSE(chip.EraseSector(0x10));
    EXPECT_TRUE(chip.EraseSector(0));
    EXPECT_EQ(chip.Bytes().mid(0x10, 2), QByteArray(2, '\xFF'));
    EXPECT_EQ(FlashChip(0, BottomBoot4MbitSectors()).Size(), 0x80000u);
}

}  // namespace
}  // namespace velarix::sim
