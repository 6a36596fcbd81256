#include <gtest/gtest.h>

#include <QRegularExpression>
#include <optional>

#include "eeprom/eeprom_image.h"
#include "eeprom/hex.h"
#include "eeprom/hex_editing.h"
#include "recording_frame.h"
#include "scripted_port.h"
#include "serial/eeprom_transfer.h"
#include "serial/service_link.h"
#include "serial/terminal.h"
#include "service_mode.h"
#include "shell/message_table.h"
#include "shell/transfer_rate.h"
#include "simulated_decoder.h"

namespace velarix {
namespace {

// The transfer against the simulated decoder's service mode, one reply per
// command, on a virtual clock.
struct EepromTransferTest : ::testing::Test {
    VirtualClock clock;
    test::RecordingFrame frame;
    test::ScriptedPort port;
    ServiceLink link{port, clock, frame};
    EepromImage image;
    HexEditing editing{image};
    EepromTransfer transfer{link, image, editing, frame};
    Terminal terminal{link, frame};
    sim::SimulatedDecoder decoder;
    sim::ServiceMode service{decoder};
    std::optional<TransferOutcome> outcome;
    int refreshes = 0;

    EepromTransferTest() {
        port.responder = [this](const QByteArray& line) { return service.Feed(line).join(); };
        transfer.finished = [this](TransferOutcome o) { outcome = o; };
        transfer.refreshFields = [this] { ++refreshes; };
    }

    // Lets the decoder answer, 10 ms after each command, until the transfer ends.
    void RunToEnd() {
        while (transfer.Running()) {
            clock.Advance(10);
            if (!port.AnswerLast()) break;
        }
    }

    QStringList Written() const {
        QStringList lines;
        for (const QByteArray& w : port.written) lines << QString::fromLatin1(w);
        return lines;
    }

