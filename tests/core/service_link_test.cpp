#include <gtest/gtest.h>

#include "recording_frame.h"
#include "scripted_port.h"
#include "serial/link_port.h"
#include "serial/service_link.h"
#include "serial/terminal.h"
#include "shell/message_table.h"

namespace velarix {
namespace {

// Records what reaches an operation.
struct RecordingOwner : ReplyOwner {
    QStringList replies;
    int timeouts = 0;
    QStringList errors;
    void HandleReply(const QString& line) override { replies << line; }
    void HandleTimeout() override { ++timeouts; }
    void HandleLinkError(const QString& reason) override { errors << reason; }
};

struct ServiceLinkTest : ::testing::Test {
    VirtualClock clock;
    test::RecordingFrame frame;
    test::ScriptedPort port;
    ServiceLink link{port, clock, frame};
    RecordingOwner eeprom, firmware, check;
    Terminal terminal{link, frame};

    ServiceLinkTest() {
        link.SetOwner(OwnerKind::Eeprom, &eeprom);
        link.SetOwner(OwnerKind::Firmware, &firmware);
        link.SetOwner(OwnerKind::PortCheck, &check);
    }
};

TEST_F(ServiceLinkTest, TwoLinesInOneArrivalAreHandedOverAsOne) {
    link.BeginOperation(kEepromRead);
    link.SendCommand("%EE?00010F1");
    port.Deliver("$?C0\r$!C0\r");
    ASSERT_EQ(eeprom.replies.size(), 1);
    EXPECT_EQ(eeprom.replies[0], QStringLiteral("$?C0\r$!C0\r"));
}

TEST_F(ServiceLinkTest, ALoneCarriageReturnWaitsForTheNextReply) {
    link.BeginOperation(kEepromRead);
    link.SendCommand("%EE?00010F1");
    port.Deliver("\r");
    EXPECT_TRUE(eeprom.replies.isEmpty());
    port.Deliver("$!C0");
    port.Deliver("12\r");
    ASSERT_EQ(eeprom.replies.size(), 1);
    EXPECT_EQ(eeprom.replies[0], QStringLiteral("\r$!C012\r"));
    EXPECT_EQ(link.ReplyBuffer(), QString());
}

TEST_F(ServiceLinkTest, RepliesGoToTheOwnerOfTheRunningOperation) {
    const struct {
        std::uint8_t mode;
        RecordingOwner* owner;
    } cases[] = {{kEepromRead, &eeprom},
                 {kEepromWriteRow, &eeprom},
                 {kEepromVerifyRow, &eeprom},
                 {kFirmwareUpload, &firmware},
                 {kPortCheck, &check}};
    for (const auto& c : cases) {
        link.BeginOperation(c.mode);
        port.Deliver("$!C0\r");
        EXPECT_EQ(c.owner->replies.size(), 1) << int(c.mode);
        c.owner->replies.clear();
        link.EndOperation();
    }
}

TEST_F(ServiceLinkTest, LinesNoOperationClaimsGoToTheTerminalLog) {
    port.Deliver("BOOT OK\r");  // before any operation
    link.BeginOperation(kTerminal);
    port.Deliver("$?C0\r");
    EXPECT_EQ(frame.Log(LogPane::Terminal), (QStringList{"BOOT OK\r", "$?C0\r"}));
    EXPECT_TRUE(eeprom.replies.isEmpty());
}

TEST_F(ServiceLinkTest, SendCommandLogsTheLineWhereItsModeBelongs) {
    link.BeginOperation(kEepromReadFirst);
    link.currentRow = 0x0A;
    link.SendCommand("%EE?0A01080");
    EXPECT_EQ(frame.StatusFieldText(StatusPage::Eeprom, StatusField::Address),
              QStringLiteral("0A0"));
    EXPECT_EQ(frame.Log(LogPane::Eeprom), QStringList{"%EE?0A01080"});
    EXPECT_EQ(frame.Log(LogPane::Terminal), QStringList{"%EE?0A01080"});
    link.BeginOperation(kPortCheck);
    link.SendCommand("%PR?C2");
    EXPECT_EQ(frame.Log(LogPane::Firmware), QStringList{"%PR?C2"});
    EXPECT_EQ(frame.Log(LogPane::Terminal).size(), 2);
    EXPECT_EQ(port.written.last(), QByteArray("%PR?C2"));
    EXPECT_EQ(port.purges, 2);
}

TEST_F(ServiceLinkTest, TheTimeOutRunsTheOwnersHandlingThenEndsBusy) {
    link.BeginOperation(kFirmwareUpload);
    frame.BeginBusy();
    link.SendCommand("%DL?C8");
    clock.Advance(ServiceLink::kReplyTimeoutMs);
    EXPECT_EQ(firmware.timeouts, 1);
    EXPECT_FALSE(frame.busy);
    EXPECT_FALSE(link.AwaitingReply());
}

TEST_F(ServiceLinkTest, AnyCharacterHoldsOffTheTimeOutForAnotherFifteenSeconds) {
    link.BeginOperation(kEepromRead);
    link.SendCommand("%EE?00010F1");
    clock.Advance(14000);
    port.Deliver("$");
    clock.Advance(14000);
    EXPECT_EQ(eeprom.timeouts, 0);
    clock.Advance(1000);
    EXPECT_EQ(eeprom.timeouts, 1);
}

TEST_F(ServiceLinkTest, CharactersThatNobodyWaitsForArmNoTimeOut) {
    port.Deliver("noise");
    clock.Advance(60000);
    EXPECT_EQ(eeprom.timeouts, 0);
    EXPECT_TRUE(frame.boxes.isEmpty());
}

TEST_F(ServiceLinkTest, TerminalSendsTheChecksumWhenAsked) {
    EXPECT_TRUE(terminal.Send("%EE"));
    EXPECT_EQ(port.written.last(), QByteArray("%EEFF"));
    EXPECT_EQ(frame.Log(LogPane::Terminal).last(), QStringLiteral("%EEFF"));
    EXPECT_EQ(link.OperationMode(), kTerminal);
    terminal.addChecksum = false;
    terminal.Send("hello world");
    EXPECT_EQ(port.written.last(), QByteArray("hello world"));
}

TEST_F(ServiceLinkTest, AnEmptyTerminalLineSendsNothingAndKeepsTheMode) {
    link.BeginOperation(kEepromVerify);
    link.EndOperation();
    EXPECT_FALSE(terminal.Send(""));
    EXPECT_TRUE(port.written.isEmpty());
    EXPECT_EQ(link.OperationMode(), kEepromVerify);
}

TEST_F(ServiceLinkTest, TerminalLinesArriveWholeAndTimeOutsOnlyLog) {
    terminal.Send("%EE");
    port.Deliver("$?");
    EXPECT_TRUE(frame.Log(LogPane::Terminal).size() == 1);
    port.Deliver("C0\r");
    EXPECT_EQ(frame.Log(LogPane::Terminal).last(), QStringLiteral("$?C0\r"));
    terminal.Send("%EE");
    clock.Advance(ServiceLink::kReplyTimeoutMs);
    EXPECT_EQ(frame.Log(LogPane::Terminal).last(), Msg(43));
    EXPECT_TRUE(frame.boxes.isEmpty());
}

// However long a reply runs without its carriage return, the link holds no
// more than a reply can be; the flood ends as a failed reply, which an owner
// that does not handle it takes as a time-out.
TEST_F(ServiceLinkTest, AFloodWithoutCarriageReturnIsCutOffAsAFailedReply) {
    link.BeginOperation(kFirmwareUpload);
    frame.BeginBusy();
    link.SendCommand("%DL?C8");
    for (int i = 0; i < 1024; ++i) {
        port.Deliver(QByteArray(1000, 'U'));
        ASSERT_LE(link.ReplyBuffer().size(), ServiceLink::kMaxReplyLength);
    }
    EXPECT_GE(firmware.timeouts, 1);
    EXPECT_FALSE(frame.busy);
    EXPECT_FALSE(link.AwaitingReply());
    EXPECT_TRUE(firmware.replies.isEmpty());
}

TEST_F(ServiceLinkTest, TheTerminalLogsAFloodAndGoesOn) {
    terminal.Send("%EE");
    port.Deliver(QByteArray(ServiceLink::kMaxReplyLength + 1, 'U'));
    EXPECT_EQ(frame.Log(LogPane::Terminal).last(), Msg(431));
    EXPECT_TRUE(link.ReplyBuffer().isEmpty());
    port.Deliver("$!C0\r");
    EXPECT_EQ(frame.Log(LogPane::Terminal).last(), QStringLiteral("$!C0\r"));
    EXPECT_TRUE(frame.boxes.isEmpty());
}

}  // namespace
}  // namespace velarix

namespace velarix {
namespace {

// A port the user may not open says which group to join; other failures
// give the system's reason alone.
TEST(SerialOpenFailureTest, APermissionRefusalNamesTheDialoutGroup) {
    const QString denied =
        SerialOpenFailure("/dev/ttyS0", QSerialPort::PermissionError, "Permission denied");
    EXPECT_TRUE(denied.startsWith("/dev/ttyS0: Permission denied\n"));
    EXPECT_TRUE(denied.contains("No hay permiso para usar /dev/ttyS0"));
    EXPECT_TRUE(denied.contains("grupo dialout"));
    EXPECT_EQ(SerialOpenFailure("/dev/ttyUSB3", QSerialPort::DeviceNotFoundError, "No such file"),
              "/dev/ttyUSB3: No such file");
}

}  // namespace
}  // namespace velarix
