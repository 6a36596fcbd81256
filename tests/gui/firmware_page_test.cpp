#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include "eeprom_page.h"
#include "firmware_page.h"
#include "log_memo.h"
#include "lpt/firmware_upload.h"
#include "parallel_firmware_controls.h"
#include "sample_tables.h"
#include "shell/message_table.h"
#include "sim_parallel_port.h"
#include "status_panel.h"
#include "test_files.h"
#include "tuning_page.h"
#include "virtual_scheduler.h"
#include "window_doubles.h"
#include "wired_decoder.h"

namespace velarix {
namespace {

using test::TestWindow;
using test::WindowOptions;

// The page as a person uses it: clicks and keys on its controls, with the
// simulated decoder on both cables (its service port on a pseudo-terminal,
// its parallel port in process), all on one virtual clock.
struct FirmwarePageTest : ::testing::Test {
    VirtualClock clock;
    sim::WiredDecoder rig{test::VirtualScheduler(clock)};
    QTemporaryDir dir;

    WindowOptions Options(const QString& lpt = QStringLiteral("sim")) {
        WindowOptions options;
        options.pseudoTerminal = rig.servicePort.Path();
        options.clock = &clock;
        options.lptSpec = lpt;
        options.simPort = [this] { return std::make_unique<SimParallelPort>(rig.pcPort); };
        return options;
    }
    void SetUp() override {
        if (!rig.servicePort.IsOpen()) GTEST_SKIP() << "no pseudo-terminal on this machine";
    }
    static gui::ParallelFirmwareControls& Controls(TestWindow& w) {
        return *w.form.ParallelFirmwareChoices();
    }
    static void Show(TestWindow& w) {
        w.form.show();
        w.form.Pages()->setCurrentWidget(w.form.ParallelFirmware());
        QApplication::processEvents();
    }
    static void Click(QWidget* widget) {
        QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(8, widget->height() / 2));
    }
    QString File(const QByteArray& bytes) { return test::PutFile(dir.filePath("fw.bin"), bytes); }
    static QByteArray Image(int size) {
        QByteArray image(size, '\0');
        for (int i = 0; i < size; ++i) image[i] = static_cast<char>(i * 13 + (i >> 8));
        return image;
    }
};

TEST_F(FirmwarePageTest, TheControlsCarryTheirCaptionsAndTheSettingsChoices) {
    TestWindow w(Options());
    auto& c = Controls(w);
    EXPECT_EQ(c.sendButton->text(), "Enviar");
    EXPECT_EQ(c.checkButton->text(), "Comprobar LPT");
    EXPECT_EQ(c.phase12->text(), "Envío con fase 1 y 2");
    EXPECT_EQ(c.progress->text(), "Mostrar Progreso");
    EXPECT_EQ(c.commands[2]->text(), "FL (K6003, K7003 o K2501)");
    EXPECT_EQ(c.sources[0]->text(), "Tabla canales FLASH");
    EXPECT_EQ(w.form.findChild<QGroupBox*>("GroupBox4")->title(), "Comando");
    EXPECT_EQ(w.form.findChild<QLabel*>("Label18")->text(), "Dirección : ");
    EXPECT_EQ(c.address->currentText(), "7FE00000");
    EXPECT_TRUE(c.commands[0]->isChecked());
    EXPECT_TRUE(c.phase12->isChecked());
    EXPECT_TRUE(c.sources[1]->isChecked());
}

TEST_F(FirmwarePageTest, ChoosingFFF82000SelectsPlAndClearsThePhasesWhichThePersonMayChangeBack) {
    TestWindow w(Options());
    Show(w);
    auto& c = Controls(w);
    c.address->setFocus();
    for (int i = 0; i < 3; ++i) QTest::keyClick(c.address, Qt::Key_Down);
    EXPECT_EQ(c.address->currentText(), "FFF82000");
    EXPECT_TRUE(c.commands[1]->isChecked());
    EXPECT_FALSE(c.phase12->isChecked());
    EXPECT_EQ(w.form.CurrentSettings().firmwareCommand, 1);
    EXPECT_EQ(w.form.CurrentSettings().firmwareAddress, 3);
    Click(c.phase12);
    Click(c.commands[0]);
    EXPECT_TRUE(w.form.CurrentSettings().phase12);
    EXPECT_EQ(w.form.CurrentSettings().firmwareCommand, 0);
    // What is selected at send time goes out.
    w.dialogs.answers.push_back({File(Image(16)), 1});
    Click(c.sendButton);
    ASSERT_TRUE(clock.RunUntil([&] { return !w.boxes.shown.isEmpty(); }, 10 * 60000));
    const QStringList log = w.form.ParallelFirmware()->Log()->Lines();
    EXPECT_TRUE(log.first().startsWith("%DL=FFF82000"));
    EXPECT_TRUE(log.contains(Msg(38)));
    EXPECT_TRUE(log.contains("%DL?C8"));
    EXPECT_EQ(w.boxes.shown.last().text, Msg(41));
    ASSERT_TRUE(w.form.SaveSettingsNow() == std::nullopt);
    const QByteArray ini = test::FileContents(w.settingsFolder.filePath("Velarix.ini"));
    EXPECT_TRUE(ini.contains("FirmDireccion=3"));
    EXPECT_TRUE(ini.contains("FirmComando1=1"));
    EXPECT_TRUE(ini.contains("Fase1y2=1"));
}

TEST_F(FirmwarePageTest, TypingIntoTheAddressBoxKeepsEightUpperCaseHexadecimalDigits) {
    TestWindow w(Options());
    Show(w);
    QLineEdit* edit = Controls(w).address->lineEdit();
    edit->selectAll();
    QTest::keyClicks(edit, "7fe0-zz0000123");
    EXPECT_EQ(Controls(w).AddressText(), "7FE00000");
}

TEST_F(FirmwarePageTest, EnviarUploadsTheChosenFileAndTheDecoderVerifiesIt) {
    TestWindow w(Options());
    Show(w);
    const QByteArray image = Image(30000);
    w.dialogs.answers.push_back({File(image), 1});
    Click(Controls(w).sendButton);
    EXPECT_EQ(w.dialogs.filtersAsked.last(), Msg(227));
    EXPECT_FALSE(Controls(w).sendButton->isEnabled());  // busy until the decoder answers
    ASSERT_TRUE(clock.RunUntil([&] { return !w.boxes.shown.isEmpty(); }, 10 * 60000));
    EXPECT_EQ(w.boxes.shown.last().text, Msg(41));
    EXPECT_EQ(rig.loader.Received(), image);
    EXPECT_EQ(rig.decoder.Flash(0).Bytes().left(image.size()), image);
    EXPECT_TRUE(Controls(w).sendButton->isEnabled());
    EXPECT_TRUE(w.form.ParallelFirmware()->Status()->Field(StatusField::Task).isEmpty());
    EXPECT_EQ(w.form.ParallelFirmware()->Progress()->value(), 0);
    const QStringList log = w.form.ParallelFirmware()->Log()->Lines();
    EXPECT_TRUE(log.contains(Msg(71) + ": sim"));
    EXPECT_TRUE(log.contains(Msg(28) + "DNA"));
    EXPECT_EQ(log.last(), "$.C0");
}

TEST_F(FirmwarePageTest, AFileThatCannotBeReadIsToldAndNothingIsSent) {
    TestWindow w(Options());
    Show(w);
    w.dialogs.answers.push_back({dir.filePath("missing.bin"), 1});
    Click(Controls(w).sendButton);
    ASSERT_EQ(w.boxes.shown.size(), 1);
    EXPECT_TRUE(w.boxes.shown[0].text.startsWith(dir.filePath("missing.bin") + ": "));
    EXPECT_TRUE(rig.servicePort.Received().isEmpty());
    EXPECT_TRUE(Controls(w).sendButton->isEnabled());
}

// "Tabla canales FLASH" sends the table the "Sintonización" page holds: none
// loaded, or a RAM table, is told; a flash table read there goes whole.
TEST_F(FirmwarePageTest, TheFlashTableSourceSendsTheTableTheTuningPageHolds) {
    TestWindow w(Options());
    Show(w);
    Click(Controls(w).sources[0]);
    EXPECT_EQ(w.form.CurrentSettings().firmwareSource, 0);
    Click(Controls(w).sendButton);
    ASSERT_EQ(w.boxes.shown.size(), 1);
    EXPECT_EQ(w.boxes.shown[0].text, "¡ No hay ninguna lista de canales cargada !");

    auto readTable = [&](const QByteArray& bytes, int type) {
        w.form.Pages()->setCurrentWidget(w.form.Tuning());
        w.dialogs.answers.push_back({test::PutFile(dir.filePath("table.bin"), bytes), type});
        Click(w.form.Tuning()->readButton);
        w.form.Pages()->setCurrentWidget(w.form.ParallelFirmware());
    };
    readTable(sim::RamTable(), 2);
    Click(Controls(w).sendButton);
    EXPECT_EQ(w.boxes.shown.last().text, "¡ La lista de canales en memoria no tiene transpondedores !");
    EXPECT_TRUE(rig.servicePort.Received().isEmpty());

    const QByteArray flash = sim::FlashImage();
    readTable(flash, 1);
    Click(Controls(w).sendButton);
    ASSERT_TRUE(clock.RunUntil([&] { return w.boxes.shown.size() == 3; }, 10 * 60000));
    EXPECT_EQ(w.boxes.shown.last().text, Msg(41));
    EXPECT_EQ(rig.loader.Received(), flash);  // rebuilt in place: the same bytes
}

// Settings that choose neither source send nothing, even with a table loaded.
TEST_F(FirmwarePageTest, WithNeitherSourceChosenNothingIsSent) {
    WindowOptions options = Options();
    options.settingsFile = "[TForm1]\r\nUsar-firm-p+s-flash=0\r\nUsar-firm-p+s-archivo=0\r\n";
    TestWindow w(options);
    Show(w);
    EXPECT_FALSE(Controls(w).sources[0]->isChecked());
    EXPECT_FALSE(Controls(w).sources[1]->isChecked());
    w.form.Pages()->setCurrentWidget(w.form.Tuning());
    w.dialogs.answers.push_back({test::PutFile(dir.filePath("t.bin"), sim::FlashImage()), 1});
    Click(w.form.Tuning()->readButton);
    w.form.Pages()->setCurrentWidget(w.form.ParallelFirmware());
    Click(Controls(w).sendButton);
    EXPECT_EQ(w.boxes.shown.last().text, "¡ No hay ninguna lista de canales cargada !");
    EXPECT_TRUE(rig.servicePort.Received().isEmpty());
}

TEST_F(FirmwarePageTest, ComprobarLptAsksTheDecoder) {
    TestWindow w(Options());
    Show(w);
    Click(Controls(w).checkButton);
    ASSERT_TRUE(clock.RunUntil([&] { return !w.boxes.shown.isEmpty(); }, 60000));
    EXPECT_EQ(w.boxes.shown.last().kind, BoxKind::Information);
    EXPECT_EQ(w.boxes.shown.last().text, Msg(381));
    EXPECT_EQ(w.form.ParallelFirmware()->Log()->Lines(), (QStringList{"%PR?C2", "$.C0"}));
}

TEST_F(FirmwarePageTest, APortThatCannotBeOpenedEndsWithItsReasonAndFreesThePages) {
    TestWindow w(Options("unix:" + dir.filePath("nobody")));
    Show(w);
    w.dialogs.answers.push_back({File(Image(10)), 1});
    Click(Controls(w).sendButton);
    ASSERT_TRUE(clock.RunUntil([&] { return !w.boxes.shown.isEmpty(); }, 60000));
    EXPECT_TRUE(w.boxes.shown.last().text.startsWith(Msg(39) + "\r\n" + Msg(387).left(20)));
    EXPECT_TRUE(Controls(w).sendButton->isEnabled());
    EXPECT_TRUE(w.form.Eeprom()->isEnabled());
    // The next attempt opens the port again, and works once it is there.
}

}  // namespace
}  // namespace velarix