    QString LastBox() const { return frame.boxes.isEmpty() ? QString() : frame.boxes.last().text; }
};

TEST_F(EepromTransferTest, ReadingTheWholeEepromAsksForEveryRowInOrder) {
    transfer.Start(EepromOperation::Read, EepromLength::Whole);
    EXPECT_TRUE(frame.busy);
    EXPECT_EQ(frame.StatusFieldText(StatusPage::Eeprom, StatusField::Task),
              QStringLiteral("Recibe"));
    EXPECT_EQ(frame.ProgressMaximum(StatusPage::Eeprom), 127);
    RunToEnd();
    ASSERT_EQ(port.written.size(), 128);
    EXPECT_EQ(Written().first(), QStringLiteral("%EE?00010F1"));
    EXPECT_EQ(Written()[10], QStringLiteral("%EE?0A01080"));
    for (int row = 0; row < 128; ++row) {
        EXPECT_TRUE(Written()[row].startsWith("%EE?" + HexText(row, 2) + "010"));
    }
    EXPECT_EQ(image.GetImageBytes(), decoder.Eeprom());
    EXPECT_EQ(outcome, TransferOutcome::Success);
    EXPECT_EQ(LastBox(), QStringLiteral("¡ Eeprom leída con éxito !"));
    EXPECT_EQ(frame.boxes.last().kind, BoxKind::Information);
    EXPECT_FALSE(frame.busy);
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(frame.Progress(StatusPage::Eeprom), 0);  // cleared at the end
    EXPECT_EQ(frame.StatusFieldText(StatusPage::Eeprom, StatusField::Task), QString());
    EXPECT_EQ(link.currentRow, 0);
    EXPECT_EQ(frame.Log(LogPane::Eeprom).size(), 256);  // each command and each reply
    EXPECT_EQ(frame.Log(LogPane::Terminal).size(), 256);
}

TEST_F(EepromTransferTest, TheProgressBarRunsTo127AndTheAddressFollowsTheRow) {
    QList<int> positions;
    transfer.Start(EepromOperation::Read, EepromLength::Whole);
    while (transfer.Running()) {
        clock.Advance(10);
        port.AnswerLast();
        positions << frame.Progress(StatusPage::Eeprom);
        if (transfer.Running()) {
            EXPECT_EQ(frame.StatusFieldText(StatusPage::Eeprom, StatusField::Address),
                      HexText(link.currentRow, 2) + "0");
        }
    }
    EXPECT_EQ(positions[positions.size() - 2], 127);
}

TEST_F(EepromTransferTest, SpeedAndTimeLeftFollowTheTicks) {
    transfer.Start(EepromOperation::Read, EepromLength::Whole);
    clock.Advance(1000);
    port.AnswerLast();  // 16 bytes in 1 s; 128*16 - 0*16 left
    EXPECT_EQ(frame.StatusFieldText(StatusPage::Eeprom, StatusField::Speed),
              SpeedText(16, QStringLiteral("b/s")));
    EXPECT_EQ(frame.StatusFieldText(StatusPage::Eeprom, StatusField::TimeLeft),
              QStringLiteral("128seg"));
}

TEST_F(EepromTransferTest, TimeLeftKeepsItsTextWhenTheReplyCameWithinTheSameTick) {
    frame.SetStatusField(StatusPage::Eeprom, StatusField::TimeLeft, QStringLiteral("old"));
    transfer.Start(EepromOperation::Read, EepromLength::Whole);
    port.AnswerLast();  // no time has passed
    EXPECT_EQ(frame.StatusFieldText(StatusPage::Eeprom, StatusField::TimeLeft),
              QStringLiteral("old"));
}

TEST_F(EepromTransferTest, TheFirstRowsChoiceStopsAfterRow0A) {
    transfer.Start(EepromOperation::Read, EepromLength::UpTo0AF);
    EXPECT_EQ(frame.ProgressMaximum(StatusPage::Eeprom), 10);
    RunToEnd();
    EXPECT_EQ(port.written.size(), 11);
    EXPECT_TRUE(Written().last().startsWith(QStringLiteral("%EE?0A010")));
    EXPECT_EQ(image.Cell(0xAF), HexText(static_cast<quint8>(decoder.Eeprom()[0xAF]), 2));
    EXPECT_EQ(image.Cell(0xB0), QStringLiteral("FF"));
}

TEST_F(EepromTransferTest, WritingSendsTheGridRowsAndTheDecoderKeepsThem) {
    QByteArray bytes(2048, '\0');
    for (int i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i % 251);
    image.PutImageBytes(bytes, 0, 2048);
    transfer.Start(EepromOperation::Write, EepromLength::Whole);
    EXPECT_EQ(frame.StatusFieldText(StatusPage::Eeprom, StatusField::Task),
              QStringLiteral("Envía"));
    RunToEnd();
    EXPECT_EQ(decoder.Eeprom(), bytes);
    EXPECT_EQ(LastBox(), QStringLiteral("¡ Eeprom escrita con éxito !"));
    EXPECT_EQ(Written()[0].size(), 43);
}

TEST_F(EepromTransferTest, SixteenFFIntoRow00EndsWithF3) {
    transfer.Start(EepromOperation::Write, EepromLength::UpTo0AF);
    EXPECT_EQ(Written()[0], QStringLiteral("%EE=00010") + QString(32, QLatin1Char('F')) + "F3");
}

TEST_F(EepromTransferTest, AnInvalidCellStopsWriteAndVerifyBeforeAnythingIsSent) {
    image.SetCellAt(3, 11, QStringLiteral("5"));
    for (auto op : {EepromOperation::Write, EepromOperation::Verify}) {
        EXPECT_FALSE(transfer.Start(op, EepromLength::SelectedRow));
        EXPECT_EQ(LastBox(), QStringLiteral("¡ La dirección 02A contiene un dato erroneo !"));
    }
    EXPECT_TRUE(port.written.isEmpty());
    EXPECT_EQ(frame.busyCount, 0);
    EXPECT_EQ(outcome, TransferOutcome::InvalidImage);
}

TEST_F(EepromTransferTest, ARefusalAsksForTheSameRowAndTheCountStartsAgainAfterAnAcceptance) {
    transfer.Start(EepromOperation::Read, EepromLength::Whole);
    for (int row = 0; row < 5; ++row) {
        clock.Advance(10);
        port.AnswerLast();
    }
    service.RefuseNext(1);
    port.AnswerLast();  // row 05 refused
    EXPECT_EQ(frame.StatusFieldText(StatusPage::Eeprom, StatusField::Errors), QStringLiteral("1"));
    EXPECT_EQ(transfer.ErrorCount(), 1);
    EXPECT_TRUE(Written().last().startsWith(QStringLiteral("%EE?05010")));
    port.AnswerLast();  // row 05 accepted
    EXPECT_TRUE(Written().last().startsWith(QStringLiteral("%EE?06010")));
    EXPECT_EQ(transfer.ErrorCount(), 0);
    EXPECT_EQ(frame.StatusFieldText(StatusPage::Eeprom, StatusField::Errors), QStringLiteral("1"));
    RunToEnd();
    EXPECT_EQ(outcome, TransferOutcome::Success);
}

TEST_F(EepromTransferTest, TenRefusalsInARowEndWithTheRetryLimitAndKeepTheRowsRead) {
    transfer.Start(EepromOperation::Read, EepromLength::Whole);
    for (int row = 0; row < 3; ++row) port.AnswerLast();
    service.RefuseNext(10);
    RunToEnd();
    EXPECT_EQ(port.written.size(), 3 + 10);
    EXPECT_EQ(outcome, TransferOutcome::RetryLimit);
    EXPECT_EQ(frame.boxes.last().kind, BoxKind::Error);
    EXPECT_EQ(LastBox(),
              QStringLiteral("Se ha llegado al limite de reintentos. \n\rContacte con el "
                             "autor de este programa."));
    EXPECT_EQ(image.RowText(2),
              QString::fromLatin1(decoder.Eeprom().mid(32, 16).toHex().toUpper()));
    EXPECT_EQ(image.RowText(3), QString(32, QLatin1Char('F')));
    const QStringList shown = frame.errorHistory[StatusPage::Eeprom];
    EXPECT_EQ(shown.mid(shown.size() - 3), (QStringList{"9", "10", ""}));  // then cleared
    EXPECT_FALSE(frame.busy);
}

TEST_F(EepromTransferTest, NineRefusalsAreStillRetried) {
    transfer.Start(EepromOperation::Write, EepromLength::Whole);
    service.RefuseNext(9);
    RunToEnd();
    EXPECT_EQ(outcome, TransferOutcome::Success);
    EXPECT_EQ(port.written.size(), 128 + 9);
}

TEST_F(EepromTransferTest, VerificationLogsEachRowAndReportsADifferenceOnlyInTheLog) {
    image.PutImageBytes(decoder.Eeprom(), 0, 2048);
    image.SetCell(0x13, QStringLiteral("00") == image.Cell(0x13) ? QStringLiteral("01")
                                                                 : QStringLiteral("00"));
    transfer.Start(EepromOperation::Verify, EepromLength::UpTo0AF);
    RunToEnd();
    const QStringList log = frame.Log(LogPane::Eeprom);
    const QStringList verdicts = log.filter(QRegularExpression("^(Línea|¡ Esta)"));
    ASSERT_EQ(verdicts.size(), 11);
    EXPECT_EQ(verdicts[0], QStringLiteral("Línea verificada."));
    EXPECT_EQ(verdicts[1], QStringLiteral("¡ Esta línea no es igual que la original !"));
    EXPECT_EQ(verdicts[2], QStringLiteral("Línea verificada."));
    EXPECT_EQ(transfer.MismatchedRows(), QList<int>{1});
    EXPECT_EQ(frame.boxes.last().kind, BoxKind::Information);
    EXPECT_EQ(
        LastBox(),
        QStringLiteral("¡ Verificación completada !\n\rLos resultados se encuentran en el log."));
    EXPECT_EQ(port.written.size(), 11);  // a difference is not retried
}

TEST_F(EepromTransferTest, VerificationRetryLimitUsesTheAccentedText) {
    transfer.Start(EepromOperation::Verify, EepromLength::Whole);
    service.RefuseNext(10);
    RunToEnd();
    EXPECT_TRUE(
        LastBox().startsWith(QStringLiteral("Se ha llegado al límite de reintentos. \n\r")));
}

TEST_F(EepromTransferTest, ASingleRowTransferUsesTheSelectedRow) {
    editing.CellSelected(0x12);  // grid row 18 is EEPROM row 11
    transfer.Start(EepromOperation::Read, EepromLength::SelectedRow);
    RunToEnd();
    ASSERT_EQ(port.written.size(), 1);
    EXPECT_EQ(Written()[0], QStringLiteral("%EE?11010") + Written()[0].right(2));
    EXPECT_EQ(image.RowText(0x11),
              QString::fromLatin1(decoder.Eeprom().mid(0x110, 16).toHex().toUpper()));
    EXPECT_EQ(outcome, TransferOutcome::Success);
}

TEST_F(EepromTransferTest, ARefusedSingleRowIsReportedAsARefusalNotASuccess) {
    transfer.Start(EepromOperation::Write, EepromLength::SelectedRow);
    service.RefuseNext(1);
    RunToEnd();
    EXPECT_EQ(port.written.size(), 1);
    EXPECT_EQ(outcome, TransferOutcome::RetryLimit);
    EXPECT_EQ(frame.boxes.last().kind, BoxKind::Error);
    EXPECT_FALSE(frame.busy);
}

TEST_F(EepromTransferTest, NoReplyEndsTheTransferAfterFifteenSeconds) {
    service.SetSilent(true);
    frame.SetProgress(StatusPage::Eeprom, 3);
    transfer.Start(EepromOperation::Read, EepromLength::Whole);
    clock.Advance(14999);
    EXPECT_TRUE(transfer.Running());
    EXPECT_TRUE(frame.busy);
    clock.Advance(1);
    EXPECT_FALSE(transfer.Running());
    EXPECT_FALSE(frame.busy);
    EXPECT_EQ(outcome, TransferOutcome::NoReply);
    EXPECT_EQ(frame.Log(LogPane::Eeprom).last(),
              QStringLiteral("¡ No hay respuesta del decodificador en ese puerto serie !"));
    EXPECT_EQ(LastBox(), Msg(43) + "\r\n" + Msg(44));
    EXPECT_EQ(frame.Progress(StatusPage::Eeprom), 0);
    EXPECT_EQ(link.currentRow, 0);
    EXPECT_EQ(refreshes, 0);  // the fields are not refreshed after a time-out
    EXPECT_FALSE(link.AwaitingReply());
}

TEST_F(EepromTransferTest, AReplyWithoutItsCarriageReturnEndsByTimeOut) {
    transfer.Start(EepromOperation::Read, EepromLength::Whole);
    clock.Advance(10000);
    port.Deliver("$!C0");  // the rest never comes
    clock.Advance(10000);
    EXPECT_TRUE(transfer.Running());  // the time-out counts from the last character
    port.Deliver("0011");
    clock.Advance(14999);
    EXPECT_TRUE(transfer.Running());
    clock.Advance(1);
    EXPECT_EQ(outcome, TransferOutcome::NoReply);
    EXPECT_FALSE(frame.busy);
    EXPECT_EQ(link.ReplyBuffer(), QString());  // the broken reply does not run into the next one
}

TEST_F(EepromTransferTest, ALineAfterTheEndGoesToTheTerminalNotIntoRowZero) {
    transfer.Start(EepromOperation::Read, EepromLength::UpTo0AF);
    RunToEnd();
    const int sent = static_cast<int>(port.written.size());
    const QString before = image.RowText(0);
    port.Deliver("$!C0" + QByteArray(32, '0') + "\r");
    EXPECT_EQ(image.RowText(0), before);
    EXPECT_EQ(port.written.size(), sent);
    EXPECT_EQ(frame.Log(LogPane::Terminal).last(),
              QStringLiteral("$!C0") + QString(32, QLatin1Char('0')) + "\r");
    EXPECT_EQ(link.OperationMode(), kEepromReadFirst);  // the mode itself stays
}

TEST_F(EepromTransferTest, APortThatCannotBeOpenedEndsAtOnce) {
    port.open = false;
    port.failOpen = true;
    EXPECT_FALSE(transfer.Start(EepromOperation::Read, EepromLength::Whole));
    EXPECT_EQ(outcome, TransferOutcome::LinkError);
    EXPECT_FALSE(frame.busy);
    EXPECT_EQ(frame.endBusyCount, 1);
    EXPECT_EQ(LastBox(), QStringLiteral("ttyS0: Permission denied"));
    EXPECT_FALSE(link.AwaitingReply());
}

TEST_F(EepromTransferTest, AWriteThatFailsEndsAtOnce) {
    transfer.Start(EepromOperation::Read, EepromLength::Whole);
    port.failWrite = true;
    port.AnswerLast();
    EXPECT_EQ(outcome, TransferOutcome::LinkError);
    EXPECT_FALSE(frame.busy);
    EXPECT_FALSE(link.AwaitingReply());
    clock.Advance(20000);
    EXPECT_EQ(frame.boxes.size(), 1);  // no time-out box after it
}

TEST_F(EepromTransferTest, EachCommandPurgesThePort) {
    transfer.Start(EepromOperation::Read, EepromLength::UpTo0AF);
    RunToEnd();
    EXPECT_EQ(port.purges, 11);
}

}  // namespace
}  // namespace velarix
