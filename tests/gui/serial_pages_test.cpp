#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "eeprom_page.h"
#include "log_memo.h"
#include "shell/message_table.h"
#include "status_panel.h"
#include "terminal_page.h"
#include "virtual_scheduler.h"
#include "window_doubles.h"

namespace velarix {
namespace {

using test::TestWindow;

TEST(EepromPage, RecibirReadsTheSimulatedDecoderOverAPseudoTerminal) {
    VirtualClock clock;
    test::PtyDecoder pty(clock);
    if (!pty.port.IsOpen()) GTEST_SKIP() << "no pseudo-terminal on this machine";
    TestWindow w(pty.Path(), &clock);
    ASSERT_TRUE(w.boxes.shown.isEmpty()) << w.boxes.shown.first().text.toStdString();
    w.form.show();
    w.form.Eeprom()->SubPages()->setCurrentWidget(w.form.Eeprom()->FieldsSubPage());
    w.form.Eeprom()->receiveButton->click();
    EXPECT_FALSE(w.form.Eeprom()->receiveButton->isEnabled());  // busy while it runs
    EXPECT_TRUE(w.form.Eeprom()->Status()->isEnabled());        // watched: readable
    EXPECT_EQ(w.form.Eeprom()->SubPages()->currentWidget(), w.form.Eeprom()->HexSubPage());
    ASSERT_TRUE(clock.RunUntil([&] { return !w.boxes.shown.isEmpty(); }, 60000));
    EXPECT_EQ(w.boxes.shown.last().text, QStringLiteral("¡ Eeprom leída con éxito !"));
    EXPECT_EQ(w.form.Image().GetImageBytes(), pty.decoder.Eeprom());
    EXPECT_TRUE(w.form.Eeprom()->receiveButton->isEnabled());
    auto* log = w.form.findChild<gui::LogMemo*>("Memo1");
    EXPECT_EQ(log->Lines().size(), 256);
    EXPECT_EQ(log->Lines().first(), QStringLiteral("%EE?00010F1"));
}

TEST(EepromPage, TheLengthChoiceAndTheSelectedRowPickTheRows) {
    TestWindow w;
    w.form.Editing().CellSelected(3);
    w.form.Eeprom()->rowChoice->setChecked(true);
    w.form.Eeprom()->sendButton->click();
    ASSERT_EQ(w.port.written.size(), 1);
    EXPECT_TRUE(w.port.written[0].startsWith("%EE=02010"));
    w.port.Deliver("$!C0\r");
    EXPECT_EQ(w.boxes.shown.last().text, QStringLiteral("¡ Eeprom escrita con éxito !"));
    w.form.Eeprom()->firstChoice->setChecked(true);
    w.form.Eeprom()->verifyButton->click();
    EXPECT_TRUE(w.port.written.last().startsWith("%EE?00010"));
}

TEST(EepromPage, NoReplyEndsWithTheTimeOutBoxAndFreesThePages) {
    TestWindow w;
    w.form.Eeprom()->receiveButton->click();
    EXPECT_FALSE(w.form.Terminal()->Input()->isEnabled());
    w.clock.Advance(15000);
    ASSERT_EQ(w.boxes.shown.size(), 1);
    EXPECT_EQ(w.boxes.shown[0].kind, BoxKind::Error);
    EXPECT_EQ(w.boxes.shown[0].text, Msg(43) + "\r\n" + Msg(44));
    EXPECT_TRUE(w.form.Terminal()->Input()->isEnabled());
}

TEST(TerminalPage, EnterSendsTheLineWithItsChecksumAndEmptiesTheField) {
    TestWindow w;
    w.form.show();
    QLineEdit* input = w.form.Terminal()->Input();
    QTest::keyClicks(input, "%EE");
    QTest::keyClick(input, Qt::Key_Return);
    ASSERT_EQ(w.port.written.size(), 1);
    EXPECT_EQ(w.port.written[0], QByteArray("%EEFF"));
    EXPECT_TRUE(input->text().isEmpty());
    w.port.Deliver("$?");
    w.port.Deliver("C0\r");
    auto* log = w.form.findChild<gui::LogMemo*>("Memo2");
    EXPECT_EQ(log->Lines(), (QStringList{"%EEFF", "$?C0"}));
    QTest::keyClick(input, Qt::Key_Return);  // empty: nothing is sent
    EXPECT_EQ(w.port.written.size(), 1);
}

// Types text key by key, characters beyond ASCII too, as a keyboard whose
// layout has them does.
void TypeText(QWidget* widget, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// The line goes out in the Windows code page, a character it lacks as "?",
// and its checksum is that of the very bytes sent: "%" E9 80 gives the
// complement of E9 xor 80 = 69, that is 96.
TEST(TerminalPage, TheChecksumIsThatOfTheBytesSentInTheWindowsCodePage) {
    TestWindow w;
    w.form.show();
    QApplication::setActiveWindow(&w.form);
    w.form.Pages()->setCurrentWidget(w.form.Terminal());
    QLineEdit* input = w.form.Terminal()->Input();
    QTest::mouseClick(input, Qt::LeftButton);
    TypeText(input, QStringLiteral("%\u00E9\u20AC"));
    QTest::keyClick(input, Qt::Key_Return);
    ASSERT_EQ(w.port.written.size(), 1);
    EXPECT_EQ(w.port.written[0], QByteArray("%\xE9\x80"
                                            "96"));
    TypeText(input, QStringLiteral("%\u0109A"));  // not in the code page: "?"
    QTest::keyClick(input, Qt::Key_Return);
    ASSERT_EQ(w.port.written.size(), 2);
    EXPECT_EQ(w.port.written[1], QByteArray("%?A81"));  // ~(3F xor 41) = 81
    auto* log = w.form.findChild<gui::LogMemo*>("Memo2");
    EXPECT_EQ(log->Lines(), (QStringList{QStringLiteral("%\u00E9\u20AC96"), "%?A81"}));
}

}  // namespace
}  // namespace velarix
