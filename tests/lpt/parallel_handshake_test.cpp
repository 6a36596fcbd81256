#include <gtest/gtest.h>

#include <QRegularExpression>

#include "ieee1284_peripheral.h"
#include "lpt/linux_driver_platform.h"
#include "lpt/parallel_handshake.h"
#include "pc_parallel_port.h"
#include "recording_frame.h"
#include "shell/clock.h"
#include "shell/message_table.h"
#include "shell/settings.h"
#include "sim_parallel_port.h"

namespace velarix {
namespace {

// The bytes the decoder's side took, in order.
struct CollectingSink : sim::ByteSink {
    QByteArray taken;
    int transfersOver = 0;
    void Take(std::uint8_t byte) override { taken.append(static_cast<char>(byte)); }
    void TransferOver() override { ++transfersOver; }
};

// A port that notes every write ("O 037A CC") and passes everything on; it
// can be made to stop answering after a number of accesses.
struct RecordingPort : ParallelPort {
    explicit RecordingPort(ParallelPort& inner) : inner(inner) {}
    std::uint8_t In(std::uint16_t address) override {
        Count();
        return dead ? 0xFF : inner.In(address);
    }
    void Out(std::uint16_t address, std::uint8_t value) override {
        Count();
        if (dead) return;
        writes << QStringLiteral("O %1 %2")
                      .arg(address, 4, 16, QLatin1Char('0'))
                      .arg(value, 2, 16, QLatin1Char('0'))
                      .toUpper();
        inner.Out(address, value);
    }
    bool Failed() const override { return dead; }
    QString FaultText() const override { return dead ? QStringLiteral("gone") : QString(); }
    void Count() {
        ++accesses;
        if (dieAfter >= 0 && accesses > dieAfter) dead = true;
    }
    ParallelPort& inner;
    QStringList writes;
    long accesses = 0;
    long dieAfter = -1;
    bool dead = false;
};

// Remembers every address and time-left text the page showed.
struct HistoryFrame : test::RecordingFrame {
    QStringList addresses, timesLeft, speeds;
    void SetStatusField(StatusPage page, StatusField field, const QString& text) override {
        RecordingFrame::SetStatusField(page, field, text);
        if (field == StatusField::Address) addresses << text;
        if (field == StatusField::TimeLeft) timesLeft << text;
        if (field == StatusField::Speed) speeds << text;
    }
};

// The host's transfer against the simulated decoder's parallel side, in
// process, on a virtual clock.
struct HandshakeTest : ::testing::Test {
    VirtualClock clock;
    VirtualPortTiming timing{clock};
    CollectingSink sink;
    sim::Ieee1284Peripheral peripheral{sink};
    sim::PcParallelPort pcPort;
    SimParallelPort simPort{pcPort};
    RecordingPort port{simPort};
    Lpt lpt{port, timing, 0x378};
    HandshakeDelays delays;  // the settings' defaults
    PortStateWord state;
    HistoryFrame frame;
    ParallelHandshake handshake{lpt, delays, state, frame};
    std::int32_t errors = 0;

    HandshakeTest() { pcPort.AttachParallel(&peripheral); }

