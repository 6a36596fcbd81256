#include <gtest/gtest.h>

#include <QCoreApplication>

#include <optional>

#include "ieee1284_peripheral.h"
#include "lpt/firmware_upload.h"
#include "pc_parallel_port.h"
#include "recording_frame.h"
#include "scripted_port.h"
#include "serial/service_link.h"
#include "shell/clock.h"
#include "shell/message_table.h"
#include "shell/settings.h"
#include "sim_parallel_port.h"

namespace velarix {
namespace {

struct Sink : sim::ByteSink {
    QByteArray taken;
    void Take(std::uint8_t byte) override { taken.append(static_cast<char>(byte)); }
};

// An upload with the service link on a scripted port (the test answers each
// line) and the parallel port on the simulated decoder's parallel side, in
// process, all on a virtual clock.
struct UploadTest : ::testing::Test {
    VirtualClock clock;
    VirtualPortTiming timing{clock};
    test::ScriptedPort serial;
    test::RecordingFrame frame;
    ServiceLink link{serial, clock, frame};
    Settings settings;
    FirmwareUpload upload{link, frame, timing, settings};
    Sink sink;
    sim::Ieee1284Peripheral peripheral{sink};
    sim::PcParallelPort pc;
    std::optional<UploadOutcome> outcome;
    QString address = QStringLiteral("7FE00000");
    QString portError;
    int portsOpened = 0;

    UploadTest() {
        pc.AttachParallel(&peripheral);
        upload.addressText = [this] { return address; };
        upload.openPort = [this] {
            ++portsOpened;
            PortOpening opening;
            opening.base = 0x378;
            opening.device = QStringLiteral("sim");
            opening.error = portError;
            if (portError.isEmpty()) opening.port = std::make_unique<SimParallelPort>(pc);
            return opening;
        };
        upload.finished = [this](UploadOutcome o) { outcome = o; };
    }
    // The decoder's line arrives; the window's event loop then runs what the
    // reply left for after its handler (the transfer).
    void Answer(const char* line) {
        serial.Deliver(line);
        QCoreApplication::sendPostedEvents();
    }

