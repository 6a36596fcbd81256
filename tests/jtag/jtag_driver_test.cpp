#include <gtest/gtest.h>

#include "jtag/jtag_driver.h"
#include "sim_cable.h"

namespace velarix {
namespace {

using test::SimCable;
using test::TdiAtRisingEdges;

struct JtagDriverTest : ::testing::Test {
    SimCable cable;
    JtagDriver driver{cable.lpt, JtagTiming{0, 1024}};

    // The DCU line up and the link instruction loaded, as every link
    // operation begins.
    void Connect() {
        driver.SetDcuResetLine(true);
        driver.SelectLink();
    }
    std::size_t Mark() const { return cable.dataWrites.size(); }
    std::vector<int> TdiSince(std::size_t mark) const {
        return TdiAtRisingEdges(cable.dataWrites, mark);
    }
};

TEST_F(JtagDriverTest, AClockWritesTheLinesThenTckHighThenLowAndSamplesTdoBeforeTheRisingEdge) {
    cable.Faults().tdo = sim::JtagFaults::Tdo::StuckHigh;
    const std::uint64_t reads = cable.timing.accesses;
    EXPECT_TRUE(driver.JtagClock(true, true, true));
    // TMS bit 0, TDI bit 2, DCU reset bit 3 (low): 05h, then TCK (bit 1) high, then low.
    EXPECT_EQ(cable.dataWrites, (std::vector<std::uint8_t>{0x05, 0x07, 0x05}));
    EXPECT_EQ(cable.timing.accesses - reads, 4u);  // one status read, three writes
    // The same lines again: the first write is left out.
    EXPECT_FALSE(driver.JtagClock(true, true, false));
    EXPECT_EQ(cable.dataWrites.size(), 5u);
    EXPECT_EQ(cable.timing.accesses - reads, 6u);
    cable.Faults().tdo = sim::JtagFaults::Tdo::StuckLow;
    EXPECT_FALSE(driver.JtagClock(false, false, true));
}

TEST_F(JtagDriverTest, DuracionTckSpinsEachHalfOfTheClock) {
    JtagDriver slow(cable.lpt, JtagTiming{244, 1024});
    slow.JtagClock(false, false, false);
    EXPECT_EQ(cable.timing.spinsOfCount[244], 2u);
}

TEST_F(JtagDriverTest, SetDcuResetLineAlwaysRewritesTheDataRegister) {
    driver.SetDcuResetLine(true);
    const std::size_t mark = Mark();
    driver.SetDcuResetLine(true);  // unchanged level
    ASSERT_EQ(Mark() - mark, 3u);
    EXPECT_EQ(cable.dataWrites[mark], 0x08);
    EXPECT_EQ(cable.dataWrites[mark + 1], 0x0A);
    driver.SetDcuResetLine(false);
    EXPECT_EQ(cable.dataWrites[mark + 3], 0x00);
    EXPECT_FALSE(cable.target.ResetLineHigh());
}

TEST_F(JtagDriverTest, ResetTapReachesRunTestIdleFromAnyState) {
    driver.SetDcuResetLine(true);
    for (bool tms : {true, false, false}) driver.ClockTms(tms);  // Shift-DR
    ASSERT_EQ(cable.target.State(), sim::TapState::ShiftDr);
    driver.ResetTap();
    EXPECT_EQ(cable.target.State(), sim::TapState::RunTestIdle);
}

TEST_F(JtagDriverTest, ShiftIrReturnsTheCapturedBitsAndLoadsTheInstruction) {
    driver.SetDcuResetLine(true);
    driver.ResetTap();
    EXPECT_EQ(driver.ShiftIR(5, 0x10), 0x01u);  // Capture-IR loads 00001
    EXPECT_EQ(cable.target.Instruction(), 0x10);
    EXPECT_EQ(cable.target.State(), sim::TapState::UpdateIr);
}

TEST_F(JtagDriverTest, ReadIdcodeReadsTheIdentificationRegisterLeastSignificantBitFirst) {
    driver.SetDcuResetLine(true);
    EXPECT_EQ(driver.ReadIdcode(), 0x2D0C9041u);
    cable.target.SetIdcode(0x80000001);
    EXPECT_EQ(driver.ReadIdcode(), 0x80000001u);
    EXPECT_EQ(cable.target.State(), sim::TapState::UpdateDr);
    EXPECT_FALSE(driver.LinkSelected());
}

TEST_F(JtagDriverTest, SelectLinkLoadsTheLinkInstructionOnlyOnce) {
    Connect();
    EXPECT_EQ(cable.target.State(), sim::TapState::ShiftDr);
    EXPECT_EQ(cable.target.Instruction(), 0x10);
    const std::size_t mark = Mark();
    driver.SelectLink();
    EXPECT_EQ(Mark(), mark);
}

TEST_F(JtagDriverTest, SendingFiveAGoesOutZeroOneOneTheBitsLowFirstAndAFinalZero) {
    Connect();
    std::size_t mark = Mark();
    // Acknowledged during the data bits: no wait, one final 0.
    EXPECT_TRUE(driver.LinkSendByte(0x5A));
    EXPECT_EQ(TdiSince(mark), (std::vector<int>{0, 1, 1, 0, 1, 0, 1, 1, 0, 1, 0, 0}));

    // Acknowledged only after the byte: zeros until the acknowledge (1, 0) went by.
    cable.Faults().acknowledgeLate = true;
    mark = Mark();
    EXPECT_TRUE(driver.LinkSendByte(0x5A));
    EXPECT_EQ(TdiSince(mark), (std::vector<int>{0, 1, 1, 0, 1, 0, 1, 1, 0, 1, 0, 0, 0, 0}));

    // Never acknowledged: 64 clocks of waiting, then the final 0.
    cable.Faults().noAcknowledges = true;
    mark = Mark();
    EXPECT_FALSE(driver.LinkSendByte(0x5A));
    std::vector<int> expected{0, 1, 1, 0, 1, 0, 1, 1, 0, 1, 0};
    expected.insert(expected.end(), 64 + 1, 0);
    EXPECT_EQ(TdiSince(mark), expected);
    EXPECT_EQ(cable.target.Link().bytesReceived, 3u);
}

TEST_F(JtagDriverTest, SendWordSendsAllFourBytesEvenWhenOneIsNotAcknowledged) {
    Connect();
    cable.Faults().noAcknowledges = true;
    EXPECT_FALSE(driver.LinkSendWord(0x12345678));
    EXPECT_EQ(cable.target.Link().bytesReceived, 4u);
}

TEST_F(JtagDriverTest, TdoStuckLowFailsAReceiveAfterWaitStartBitsClocks) {
    Connect();
    cable.Faults().tdo = sim::JtagFaults::Tdo::StuckLow;
    const std::uint64_t clocks = cable.target.clocks;
    std::uint8_t byte = 0x55;
    EXPECT_FALSE(driver.LinkReceiveByte(byte));
    EXPECT_EQ(byte, 0);
    EXPECT_EQ(cable.target.clocks - clocks, 1024u);

    JtagDriver quick(cable.lpt, JtagTiming{0, 3});
    quick.SetDcuResetLine(true);
    const std::uint64_t before = cable.target.clocks;
    EXPECT_FALSE(quick.LinkReceiveByte(byte));
    EXPECT_EQ(cable.target.clocks - before, 3u);
}

TEST_F(JtagDriverTest, TdoStuckHighGivesFFAfterTwoClocks) {
    Connect();
    cable.Faults().tdo = sim::JtagFaults::Tdo::StuckHigh;
    const std::uint64_t clocks = cable.target.clocks;
    const std::size_t mark = Mark();
    std::uint8_t byte = 0;
    EXPECT_TRUE(driver.LinkReceiveByte(byte));
    EXPECT_EQ(byte, 0xFF);
    EXPECT_EQ(cable.target.clocks - clocks, 2u + 8u);
    // The host's acknowledge rides on the fifth data clock.
    EXPECT_EQ(TdiSince(mark), (std::vector<int>{0, 0, 0, 0, 0, 0, 1, 0, 0, 0}));
}

// A busy target acknowledges now and then before its answer: each
// acknowledge starts the count again, so an answer that comes later than
// WStartBits clocks after the wait began, but never WStartBits clocks after
// the last acknowledge, is still taken.
TEST_F(JtagDriverTest, AnAcknowledgeWhileWaitingForDataStartsTheCountAgain) {
    JtagDriver driver20(cable.lpt, JtagTiming{0, 20});
    driver20.SetDcuResetLine(true);
    driver20.SelectLink();
    cable.Faults().busyAcknowledges = 4;
    cable.Faults().busyGap = 15;
    ASSERT_TRUE(driver20.LinkSendByte(0x01));
    ASSERT_TRUE(driver20.LinkSendWord(0x40000000));
    const std::uint64_t clocks = cable.target.clocks;
    std::uint8_t length = 0xAA;
    EXPECT_TRUE(driver20.LinkReceiveByte(length));
    EXPECT_EQ(length, 0);
    EXPECT_GT(cable.target.clocks - clocks, 4u * 15u);  // far more than 20 clocks in all

    // The same answer with the acknowledges spaced wider than the limit is lost.
    SimCable other;
    JtagDriver strict(other.lpt, JtagTiming{0, 20});
    strict.SetDcuResetLine(true);
    strict.SelectLink();
    other.Faults().busyAcknowledges = 1;
    other.Faults().busyGap = 30;
    ASSERT_TRUE(strict.LinkSendByte(0x01));
    ASSERT_TRUE(strict.LinkSendWord(0x40000000));
    EXPECT_FALSE(strict.LinkReceiveByte(length));
}

// A target that acknowledges without end would keep the wait going for
// ever; the wait ends after 16 times its limit as a failed receive.
TEST_F(JtagDriverTest, EndlessAcknowledgesEndTheWaitAfterSixteenTimesTheLimit) {
    Connect();
    cable.Faults().endlessAcknowledges = true;
    const std::uint64_t clocks = cable.target.clocks;
    std::uint8_t byte = 0;
    EXPECT_FALSE(driver.LinkReceiveByte(byte));
    EXPECT_EQ(cable.target.clocks - clocks, 16u * 1024u);
}

TEST_F(JtagDriverTest, AReceivedByteIsTheEightBitsAfterZeroOneOneLeastSignificantFirst) {
    Connect();
    ASSERT_TRUE(driver.LinkSendByte(0x01));
    ASSERT_TRUE(driver.LinkSendWord(0x7FE00000));
    std::uint8_t length = 1, first = 0, second = 0;
    ASSERT_TRUE(driver.LinkReceiveByte(length));
    ASSERT_TRUE(driver.LinkReceiveByte(first));
    ASSERT_TRUE(driver.LinkReceiveByte(second));
    EXPECT_EQ(length, 0);
    EXPECT_EQ(first, 'V');  // the sample firmware's first bytes
    EXPECT_EQ(second, 'E');
}

}  // namespace
}  // namespace velarix