    TransferEnd Send(const QByteArray& image, bool progress = false) {
        ParallelHandshake run(lpt, delays, state, frame);
        return run.SendImage(image, QStringLiteral("7FE00000"), progress, errors);
    }
    static QByteArray Image(int size) {
        QByteArray image(size, '\0');
        for (int i = 0; i < size; ++i) image[i] = static_cast<char>(i * 7 + (i >> 8));
        return image;
    }
    QStringList Log() const { return frame.Log(LogPane::Firmware); }
};

TEST(HandshakeDelaysTest, TakeTheHeldValuesOfTheThirteenSliders) {
    Settings settings;
    const HandshakeDelays d = DelaysOf(settings);
    EXPECT_EQ(d.busy, 300u);
    EXPECT_EQ(d.strobe, 10);
    EXPECT_EQ(d.negotiation2, 500u);
    EXPECT_EQ(d.negotiation3, 500u);
    EXPECT_EQ(d.negotiation4, 10);
    EXPECT_EQ(d.opening1, 100u);
    EXPECT_EQ(d.closing2, 500u);
    EXPECT_EQ(d.start, 2000u);
    EXPECT_EQ(d.verification, 1000u);
    EXPECT_EQ(d.betweenBytes, 0u);
    settings.sliders[kRetardoEntreBytes] = 10000;
    settings.sliders[kRetardoNegociacion4] = 100;
    EXPECT_EQ(DelaysOf(settings).betweenBytes, 10000u);
    EXPECT_EQ(DelaysOf(settings).negotiation4, 100);
}

// Every register write of a two-byte transfer, written out by hand from the
// steps of the transfer, with the control register starting at C4h
// (bits 6 and 7 read as 1, nInit high) and the decoder answering the nibble
// request with "no data".
TEST_F(HandshakeTest, OneWholeSmallTransferWritesExactlyTheRegistersOfTheProtocol) {
    const QStringList expected{
        // OpenTransfer: data 0; nSelectIn low, nInit high; ECR; nInit pulse.
        "O 0378 00", "O 037A CC", "O 077A 34", "O 037A C8", "O 037A CC",
        // Negotiate: request 00h; nAutoFd low, nSelectIn high; nStrobe pulse.
        "O 0378 00", "O 037A C6", "O 037A C7", "O 037A C4",
        // "DNA": interrupt on, then nAutoFd low.
        "O 037A D4", "O 037A D6",
        // Terminate: interrupt off; nSelectIn low, nAutoFd high; nAutoFd low; high.
        "O 037A C6", "O 037A CC", "O 037A CE", "O 037A CC",
        // Two bytes, each strobed.
        "O 0378 A5", "O 037A CD", "O 037A CC", "O 0378 5A", "O 037A CD", "O 037A CC",
        // Closing negotiation and termination.
        "O 0378 00", "O 037A C6", "O 037A C7", "O 037A C4", "O 037A CC", "O 037A CE", "O 037A CC"};
    EXPECT_EQ(Send(QByteArray::fromHex("A55A")), TransferEnd::Complete);
    EXPECT_EQ(port.writes, expected);
    EXPECT_EQ(sink.taken, QByteArray::fromHex("A55A"));
    EXPECT_EQ(state.text, "CPT");
    EXPECT_EQ(Log(), (QStringList{Msg(29), Msg(28) + "DNA", Msg(31) + "CPT", Msg(32), Msg(36)}));
    EXPECT_TRUE(frame.boxes.isEmpty());
    EXPECT_EQ(peripheral.Negotiations(), 2);
    EXPECT_EQ(errors, 0);
}

TEST_F(HandshakeTest, TheNegotiationStrobeIsASpinOf244AndPhaseSixWaitsTenMilliseconds) {
    peripheral.faults.ackLowInPhase6 = true;
    const std::uint32_t before = clock.Tick();
    EXPECT_EQ(handshake.Negotiate(), 3);
    const std::uint32_t took = clock.Tick() - before;
    EXPECT_EQ(timing.spinsOfCount[244], 1u);  // 500 mod 256
    EXPECT_EQ(timing.spinsOfCount[10], 1u);   // RetardoNegociacion1
    EXPECT_GE(took, 10u);                     // RetardoNegociacion4 as milliseconds
    EXPECT_LE(took, 11u);
    ASSERT_EQ(frame.boxes.size(), 1);
    EXPECT_EQ(frame.boxes[0].text, Msg(2));
    EXPECT_EQ(state.text, "CPT");  // compatibility forced
}

TEST_F(HandshakeTest, AckLowAfterTheNegotiationStrobeGivesErrorAndTheImageIsStillSent) {
    peripheral.faults.ackLowInPhase6 = true;
    const QByteArray image = Image(300);
    EXPECT_EQ(Send(image), TransferEnd::Complete);
    EXPECT_EQ(sink.taken, image);
    EXPECT_TRUE(Log().contains(Msg(28) + "ERROR"));
    EXPECT_TRUE(Log().contains(Msg(31) + "ERROR"));  // no first termination
    EXPECT_FALSE(Log().contains(Msg(30)));
    ASSERT_GE(frame.boxes.size(), 1);
    EXPECT_EQ(frame.boxes[0].text, Msg(2));
}

TEST_F(HandshakeTest, ANegotiationNobodyAnswersTimesOutInPhaseTwoAndTheImageGoesAnyway) {
    peripheral.faults.refuseNegotiation = true;
    const QByteArray image = Image(50);
    const std::uint32_t before = clock.Tick();
    EXPECT_EQ(Send(image), TransferEnd::Complete);
    EXPECT_EQ(sink.taken, image);
    ASSERT_EQ(frame.boxes.size(), 2);  // opening and closing negotiation
    EXPECT_EQ(frame.boxes[0].text, Msg(1));
    EXPECT_EQ(Log().last(), Msg(37));  // nobody ends the closing termination
    // Two phase-2 time-outs, the opening, the start pause and the termination.
    EXPECT_GE(clock.Tick() - before, 500u + 500u + 100u + 100u + 2000u + 500u);
}

TEST_F(HandshakeTest, SelectHighInPhaseSixIsRefusedWithItsBox) {
    peripheral.faults.selectHighInPhase6 = true;
    EXPECT_EQ(Send(Image(10)), TransferEnd::Complete);
    EXPECT_EQ(frame.boxes.value(0).text, Msg(3));
    EXPECT_TRUE(Log().contains(Msg(28) + "ERROR"));
    EXPECT_EQ(sink.taken, Image(10));
}

TEST_F(HandshakeTest, AFailedByteIsLoggedAtItsPositionShownAtItsAddressAndSentAgain) {
    peripheral.faults.ackLowAt = 3;
    const QByteArray image = Image(10);
    EXPECT_EQ(Send(image), TransferEnd::Complete);
    EXPECT_EQ(sink.taken, image);  // every byte once
    EXPECT_EQ(errors, 1);
    EXPECT_TRUE(Log().contains(Msg(33) + "3" + Msg(34)));
    EXPECT_EQ(frame.addresses, (QStringList{"7FE00003", "7FE00009"}));
    EXPECT_EQ(frame.timesLeft, (QStringList{"0 " + Msg(237)}));
    EXPECT_EQ(frame.errorHistory[StatusPage::FirmwareParallel], (QStringList{"1"}));
    EXPECT_EQ(peripheral.Resets(), 3);  // opening, the recovery's nInit pulse, forced compatibility
}

TEST_F(HandshakeTest, BelowOneProgressStepNoSpeedIsShownAndTheLastAddressIsStartPlusSizeLessOne) {
    EXPECT_EQ(Send(Image(12286), true), TransferEnd::Complete);
    EXPECT_TRUE(frame.speeds.isEmpty());
    EXPECT_EQ(frame.addresses, (QStringList{"7FE02FFD"}));
    EXPECT_EQ(frame.Progress(StatusPage::FirmwareParallel), 12286);
}

TEST_F(HandshakeTest, EveryProgressStepShowsSpeedTimeLeftAndAddressOnlyWhenAskedFor) {
    EXPECT_EQ(Send(Image(2 * 12287 + 5), true), TransferEnd::Complete);
    ASSERT_EQ(frame.speeds.size(), 2);
    static const QRegularExpression speed("^\\d+[.,]\\d" + QRegularExpression::escape(Msg(238)) +
                                          "$");
    EXPECT_TRUE(speed.match(frame.speeds[0]).hasMatch()) << frame.speeds[0].toStdString();
    EXPECT_TRUE(frame.timesLeft.last().endsWith(Msg(237)));
    EXPECT_EQ(frame.addresses, (QStringList{"7FE02FFF", "7FE05FFE", "7FE06002"}));
    frame.speeds.clear();
    frame.addresses.clear();
    EXPECT_EQ(Send(Image(2 * 12287 + 5), false), TransferEnd::Complete);
    EXPECT_TRUE(frame.speeds.isEmpty());
    EXPECT_EQ(frame.addresses, (QStringList{"7FE06002"}));
}

TEST_F(HandshakeTest, NoPauseBetweenBytesSpinsNeverAndAPauseOfOneSpinsTwice) {
    EXPECT_EQ(Send(Image(40)), TransferEnd::Complete);
    EXPECT_EQ(timing.spinsOfCount.count(0), 0u);
    EXPECT_EQ(timing.spinsOfCount.count(1), 0u);
    EXPECT_EQ(timing.spinCalls, 40u + 2 * 2);  // the strobes and two negotiations' two spins
    delays.betweenBytes = 1;
    timing.spinsOfCount.clear();
    const std::uint64_t iterations = timing.spinIterations;
    EXPECT_EQ(Send(Image(40)), TransferEnd::Complete);
    EXPECT_EQ(timing.spinsOfCount[1], 40u);
    EXPECT_EQ(timing.spinIterations - iterations, 40u * 11 + 40u * 2 + 2 * (11 + 245));
}

TEST_F(HandshakeTest, PaperEndStuckHighFailsTheRecoveryAfterAboutHalfASecond) {
    peripheral.faults.paperEndStuckHigh = true;
    const std::uint32_t before = clock.Tick();
    EXPECT_TRUE(handshake.RecoverAfterError());
    const std::uint32_t took = clock.Tick() - before;
    EXPECT_GE(took, 501u);
    EXPECT_LE(took, 503u);
    EXPECT_EQ(state.text, "CPT");
}

TEST_F(HandshakeTest, AFailedRecoveryEndsTheRunWithItsLine) {
    peripheral.faults.paperEndStuckHigh = true;
    peripheral.faults.ackLowAt = 2;
    EXPECT_EQ(Send(Image(20)), TransferEnd::RecoveryFailed);
    EXPECT_EQ(sink.taken, Image(2));
    EXPECT_EQ(errors, 1);
    const QStringList log = Log();
    EXPECT_EQ(log.mid(log.size() - 3), (QStringList{Msg(33) + "2" + Msg(34), Msg(35), Msg(36)}));
    EXPECT_EQ(frame.addresses.last(), "7FE00001");  // the last byte sent
}

TEST_F(HandshakeTest, OneHundredFailedBytesEndTheRun) {
    peripheral.faults.busyStuckAt = 5;
    EXPECT_EQ(Send(Image(20)), TransferEnd::ErrorLimit);
    EXPECT_EQ(errors, 100);
    EXPECT_EQ(sink.taken, Image(5));
    EXPECT_EQ(Log().count(Msg(33) + "5" + Msg(34)), 100);
    EXPECT_FALSE(Log().contains(Msg(35)));
}

TEST_F(HandshakeTest, ATransferAcrossTheWrapOfTheTickWaitsItsFullPauses) {
    clock.SetTick(0xFFFFFFFFu - 1500);
    const std::uint32_t before = clock.Tick();
    EXPECT_EQ(Send(Image(5)), TransferEnd::Complete);
    const std::uint32_t took = clock.Tick() - before;
    EXPECT_GE(took, 100u + 100u + 2000u);  // neither cut short by the wrap...
    EXPECT_LT(took, 4000u);                // ...nor made endless
    EXPECT_EQ(sink.taken, Image(5));
}

TEST_F(HandshakeTest, APortThatCannotBeOpenedShowsItsMessageAndIsNotTouched) {
    struct RefusingPort : ParallelPort {
        LinuxDriverPlatform platform{
            {[] { return 16u; },
             [] {},
             {},
             [](std::uint32_t, bool) { return QStringLiteral("ocupado"); }}};
        TGWIOPM_Driver driver{platform, QString()};
        int accesses = 0;
        std::uint8_t In(std::uint16_t) override { return ++accesses, 0xFF; }
        void Out(std::uint16_t, std::uint8_t) override { ++accesses; }
        TGWIOPM_Driver* AccessDriver() override { return &driver; }
    } refusing;
    Lpt other{refusing, timing, 0x378};
    ParallelHandshake run(other, delays, state, frame);
    EXPECT_EQ(run.SendImage(Image(10), "7FE00000", false, errors), TransferEnd::PortNotOpened);
    EXPECT_EQ(refusing.accesses, 0);
    ASSERT_EQ(frame.boxes.size(), 1);
    EXPECT_EQ(frame.boxes[0].text, Msg(39) + "\r\nocupado");
}

TEST_F(HandshakeTest, APortThatDiesMidTransferEndsItWithItsReasonAndNoFurtherAccess) {
    port.dieAfter = 1000;
    EXPECT_EQ(Send(Image(5000)), TransferEnd::PortFailed);
    EXPECT_EQ(frame.boxes.size(), 1);  // its own, not the negotiation's
    EXPECT_EQ(frame.boxes[0].text, "gone");
    EXPECT_EQ(Log().last(), "gone");
    EXPECT_LT(port.accesses, 1010);
    EXPECT_EQ(errors, 0);
}

}  // namespace
}  // namespace velarix
