#include <gtest/gtest.h>

#include "recording_frame.h"
#include "shell/transfer_rate.h"

namespace velarix {
namespace {

const QLocale kC = QLocale::c();
const QLocale kSpanish(QLocale::Spanish, QLocale::Spain);

TEST(SpeedText, TwoDecimalsAtMostFiveSignificantDigits) {
    EXPECT_EQ(SpeedText(0, "b/s", kC), QStringLiteral("0.00b/s"));
    EXPECT_EQ(SpeedText(12.3456, "b/s", kC), QStringLiteral("12.35b/s"));
    EXPECT_EQ(SpeedText(123.456, "b/s", kC), QStringLiteral("123.46b/s"));
    EXPECT_EQ(SpeedText(1234.567, "b/s", kC), QStringLiteral("1234.60b/s"));
    EXPECT_EQ(SpeedText(12345.678, "b/s", kC), QStringLiteral("12346.00b/s"));
    EXPECT_EQ(SpeedText(123456.7, "b/s", kC), QStringLiteral("123460.00b/s"));
    EXPECT_EQ(SpeedText(0.004, "b/s", kC), QStringLiteral("0.00b/s"));
}

TEST(SpeedText, UsesTheUsersDecimalSeparator) {
    EXPECT_EQ(SpeedText(853.3333, "b/s", kSpanish), QStringLiteral("853,33b/s"));
    EXPECT_EQ(SpeedText(1234.567, "Kb/seg", kSpanish), QStringLiteral("1234,60Kb/seg"));
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(0.5), 0);
    EXPECT_EQ(RoundHalfEven(1.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(2.5000001), 3);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
}

TEST(ShowTransferRate, WritesSpeedAndSecondsLeft) {
    test::RecordingFrame frame;
    // 32 bytes in 2 s is 16 b/s; 40 bytes left take 2.5 s, shown as 2.
    ShowTransferRate(frame, StatusPage::Eeprom, {32, 40, 2000}, "b/s", "seg", kC);
    EXPECT_EQ(frame.StatusFieldText(StatusPage::Eeprom, StatusField::Speed),
              QStringLiteral("16.00b/s"));
    EXPECT_EQ(frame.StatusFieldText(StatusPage::Eeprom, StatusField::TimeLeft),
              QStringLiteral("2seg"));
    ShowTransferRate(frame, StatusPage::Eeprom, {32, 56, 2000}, "b/s", "seg", kC);  // 3.5 s
    EXPECT_EQ(frame.StatusFieldText(StatusPage::Eeprom, StatusField::TimeLeft),
              QStringLiteral("4seg"));
}

TEST(ShowTransferRate, SpeedZeroKeepsTheTimeLeftText) {
    test::RecordingFrame frame;
    frame.SetStatusField(StatusPage::Eeprom, StatusField::TimeLeft, QStringLiteral("7seg"));
    ShowTransferRate(frame, StatusPage::Eeprom, {16, 2032, 0}, "b/s", "seg", kC);  // same tick
    EXPECT_EQ(frame.StatusFieldText(StatusPage::Eeprom, StatusField::Speed),
              QStringLiteral("0.00b/s"));
    EXPECT_EQ(frame.StatusFieldText(StatusPage::Eeprom, StatusField::TimeLeft),
              QStringLiteral("7seg"));
    ShowTransferRate(frame, StatusPage::Eeprom, {0, 2048, 500}, "b/s", "seg", kC);  // nothing done
    EXPECT_EQ(frame.StatusFieldText(StatusPage::Eeprom, StatusField::TimeLeft),
              QStringLiteral("7seg"));
}

TEST(ClearStatus, EmptiesTheFiveFieldsAndTheProgress) {
    test::RecordingFrame frame;
    frame.SetProgress(StatusPage::FirmwareJtag, 40);
    frame.SetStatusField(StatusPage::FirmwareJtag, StatusField::Task, QStringLiteral("Recibe"));
    frame.SetStatusField(StatusPage::FirmwareJtag, StatusField::TimeLeft, QStringLiteral("3seg"));
    frame.ClearStatus(StatusPage::FirmwareJtag);
    EXPECT_EQ(frame.Progress(StatusPage::FirmwareJtag), 0);
    EXPECT_EQ(frame.StatusFieldText(StatusPage::FirmwareJtag, StatusField::Task), QString());
    EXPECT_EQ(frame.StatusFieldText(StatusPage::FirmwareJtag, StatusField::TimeLeft), QString());
}

}  // namespace
}  // namespace velarix
