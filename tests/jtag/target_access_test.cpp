#include <gtest/gtest.h>

#include "jtag/target_access.h"
#include "shell/message_table.h"
#include "sim_cable.h"

namespace velarix {
namespace {

using Command = sim::DebugController::Command;

using test::SimJtag;

struct TargetAccessTest : ::testing::Test {
    test::SimJtag sim;
    JtagDriver driver{sim.lpt, JtagTiming{0, 1024}};
    TargetAccess access{driver, sim.frame, sim.trap, sim.env.trapRoutine};

    void SetUp() override { access.DcuResetOn(); }

    QByteArray Ram(std::uint32_t address, int count) {
        return sim.decoder.Ram().mid(address - 0x40000000, count);
    }
    static QByteArray Bytes(const TargetAccess::Block& block, int count) {
        return QByteArray(reinterpret_cast<const char*>(block.data()), count);
    }
    std::vector<Command>& Commands() { return sim.Commands(); }
};

TEST_F(TargetAccessTest, DcuResetOnPulsesTheLineAndWaitsOnTheClockDcuResetOffDropsIt) {
    EXPECT_EQ(sim.Log(), (QStringList{Msg(116), Msg(117)}));
    EXPECT_GT(sim.clock.Tick(), 300u);  // three waits of 100 ms, on the virtual clock
    EXPECT_LT(sim.clock.Tick(), 310u);
    EXPECT_TRUE(sim.target.ResetLineHigh());
    EXPECT_EQ(sim.target.State(), sim::TapState::RunTestIdle);
    access.DcuResetOff();
    EXPECT_EQ(sim.Log().last(), Msg(121));
    EXPECT_FALSE(sim.target.ResetLineHigh());
}

TEST_F(TargetAccessTest, ALengthByteOfZeroBrings256BytesAnd83hBrings80h) {
    TargetAccess::Block block{};
    EXPECT_EQ(access.ReadBlock(0x7FE00000, block), 256);
    EXPECT_EQ(Bytes(block, 256), sim.decoder.Flash(0).Bytes().left(256));

    sim.Faults().lengthByte = 0x83;
    block.fill(0);
    EXPECT_EQ(access.ReadBlock(0x7FE00100, block), 0x80);
    EXPECT_EQ(Bytes(block, 0x80), sim.decoder.Flash(0).Bytes().mid(0x100, 0x80));
    EXPECT_EQ(block[0x80], 0);  // nothing past the announced bytes
    sim.Faults().lengthByte = 0xFF;
    EXPECT_EQ(access.ReadBlock(0x7FE00100, block), 0xFC);
}

TEST_F(TargetAccessTest, WriteBlockAndWriteWordReachTheMemory) {
    const QByteArray data = QByteArray::fromHex("00112233445566778899AABB");
    EXPECT_EQ(access.WriteBlock(0x40001000, reinterpret_cast<const std::uint8_t*>(data.data()), 12),
              12);
    EXPECT_TRUE(access.WriteWord(0x40001010, 0xCAFEF00D));
    EXPECT_EQ(Ram(0x40001000, 20), data + QByteArray(4, '\0') + QByteArray::fromHex("0DF0FECA"));
    std::uint32_t value = 0;
    EXPECT_TRUE(access.ReadWord(0x40001010, value));
    EXPECT_EQ(value, 0xCAFEF00Du);
    EXPECT_EQ(Commands(),
              (std::vector<Command>{
                  {false, 0x40001000, 12}, {false, 0x40001010, 4}, {true, 0x40001010, 256}}));
    // A count that is no multiple of 4 or too large is not sent at all.
    EXPECT_EQ(access.WriteBlock(0x40001000, reinterpret_cast<const std::uint8_t*>(data.data()), 6),
              0);
    EXPECT_EQ(Commands().size(), 3u);
}

TEST_F(TargetAccessTest, OnlyAFailedReadOfTheDcuStatusWordIsReported) {
    sim.Faults().tdo = sim::JtagFaults::Tdo::StuckLow;
    std::uint32_t value = 0;
    EXPECT_FALSE(access.ReadWord(0x40000000, value));
    EXPECT_TRUE(sim.frame.boxes.isEmpty());
    EXPECT_FALSE(access.ReadWord(0x3000, value));
    ASSERT_EQ(sim.frame.boxes.size(), 1);
    EXPECT_EQ(sim.frame.boxes[0].kind, BoxKind::Error);
    EXPECT_EQ(sim.frame.boxes[0].text, Msg(345));
    EXPECT_EQ(sim.Log().last(), Msg(345));
}

TEST_F(TargetAccessTest, WritingTenBytesIsABlockOfEightThenTheNextWordReadPatchedAndWritten) {
    sim.decoder.Ram().replace(0x2000, 12, QByteArray::fromHex("A0A1A2A3A4A5A6A7A8A9AAAB"));
    const QByteArray data = QByteArray::fromHex("00010203040506070809");
    EXPECT_EQ(access.WriteMemory(reinterpret_cast<const std::uint8_t*>(data.data()), 0x40002000,
                                 0x40002000, 0, 10),
              10);
    EXPECT_EQ(Commands(),
              (std::vector<Command>{
                  {false, 0x40002000, 8}, {true, 0x40002008, 256}, {false, 0x40002008, 4}}));
    EXPECT_EQ(Ram(0x40002000, 12), data + QByteArray::fromHex("AAAB"));
    EXPECT_EQ(sim.frame.Progress(StatusPage::FirmwareJtag), 8);
    EXPECT_EQ(sim.frame.StatusFieldText(StatusPage::FirmwareJtag, StatusField::Address),
              QStringLiteral("40002008"));
}

TEST_F(TargetAccessTest, WriteMemoryGoesInBlocksOf252) {
    QByteArray data(600, '\0');
    for (int i = 0; i < data.size(); ++i) data[i] = char(i * 7);
    EXPECT_EQ(access.WriteMemory(reinterpret_cast<const std::uint8_t*>(data.data()), 0x40010000,
                                 0x40010000, 0, 600),
              600);
    EXPECT_EQ(Commands(), (std::vector<Command>{{false, 0x40010000, 252},
                                                {false, 0x40010000 + 252, 252},
                                                {false, 0x40010000 + 504, 96}}));
    EXPECT_EQ(Ram(0x40010000, 600), data);
}

// A tail whose word could not be read is not written, and not counted.
TEST_F(TargetAccessTest, ATailThatDidNotGoInIsNotCountedAsWritten) {
    sim.Faults().tdo = sim::JtagFaults::Tdo::StuckHigh;
    const QByteArray data("abc");
    EXPECT_EQ(access.WriteMemory(reinterpret_cast<const std::uint8_t*>(data.data()), 0x40002000,
                                 0x40002000, 0, 3),
              0);
}

// When a block fails the tail is not written after it: its bytes belong
// further on.
TEST_F(TargetAccessTest, NoTailIsWrittenBehindABlockThatFailed) {
    sim.Faults().noAcknowledges = true;
    const QByteArray data(10, 'x');
    EXPECT_EQ(access.WriteMemory(reinterpret_cast<const std::uint8_t*>(data.data()), 0x40002000,
                                 0x40002000, 0, 10),
              0);
    for (const Command& c : Commands()) EXPECT_FALSE(c.read);
    EXPECT_EQ(Ram(0x40002000, 10), QByteArray(10, '\0'));
}

TEST_F(TargetAccessTest, ReadMemoryReadsBlockAfterBlockAndShowsItsProgress) {
    QByteArray buffer(0xF00 + 1, '\0');
    EXPECT_EQ(access.ReadMemory(buffer, 0xF00, 0x7FE00000), 0xF00);
    EXPECT_EQ(buffer.left(0xF00), sim.decoder.Flash(0).Bytes().left(0xF00));
    EXPECT_EQ(sim.target.Controller().ReadsServed(), 15);
    // 15 blocks of 256 bytes: a multiple of 15, so the frame shows it.
    EXPECT_EQ(sim.frame.Progress(StatusPage::FirmwareJtag), 0xF00);
    EXPECT_EQ(sim.frame.StatusFieldText(StatusPage::FirmwareJtag, StatusField::Address),
              QStringLiteral("7FE00F00"));
    EXPECT_TRUE(
        sim.frame.StatusFieldText(StatusPage::FirmwareJtag, StatusField::Speed).endsWith(Msg(238)));
    EXPECT_TRUE(sim.frame.StatusFieldText(StatusPage::FirmwareJtag, StatusField::TimeLeft)
                    .endsWith(Msg(237)));
}

// Short blocks of 84 bytes run the last one past the requested count: only
// what fits in the buffer is kept.
TEST_F(TargetAccessTest, NoLengthByteMakesReadMemoryWritePastItsBuffer) {
    sim.Faults().lengthByte = 0x54;
    QByteArray buffer(257, '\0');
    EXPECT_EQ(access.ReadMemory(buffer, 0xFF, 0x7FE00000), 4 * 84);
    EXPECT_EQ(buffer.size(), 257);
    EXPECT_EQ(buffer, sim.decoder.Flash(0).Bytes().left(257));
}

// A block followed by bytes its length byte did not announce was not read
// as the target meant it: it is taken back and the read ends there.
TEST_F(TargetAccessTest, BytesBeyondTheAnnouncedLengthUndoTheBlockAndStopTheLink) {
    sim.Faults().extraBytes = 1;
    QByteArray buffer(0x301, '\0');
    EXPECT_EQ(access.ReadMemory(buffer, 0x300, 0x7FE00000), 0);
    EXPECT_TRUE(access.LinkFaultSeen());
    EXPECT_TRUE(sim.Log().contains(Msg(419)));
    std::uint32_t value = 0;
    EXPECT_FALSE(access.ReadWord(0x40000000, value));
    EXPECT_FALSE(access.WriteWord(0x40000000, 1));
}

// The length byte lost: the first byte of the block is taken for it (the
// sample firmware's "V" announces 54h bytes), and the rest of the block
// follows what was taken.
TEST_F(TargetAccessTest, ALostLengthByteIsFoundOutByTheBytesThatFollow) {
    sim.Faults().lengthByteLostInAnswer = 1;
    QByteArray buffer(0x401, '\0');
    EXPECT_EQ(access.ReadMemory(buffer, 0x400, 0x7FE00000), 0x100);
    EXPECT_TRUE(access.LinkFaultSeen());

    // A word read the same way is found out by the next command.
    SimJtag other;
    JtagDriver driver2{other.lpt, JtagTiming{0, 1024}};
    TargetAccess access2{driver2, other.frame, other.trap, other.env.trapRoutine};
    access2.DcuResetOn();
    other.Faults().lengthByteLostInAnswer = 0;
    std::uint32_t value = 0;
    EXPECT_TRUE(access2.ReadWord(0x7FE00000, value));  // a wrong value, not yet known to be
    EXPECT_FALSE(access2.WriteWord(0x40000000, value));
    EXPECT_TRUE(access2.LinkFaultSeen());
}

TEST_F(TargetAccessTest, TheLastBlockOfAReadIsCheckedToo) {
    sim.Faults().extraBytes = 2;
    QByteArray buffer(0x101, '\0');
    EXPECT_EQ(access.ReadMemory(buffer, 0x100, 0x7FE00000), 0);
}

TEST_F(TargetAccessTest, WriteMemoryToRamResetsTheDcuAroundTheWrite) {
    sim.frame.logs.clear();
    const QByteArray data(40, 'z');
    EXPECT_EQ(
        access.WriteMemoryToRam(reinterpret_cast<const std::uint8_t*>(data.data()), 0x40003000, 40),
        40);
    EXPECT_EQ(Ram(0x40003000, 40), data);
    EXPECT_EQ(sim.Log(), (QStringList{Msg(116), Msg(117), Msg(32), Msg(121)}));
}

struct TrapTest : TargetAccessTest {
    static constexpr std::uint32_t kTrap = 0x40010000;
};

TEST_F(TrapTest, TheRoutineGoesInInThreeBlocksAndIsStartedThroughTheControlWord) {
    ASSERT_TRUE(access.LoadTrapHandler(kTrap));
    EXPECT_EQ(sim.Log().last(), Msg(363));
    EXPECT_TRUE(sim.trap.loaded);
    EXPECT_EQ(sim.trap.mailbox, 0x80000180u);
    EXPECT_EQ(Ram(kTrap, 696), sim::StandInTrapRoutine());
    const auto& c = Commands();
    ASSERT_GE(c.size(), 9u);
    EXPECT_EQ(c[0], (Command{false, kTrap, 252}));
    EXPECT_EQ(c[1], (Command{false, kTrap + 252, 252}));
    EXPECT_EQ(c[2], (Command{false, kTrap + 504, 192}));
    EXPECT_EQ(c[3], (Command{false, 0x3004, 4}));
    EXPECT_EQ(c[4], (Command{true, 0x80000048, 256}));
    EXPECT_EQ(c[5], (Command{true, 0x8000004C, 256}));
    EXPECT_EQ(c[6], (Command{false, 0x8000004C, 4}));
    EXPECT_EQ(c[7], (Command{true, 0x8000004C, 256}));
    EXPECT_EQ(c[8], (Command{false, 0x3004, 4}));
    EXPECT_EQ(c.back(), (Command{false, 0x3004, 4}));  // written 0 again
    EXPECT_TRUE(sim.target.Controller().Routine().Running());
    EXPECT_TRUE(sim.frame.boxes.isEmpty());
}

TEST_F(TrapTest, ASecondLoadInTheSameRunOnlySaysTheRoutineIsThere) {
    ASSERT_TRUE(access.LoadTrapHandler(kTrap));
    const std::size_t commands = Commands().size();
    EXPECT_TRUE(access.LoadTrapHandler(kTrap));
    EXPECT_EQ(sim.Log().last(), Msg(364));
    EXPECT_EQ(Commands().size(), commands);
}

TEST_F(TrapTest, AMissingRoutineIsReportedAndNothingIsSent) {
    sim.trapRoutine = QByteArray();
    EXPECT_FALSE(access.LoadTrapHandler(kTrap));
    EXPECT_EQ(sim.Boxes(), QStringList{Msg(275)});
    EXPECT_EQ(sim.Log().last(), Msg(275));
    EXPECT_TRUE(Commands().empty());
}

// A file of 695 bytes would have been sent with a byte from past its end.
TEST_F(TrapTest, ARoutineShorterThan696BytesIsRefusedAndNothingIsSent) {
    sim.trapRoutine.chop(1);
    EXPECT_FALSE(access.LoadTrapHandler(kTrap));
    EXPECT_EQ(sim.Boxes(), QStringList{Msg(418)});
    EXPECT_EQ(sim.Log().last(), Msg(418));
    EXPECT_TRUE(Commands().empty());
    EXPECT_FALSE(sim.trap.loaded);
    // A longer file gives its first 696 bytes.
    sim.trapRoutine = sim::StandInTrapRoutine() + QByteArray(100, '\x55');
    EXPECT_TRUE(access.LoadTrapHandler(kTrap));
}

TEST_F(TrapTest, ARoutineThatNeverStartsIsGivenUpAfterAHundredRereads) {
    sim.trapRoutine = QByteArray(696, '\x11');  // not the simulator's stand-in
    EXPECT_FALSE(access.LoadTrapHandler(kTrap));
    EXPECT_EQ(sim.Log().last(), Msg(362));
    EXPECT_TRUE(sim.frame.boxes.isEmpty());
    EXPECT_FALSE(sim.trap.loaded);
    int controlReads = 0;
    for (const Command& c : Commands()) controlReads += c.read && c.address == 0x3004;
    EXPECT_EQ(controlReads, 101);
}

TEST_F(TrapTest, AFailedBlockOfTheRoutineIsReported) {
    sim.Faults().noAcknowledges = true;
    EXPECT_FALSE(access.LoadTrapHandler(kTrap));
    EXPECT_EQ(sim.Boxes(), QStringList{Msg(276)});
}

struct MailboxTest : TrapTest {
    void SetUp() override {
        TrapTest::SetUp();
        ASSERT_TRUE(access.LoadTrapHandler(kTrap));
        sim.frame.logs.clear();
    }
    int MailboxReads() {
        int reads = 0;
        for (const Command& c : Commands()) reads += c.read && c.address == 0x80000180;
        return reads;
    }
};

TEST_F(MailboxTest, ReadEepromCopiesTheEepromToTheStagingArea) {
    const std::uint32_t staging = kTrap + 0x500;
    EXPECT_TRUE(access.TrapReadEeprom(0x100, 0x200, staging));
    EXPECT_EQ(sim.Log(), QStringList{Msg(329)});
    EXPECT_EQ(Ram(staging, 0x200), sim.decoder.Eeprom().mid(0x100, 0x200));
    EXPECT_EQ(MailboxReads(), 3);  // the routine finishes on the third poll
}

TEST_F(MailboxTest, WriteEepromTakesTheStagingAreaIntoTheEeprom) {
    const std::uint32_t staging = kTrap + 0x500;
    const QByteArray data(16, '\x42');
    ASSERT_EQ(access.WriteMemory(reinterpret_cast<const std::uint8_t*>(data.data()), staging,
                                 staging, 0, 16),
              16);
    EXPECT_TRUE(access.TrapWriteEeprom(0x7F0, 16, staging));
    EXPECT_EQ(sim.Log(), QStringList{Msg(343)});
    EXPECT_EQ(sim.decoder.Eeprom().mid(0x7F0, 16), data);
}

TEST_F(MailboxTest, FlashIsProgrammedAndErasedByTheRoutine) {
    const std::uint32_t staging = kTrap + 0x500;
    EXPECT_TRUE(access.TrapEraseBlock(0x60010000, 0x60000000, 48));
    EXPECT_EQ(sim.decoder.Flash(1).Bytes().mid(0x10000, 0x10000), QByteArray(0x10000, '\xFF'));
    const QByteArray data("Sixteen bytes!!!");
    ASSERT_EQ(access.WriteMemory(reinterpret_cast<const std::uint8_t*>(data.data()), staging,
                                 staging, 0, 16),
              16);
    EXPECT_TRUE(access.TrapProgramFlash(0x60010000, staging, 16, 0x60000000));
    EXPECT_EQ(sim.decoder.Flash(1).Bytes().mid(0x10000, 16), data);
    EXPECT_TRUE(access.TrapEraseChip(0x60000000));
    EXPECT_EQ(sim.decoder.Flash(1).Bytes(), QByteArray(0x200000, '\xFF'));
    EXPECT_EQ(sim.Log(),
              (QStringList{Msg(267) + "60010000", Msg(268) + "60010000", Msg(328) + "60000000"}));
}

TEST_F(MailboxTest, ARoutineThatDoesNotFinishFailsAtThePollLimit) {
    sim.Faults().routinePolls = 5000;
    EXPECT_FALSE(access.TrapEraseChip(0x60000000));
    EXPECT_EQ(MailboxReads(), 1001);
    EXPECT_EQ(sim.decoder.Flash(1).Bytes().left(3), QByteArray("\x20\0\0", 3));
}

// A poll whose read fails has not seen the routine finish: the command
// fails instead of counting as done.
TEST_F(MailboxTest, AFailedPollFailsTheCommand) {
    sim.Faults().randomSeed = 1;
    sim.Faults().ackWithheldPerMillion = 0;
    sim.Faults().byteWithheldPerMillion = 1000000;  // every answer lost, every write taken
    sim.target.ApplyFaults();
    EXPECT_FALSE(access.TrapReadEeprom(0, 0x800, kTrap + 0x500));
    EXPECT_EQ(MailboxReads(), 1);
}

}  // namespace
}  // namespace velarix
