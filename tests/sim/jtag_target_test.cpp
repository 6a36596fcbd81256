#include <gtest/gtest.h>

#include <vector>

#include "jtag_target.h"
#include "pc_parallel_port.h"
#include "service_mode.h"
#include "simulated_decoder.h"
#include "trap_routine.h"

namespace velarix::sim {
namespace {

// Drives the cable's pins by hand, as a PC's data register would, and
// reads TDO back from the status register.
struct Pins {
    SimulatedDecoder decoder;
    JtagTarget target{decoder};
    PcParallelPort port;
    bool reset = true;

    Pins() {
        port.AttachJtag(&target);
        port.SetCable(PcParallelPort::Cable::Jtag);
        port.Write(0, 0x08);
    }
    // TDO before the rising edge, then one TCK period.
    bool Clock(bool tms, bool tdi = false) {
        const bool tdo = port.Read(1) & 0x10;
        const int lines = (tms ? 1 : 0) | (tdi ? 4 : 0) | (reset ? 8 : 0);
        port.Write(0, std::uint8_t(lines | 2));
        port.Write(0, std::uint8_t(lines));
        return tdo;
    }
    void Tms(std::initializer_list<int> bits) {
        for (int b : bits) Clock(b != 0);
    }
};

TEST(JtagTargetTest, TheIdentificationRegisterIsShiftedOutLeastSignificantBitFirst) {
    Pins pins;
    pins.Tms({1, 1, 1, 1, 1, 0, 1, 0, 0});  // Test-Logic-Reset selects IDCODE; into Shift-DR
    ASSERT_EQ(pins.target.State(), TapState::ShiftDr);
    std::uint32_t id = 0;
    for (int k = 0; k < 32; ++k) id |= std::uint32_t(pins.Clock(k == 31)) << k;
    EXPECT_EQ(id, 0x2D0C9041u);
    EXPECT_EQ(pins.target.State(), TapState::Exit1Dr);
}

TEST(JtagTargetTest, CaptureIrLoadsOneAndTheNewInstructionTakesEffectInUpdateIr) {
    Pins pins;
    pins.Tms({1, 1, 1, 1, 1, 0, 1, 1, 0, 0});  // Shift-IR
    int captured = 0;
    const int instruction = 0x1F;  // BYPASS
    for (int k = 0; k < 5; ++k) captured |= pins.Clock(k == 4, (instruction >> k) & 1) << k;
    EXPECT_EQ(captured, 0x01);
    pins.Clock(true);  // Update-IR
    EXPECT_EQ(pins.target.Instruction(), 0x1F);
    pins.Tms({1, 0, 0});                    // Shift-DR through the one-bit bypass register
    EXPECT_FALSE(pins.Clock(false, true));  // captured 0
    EXPECT_TRUE(pins.Clock(false, false));  // the 1 shifted in one clock ago
}

TEST(JtagTargetTest, TheResetLineLowHoldsThePortInTestLogicReset) {
    Pins pins;
    pins.Tms({1, 1, 1, 1, 1, 0, 1, 0, 0});
    ASSERT_EQ(pins.target.State(), TapState::ShiftDr);
    pins.reset = false;
    pins.Clock(false);
    EXPECT_EQ(pins.target.State(), TapState::TestLogicReset);
    pins.Tms({0, 0, 1});
    EXPECT_EQ(pins.target.State(), TapState::TestLogicReset);
}

// A read command sent bit by bit, answered by a length byte and the bytes.
TEST(JtagTargetTest, TheLinkAnswersAReadWithALengthByteAndTheBlock) {
    Pins pins;
    pins.Tms({1, 1, 1, 1, 1, 0, 1, 1, 0, 0});
    for (int k = 0; k < 5; ++k) pins.Clock(k == 4, (0x10 >> k) & 1);
    pins.Tms({1, 1, 0, 0});  // Update-IR, Select-DR-Scan, Capture-DR, Shift-DR
    std::vector<bool> tdo;
    auto send = [&](std::uint8_t byte) {
        for (int b : {0, 1, 1}) tdo.push_back(pins.Clock(false, b));
        for (int k = 0; k < 8; ++k) tdo.push_back(pins.Clock(false, (byte >> k) & 1));
        tdo.push_back(pins.Clock(false, false));  // the closing 0
    };
    for (std::uint8_t byte : {0x01, 0x00, 0x00, 0x0D, 0xC0}) send(byte);  // read C00D0000
    EXPECT_EQ(pins.target.Link().acknowledgesSent, 5u);
    // Each acknowledge (1, 0) shows on the first data bit of its byte.
    EXPECT_TRUE(tdo[3]);
    EXPECT_FALSE(tdo[4]);
    // Now the answer: 0, 1, 1, eight bits, 0, acknowledged by us each time.
    std::vector<int> bytes;
    int idle = 0;
    while (bytes.size() < 3 && idle < 100) {
        if (!pins.Clock(false)) {
            ++idle;
            continue;
        }
        ASSERT_TRUE(pins.Clock(false));  // second start bit
        int byte = 0;
        for (int k = 0; k < 8; ++k) byte |= pins.Clock(false, k == 4) << k;
        bytes.push_back(byte);
    }
    ASSERT_EQ(bytes.size(), 3u);
    EXPECT_EQ(bytes[0], 0);    // 256 bytes follow
    EXPECT_EQ(bytes[1], 235);  // the white bar's luma, first of the frame memory
    EXPECT_EQ(pins.target.Controller().ReadsServed(), 1);
}

TEST(TrapRoutineTest, TheStandInIs696BytesAndSaysWhatItIs) {
    const QByteArray routine = StandInTrapRoutine();
    EXPECT_EQ(routine.size(), 696);
    EXPECT_TRUE(routine.startsWith("VELARIX-SIM-TRAP"));
    EXPECT_EQ(routine, StandInTrapRoutine());
}

// The routine as the debug controller drives it, without the link: started
// through the control word, then given an EEPROM write through its mailbox.
// The service mode then reads what the routine wrote: one EEPROM for both.
TEST(TrapRoutineTest, ItStartsOnlyFromTheStandInAndSharesTheEepromWithTheServiceMode) {
    SimulatedDecoder decoder;
    JtagFaults faults;
    TrapRoutine routine(decoder, faults);
    auto put = [&](std::uint32_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) decoder.BusWrite(at + i, std::uint8_t(value >> (8 * i)));
    };
    constexpr std::uint32_t kAt = 0x40010000;
    put(kTrapVector, kAt);
    routine.WriteControl(0x20000000);  // nothing there yet
    EXPECT_EQ(routine.ReadControl(), 0x20000000u);
    EXPECT_EQ(routine.ReadControl(), 0x20000000u);
    const QByteArray standIn = StandInTrapRoutine();
    for (int i = 0; i < standIn.size(); ++i) decoder.BusWrite(kAt + i, std::uint8_t(standIn[i]));
    routine.WriteControl(0x20000000);
    EXPECT_EQ(routine.ReadControl(), 0x20000000u);
    EXPECT_EQ(routine.ReadControl(), 0x60000u);
    ASSERT_TRUE(routine.Running());

