#include <gtest/gtest.h>

#include "jtag_faults.h"
#include "simulated_decoder.h"
#include "trap_routine.h"

namespace velarix::sim {
namespace {

// The trap routine started by hand and given flash commands through its
// mailbox, as the debug controller would pass them on.
struct Routine {
    static constexpr std::uint32_t kAt = 0x40010000;
    static constexpr std::uint32_t kStaging = kAt + 0x500;
    SimulatedDecoder decoder;
    JtagFaults faults;
    TrapRoutine routine{decoder, faults};

    Routine() {
        Put(kTrapVector, kAt);
        const QByteArray standIn = StandInTrapRoutine();
        for (int i = 0; i < standIn.size(); ++i)
            decoder.BusWrite(kAt + i, std::uint8_t(standIn[i]));
        routine.WriteControl(0x20000000);
        while (routine.ReadControl() != 0x60000) {
        }
    }
    void Put(std::uint32_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) decoder.BusWrite(at + i, std::uint8_t(value >> (8 * i)));
    }
    std::uint32_t Word(std::uint32_t at) {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) value |= std::uint32_t(decoder.BusRead(at + i)) << (8 * i);
        return value;
    }
    // Gives the command and polls its word up to `polls` times; true when done.
    bool Command(std::uint32_t command, std::initializer_list<std::pair<int, std::uint32_t>> words,
                 int polls = 10) {
        for (const auto& [offset, value] : words) Put(kMailboxAddress + offset, value);
        Put(kMailboxAddress, command);
        routine.AfterWrite(kMailboxAddress, 4);
        for (int i = 0; i < polls; ++i) {
            routine.BeforeRead(kMailboxAddress, 256);
            if (Word(kMailboxAddress) & 1) return true;
        }
        return false;
    }
    bool Program(std::uint32_t at, const QByteArray& data) {
        for (int i = 0; i < data.size(); ++i) decoder.BusWrite(kStaging + i, std::uint8_t(data[i]));
        return Command(
            kProgramFlash,
            {{4, at}, {8, kStaging}, {12, std::uint32_t(data.size())}, {16, 0x7FE00000}});
    }
    bool EraseBlock(std::uint32_t at) {
        return Command(kEraseBlock, {{4, at}, {16, 0x7FE00000}, {28, 48}});
    }
    QByteArray Flash(std::uint32_t at, int n) {
        QByteArray bytes;
        for (int i = 0; i < n; ++i)
            bytes.append(char(routine.ReadBack(at + i, decoder.BusRead(at + i))));
        return bytes;
    }
};

TEST(TrapFlashTest, ProgrammingOnlyClearsBitsAndAnEraseSetsTheWholeSectorToFF) {
    Routine r;
    // The sample firmware starts with its header; programming over it ANDs.
    EXPECT_EQ(r.Flash(0x7FE00000, 2), QByteArray("VE"));
    ASSERT_TRUE(r.Program(0x7FE00000, QByteArray("\x0F\xFF", 2)));
    EXPECT_EQ(r.Flash(0x7FE00000, 2), QByteArray("\x06\x45", 2));  // 'V' & 0F, 'E' & FF
    // An erase at any address of the second sector (4000h-5FFFh, 8 KiB)
    // erases that whole sector and nothing else.
    ASSERT_TRUE(r.EraseBlock(0x7FE05000));
    EXPECT_EQ(r.Flash(0x7FE04000, 0x2000), QByteArray(0x2000, '\xFF'));
    EXPECT_NE(r.Flash(0x7FE03FFC, 4), QByteArray(4, '\xFF'));
    EXPECT_NE(r.Flash(0x7FE06000, 4), QByteArray(4, '\xFF'));
    ASSERT_TRUE(r.Program(0x7FE04000, QByteArray("\x12\x34", 2)));
    EXPECT_EQ(r.Flash(0x7FE04000, 3), QByteArray("\x12\x34\xFF", 3));
    ASSERT_TRUE(r.Command(kEraseChip, {{16, 0x7FE00000}}));
    EXPECT_EQ(r.decoder.Flash(0).Bytes(), QByteArray(0x200000, '\xFF'));
    EXPECT_NE(r.decoder.Flash(1).Bytes(), QByteArray(0x200000, '\xFF'));  // chip 2 untouched
}

TEST(TrapFlashTest, AStuckSectorNeverFinishesUnlessItIsToldToPretend) {
    Routine r;
    r.faults.stuckFlashAt = 0x7FE04010;
    const QByteArray before = r.Flash(0x7FE04000, 0x2000);
    EXPECT_FALSE(r.EraseBlock(0x7FE04000));
    EXPECT_FALSE(r.Program(0x7FE04000, QByteArray(16, '\0')));
    EXPECT_EQ(r.Flash(0x7FE04000, 0x2000), before);
    // The sector before it still takes its commands.
    EXPECT_TRUE(r.EraseBlock(0x7FE00000));
    EXPECT_EQ(r.Flash(0x7FE00000, 4), QByteArray(4, '\xFF'));
    // A chip erase erases the others and never finishes.
    EXPECT_FALSE(r.Command(kEraseChip, {{16, 0x7FE00000}}));
    EXPECT_EQ(r.Flash(0x7FE06000, 4), QByteArray(4, '\xFF'));
    EXPECT_EQ(r.Flash(0x7FE04000, 0x2000), before);

    r.faults.stuckFlashReportsDone = true;
    EXPECT_TRUE(r.EraseBlock(0x7FE04000));
    EXPECT_EQ(r.Flash(0x7FE04000, 0x2000), before);
    ASSERT_GE(r.routine.carried.size(), 5u);
    EXPECT_EQ(r.routine.carried[0], (TrapRoutine::Carried{kEraseBlock, 0x7FE04000, 0, false}));
    EXPECT_EQ(r.routine.carried[1], (TrapRoutine::Carried{kProgramFlash, 0x7FE04000, 16, false}));
    EXPECT_EQ(r.routine.carried.back(), (TrapRoutine::Carried{kEraseBlock, 0x7FE04000, 0, true}));
}

TEST(TrapFlashTest, AReadBackDiffersOnceAfterTheAddressWasProgrammed) {
    Routine r;
    r.faults.readBackDiffersOnceAt = 0x7FE00001;
    EXPECT_EQ(r.Flash(0x7FE00000, 2), QByteArray("VE"));  // not programmed yet: read as it is
    ASSERT_TRUE(r.EraseBlock(0x7FE00000));
    ASSERT_TRUE(r.Program(0x7FE00000, QByteArray("\x11\x22", 2)));
    EXPECT_EQ(r.Flash(0x7FE00000, 2), QByteArray("\x11\xDD", 2));
    EXPECT_EQ(r.Flash(0x7FE00000, 2), QByteArray("\x11\x22", 2));
    ASSERT_TRUE(r.EraseBlock(0x7FE00000));
    ASSERT_TRUE(r.Program(0x7FE00000, QByteArray("\x11\x22", 2)));
    EXPECT_EQ(r.Flash(0x7FE00000, 2), QByteArray("\x11\x22", 2));  // once in its life
}

}  // namespace
}  // namespace velarix::sim