    QStringList Log() const { return frame.Log(LogPane::Firmware); }
    QString LastBox() const { return frame.boxes.isEmpty() ? QString() : frame.boxes.last().text; }
};

TEST(AddressPresets, EachItemSetsItsCommandAndPhases) {
    EXPECT_EQ(PresetOf("7FE00000")->command, 0);
    EXPECT_TRUE(PresetOf("7FE00000")->phase12);
    EXPECT_EQ(PresetOf("60000000")->command, 2);
    EXPECT_FALSE(PresetOf("60000000")->phase12);
    EXPECT_EQ(PresetOf("FFF90000")->command, 2);
    EXPECT_EQ(PresetOf("FFF82000")->command, 1);  // PL, without phases 1 and 2
    EXPECT_FALSE(PresetOf("FFF82000")->phase12);
    EXPECT_FALSE(PresetOf("7FE00001"));
}

TEST(ReplyTest, OnlyTheSecondCharacterCounts) {
    EXPECT_TRUE(IsPositiveReply("$.C0\r"));
    EXPECT_TRUE(IsPositiveReply("?.\r"));
    EXPECT_FALSE(IsPositiveReply("$?C0\r"));
    EXPECT_FALSE(IsPositiveReply(".\r"));  // one character and the carriage return
    EXPECT_FALSE(IsPositiveReply("$!C0\r"));
}

TEST_F(UploadTest, TheLoadCommandCarriesAddressSizeAndSumAndFreesNothingUntilAnswered) {
    address = "60000000";
    settings.firmwareCommand = 2;
    EXPECT_TRUE(upload.StartUpload(QByteArray("\x01\xFF\x10", 3)));
    ASSERT_EQ(serial.written.size(), 1);
    EXPECT_EQ(serial.written[0], "%FL=60000000000000030110CD");
    EXPECT_TRUE(frame.busy);
    EXPECT_EQ(frame.StatusFieldText(StatusPage::FirmwareParallel, StatusField::Task), Msg(16));
    EXPECT_EQ(frame.StatusFieldText(StatusPage::FirmwareParallel, StatusField::Address),
              "60000000");
    EXPECT_EQ(frame.ProgressMaximum(StatusPage::FirmwareParallel), 3);
    EXPECT_EQ(Log(), (QStringList{"%FL=60000000000000030110CD"}));
    EXPECT_EQ(link.OperationMode(), kFirmwareUpload);
}

TEST_F(UploadTest, ARefusalOrAOneCharacterReplyEndsWithTheRefusalBox) {
    for (const QByteArray& reply : {QByteArray("$?C0\r"), QByteArray("$\r")}) {
        frame.boxes.clear();
        upload.StartUpload(QByteArray(10, 'x'));
        Answer(reply);
        EXPECT_EQ(LastBox(), Msg(40));
        EXPECT_EQ(outcome, UploadOutcome::Refused);
        EXPECT_EQ(upload.ErrorCount(), 1);
        EXPECT_FALSE(frame.busy);
        EXPECT_EQ(portsOpened, 0);
    }
}

TEST_F(UploadTest, WithPhasesOneAndTwoAnyReportLeadsToTheQueryAfterTheVerificationPause) {
    const QByteArray image = QByteArray::fromHex("0102030405060708");
    upload.StartUpload(image);
    Answer("$.C0\r");
    EXPECT_EQ(sink.taken, image);
    EXPECT_EQ(Log().last(), Msg(38));
    EXPECT_EQ(upload.Phase(), 1);
    EXPECT_EQ(serial.written.size(), 1);
    EXPECT_TRUE(frame.busy);
    const std::uint32_t before = clock.Tick();
    Answer("whatever the decoder says\r");
    EXPECT_GE(clock.Tick() - before, 1000u);  // RetardoVerificacion
    ASSERT_EQ(serial.written.size(), 2);
    EXPECT_EQ(serial.written[1], "%DL?C8");
    Answer("$.C0\r");
    EXPECT_EQ(frame.boxes.last().kind, BoxKind::Information);
    EXPECT_EQ(LastBox(), Msg(41));
    EXPECT_EQ(outcome, UploadOutcome::Success);
    EXPECT_FALSE(frame.busy);
    EXPECT_TRUE(frame.StatusFieldText(StatusPage::FirmwareParallel, StatusField::Task).isEmpty());
    EXPECT_EQ(frame.Progress(StatusPage::FirmwareParallel), 0);
    // Every reply went to the terminal as well.
    EXPECT_EQ(frame.Log(LogPane::Terminal).count("$.C0\r"), 2);
}

TEST_F(UploadTest, WithoutPhasesOneAndTwoTheQueryFollowsTheTransferAndUsesTheCommandChosenThen) {
    settings.phase12 = false;
    upload.StartUpload(QByteArray(5, 'a'));
    settings.firmwareCommand = 1;  // changed while the load runs
    Answer("$.C0\r");
    ASSERT_EQ(serial.written.size(), 2);
    EXPECT_EQ(serial.written[1], "%PL?DC");
    EXPECT_FALSE(Log().contains(Msg(38)));
    Answer("$?C0\r");
    EXPECT_EQ(frame.boxes.last().kind, BoxKind::Error);
    EXPECT_EQ(LastBox(), Msg(42));
    EXPECT_EQ(outcome, UploadOutcome::DecoderFailure);
}

TEST_F(UploadTest, AnEmptyImageSendsSizeAndSumZeroAndATransferOfNoBytes) {
    upload.StartUpload(QByteArray());
    EXPECT_EQ(serial.written[0], "%DL=7FE00000000000000000CE");
    Answer("$.C0\r");
    EXPECT_TRUE(sink.taken.isEmpty());
    EXPECT_EQ(peripheral.Negotiations(), 2);  // the transfer still opened and closed
    EXPECT_EQ(upload.Phase(), 1);
}

TEST_F(UploadTest, EachPhaseThatGetsNoReplyEndsWithItsOwnText) {
    upload.StartUpload(QByteArray(3, 'a'));
    clock.Advance(15000);
    EXPECT_EQ(Log().last(), Msg(43));
    EXPECT_EQ(LastBox(), Msg(43) + "\r\n" + Msg(44));
    EXPECT_EQ(outcome, UploadOutcome::NoReply);
    EXPECT_FALSE(frame.busy);

    upload.StartUpload(QByteArray(3, 'a'));
    Answer("$.C0\r");
    clock.Advance(74999);
    EXPECT_TRUE(frame.busy);  // the decoder may take more than a minute
    clock.Advance(1);
    EXPECT_EQ(LastBox(), Msg(45));
    EXPECT_EQ(Log().last(), Msg(45));
    EXPECT_FALSE(frame.busy);

    upload.StartUpload(QByteArray(3, 'a'));
    Answer("$.C0\r");
    Answer("$.C0\r");
    clock.Advance(15000);
    EXPECT_EQ(LastBox(), Msg(46));
    EXPECT_EQ(frame.Progress(StatusPage::FirmwareParallel), 0);
    EXPECT_FALSE(frame.busy);
}

TEST_F(UploadTest, APortThatCannotBeOpenedEndsTheUploadWithItsReason) {
    portError = Msg(384).arg("/dev/parport0");
    upload.StartUpload(QByteArray(3, 'a'));
    Answer("$.C0\r");
    EXPECT_EQ(LastBox(), Msg(39) + "\r\n" + portError);
    EXPECT_TRUE(Log().contains(portError));
    EXPECT_EQ(outcome, UploadOutcome::TransferFailed);
    EXPECT_FALSE(frame.busy);
    EXPECT_FALSE(link.AwaitingReply());
}

// A port that stops answering after a number of accesses, as an unplugged
// adapter or a model that hangs up does.
struct DyingPort : SimParallelPort {
    using SimParallelPort::SimParallelPort;
    int left = 500;
    std::uint8_t In(std::uint16_t address) override {
        return --left > 0 ? SimParallelPort::In(address) : 0xFF;
    }
    void Out(std::uint16_t address, std::uint8_t value) override {
        if (--left > 0) SimParallelPort::Out(address, value);
    }
    bool Failed() const override { return left <= 0; }
    QString FaultText() const override { return left <= 0 ? QStringLiteral("gone") : QString(); }
};

TEST_F(UploadTest, APortThatDiesMidTransferEndsTheUploadWithItsMessageAndFreesThePages) {
    upload.openPort = [this] {
        PortOpening opening;
        opening.base = 0x378;
        opening.device = QStringLiteral("dying");
        opening.port = std::make_unique<DyingPort>(pc);
        return opening;
    };
    upload.StartUpload(QByteArray(1000, 'a'));
    Answer("$.C0\r");
    EXPECT_EQ(outcome, UploadOutcome::TransferFailed);
    EXPECT_EQ(LastBox(), "gone");
    EXPECT_EQ(Log().last(), "gone");
    EXPECT_EQ(serial.written.size(), 1);  // no verification query
    EXPECT_FALSE(frame.busy);
    EXPECT_FALSE(link.AwaitingReply());
}

// A box during the transfer (the closing negotiation's) lets the serial port
// be read: the decoder's report that comes then is its report after the
// data, answered with the verification query once the transfer is over, and
// never a second agreement that starts the transfer again.
TEST_F(UploadTest, AReportThatComesWhileATransferBoxIsUpIsThePhaseOneReply) {
    peripheral.faults.selectHighInPhase6 = true;
    settings.phase12 = true;
    bool delivered = false;
    frame.whileShown = [&](const QString&) {
        if (delivered) return;
        delivered = true;
        serial.Deliver("$.C0\r");
    };
    upload.StartUpload(QByteArray(3, 'a'));
    Answer("$.C0\r");
    ASSERT_TRUE(delivered);
    EXPECT_EQ(portsOpened, 1);
    ASSERT_EQ(serial.written.size(), 2);
    EXPECT_EQ(serial.written[1], "%DL?C8");
    EXPECT_EQ(upload.Phase(), 2);
}

TEST_F(UploadTest, TheLogNamesThePortThatServesTheTransfer) {
    upload.StartUpload(QByteArray(3, 'a'));
    Answer("$.C0\r");
    EXPECT_TRUE(Log().contains(Msg(71) + ": sim"));
}

TEST_F(UploadTest, ATransferThatEndsEarlyEndsTheUploadWithItsLogLinesOnly) {
    peripheral.faults.busyStuckAt = 0;
    upload.StartUpload(QByteArray(3, 'a'));
    Answer("$.C0\r");
    EXPECT_EQ(outcome, UploadOutcome::TransferFailed);
    EXPECT_EQ(upload.ErrorCount(), 100);
    EXPECT_TRUE(frame.boxes.isEmpty());
    EXPECT_EQ(serial.written.size(), 1);  // no verification query
    EXPECT_FALSE(frame.busy);
}

TEST_F(UploadTest, WithNoCommandChosenNothingIsSent) {
    settings.firmwareCommand = -1;
    EXPECT_FALSE(upload.StartUpload(QByteArray(3, 'a')));
    EXPECT_EQ(LastBox(), Msg(382));
    EXPECT_TRUE(serial.written.isEmpty());
    EXPECT_EQ(frame.busyCount, 0);
}

TEST_F(UploadTest, ThePortCheckAsksPrAndAnswersWithTheDecodersVerdict) {
    upload.StartPortCheck();
    EXPECT_TRUE(frame.busy);
    ASSERT_EQ(serial.written.size(), 1);
    EXPECT_EQ(serial.written[0], "%PR?C2");
    Answer("$.C0\r");
    EXPECT_EQ(frame.boxes.last().kind, BoxKind::Information);
    EXPECT_EQ(LastBox(), Msg(381));
    EXPECT_EQ(Log(), (QStringList{"%PR?C2", "$.C0\r"}));
    EXPECT_FALSE(frame.Log(LogPane::Terminal).contains("$.C0\r"));  // the page's log only
    EXPECT_FALSE(frame.busy);

    upload.StartPortCheck();
    Answer("$?C0\r");
    EXPECT_EQ(LastBox(), Msg(380));
    EXPECT_EQ(outcome, UploadOutcome::DecoderFailure);

    upload.StartPortCheck();
    clock.Advance(15000);
    EXPECT_EQ(LastBox(), Msg(43) + "\r\n" + Msg(44));
    EXPECT_EQ(Log().last(), Msg(43));
    EXPECT_FALSE(frame.busy);
}

TEST_F(UploadTest, ASerialPortThatCannotBeWrittenEndsAtOnce) {
    serial.failWrite = true;
    EXPECT_FALSE(upload.StartUpload(QByteArray(3, 'a')));
    EXPECT_EQ(outcome, UploadOutcome::LinkError);
    EXPECT_FALSE(frame.busy);
}

}  // namespace
}  // namespace velarix