    const std::uint32_t staging = kAt + 0x500;
    for (int i = 0; i < 16; ++i) decoder.BusWrite(staging + i, std::uint8_t(0xA0 + i));
    put(kMailboxAddress + 12, 0xA0);
    put(kMailboxAddress + 16, 0x7E0);
    put(kMailboxAddress + 20, 16);
    put(kMailboxAddress + 24, staging);
    put(kMailboxAddress, kWriteEeprom);
    routine.AfterWrite(kMailboxAddress, 4);
    routine.BeforeRead(kMailboxAddress, 256);
    routine.BeforeRead(kMailboxAddress, 256);
    EXPECT_EQ(decoder.BusRead(kMailboxAddress), 0x00);  // not done yet
    routine.BeforeRead(kMailboxAddress, 256);
    EXPECT_EQ(decoder.BusRead(kMailboxAddress), 0x01);
    EXPECT_EQ(decoder.BusRead(kMailboxAddress + 1), 0x10);

    ServiceMode service(decoder);
    const QByteArray line = "%EE?7E010";
    const auto replies = service.Feed(line + ServiceMode::Checksum(line));
    ASSERT_EQ(replies.size(), 1);
    EXPECT_EQ(replies[0], QByteArray("$!C0A0A1A2A3A4A5A6A7A8A9AAABACADAEAF\r"));
}

TEST(SimulatedMemoryTest, TheBusReachesEveryRegionAndFlashTakesNoPlainWrites) {
    SimulatedDecoder decoder;
    decoder.BusWrite(0x40000010, 0x5A);
    EXPECT_EQ(decoder.Ram()[0x10], '\x5A');
    decoder.BusWrite(0xC0700000, 0x11);
    EXPECT_EQ(decoder.BusRead(0xC0700000), 0x11);
    const std::uint8_t before = decoder.BusRead(0x7FE00000);
    decoder.BusWrite(0x7FE00000, 0x00);
    EXPECT_EQ(decoder.BusRead(0x7FE00000), before);
    EXPECT_EQ(decoder.BusRead(0x7FE00000), 'V');
    EXPECT_EQ(decoder.BusRead(0x20000000), 0xFF);  // nothing there
    EXPECT_EQ(decoder.BusRead(kMailboxPointer), kMailboxAddress & 0xFF);
    EXPECT_EQ(decoder.BusRead(0x60000020), 'T');  // the channel section's tag
}

}  // namespace
}  // namespace velarix::sim
