#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include "eeprom_page.h"
#include "fields_page.h"
#include "firmware_page.h"
#include "jtag_firmware_controls.h"
#include "jtag_steps.h"
#include "jtag_target.h"
#include "log_memo.h"
#include "pc_parallel_port.h"
#include "picture_page.h"
#include "shell/ini_file.h"
#include "shell/message_table.h"
#include "sim_parallel_port.h"
#include "simulated_decoder.h"
#include "test_files.h"
#include "trap_routine.h"
#include "tuning_page.h"
#include "window_doubles.h"

namespace velarix {
namespace {

using test::TestWindow;
using namespace test::jtag_steps;
using test::WindowOptions;

// The simulated decoder on the JTAG cable of the window's port.
struct Decoder {
    sim::SimulatedDecoder decoder;
    sim::JtagTarget target{decoder};
    sim::PcParallelPort pc;
    Decoder() { pc.AttachJtag(&target); }
    SimPortMaker Port() {
        return
            [this] { return std::unique_ptr<ParallelPort>(std::make_unique<SimParallelPort>(pc)); };
    }
    TrapRoutineReader Trap() {
        return [] { return FileRead{sim::StandInTrapRoutine(), {}}; };
    }
};

struct JtagPageTest : ::testing::Test {
    Decoder sim;

    WindowOptions Options(QByteArray settingsFile = {}) {
        WindowOptions options;
        options.settingsFile = std::move(settingsFile);
        options.lptSpec = QStringLiteral("sim");
        options.simPort = sim.Port();
        options.trapRoutine = sim.Trap();
        return options;
    }
};

TEST_F(JtagPageTest, TypingKeepsUpperCaseHexadecimalDigitsOnly) {
    TestWindow w(Options());
    auto* page = Show(w);
    TypeInto(page->address, "7fe0 0000");
    EXPECT_EQ(page->address->currentText(), QStringLiteral("7FE00000"));
    EXPECT_EQ(w.form.CurrentSettings().jtagAddress, QStringLiteral("7FE00000"));
    TypeInto(page->length, "7g6x00");
    EXPECT_EQ(page->length->currentText(), QStringLiteral("7600"));
}

TEST_F(JtagPageTest, LeavingTheBoxesWithTabAppliesTheirRules) {
    TestWindow w(Options());
    auto* page = Show(w);
    TypeInto(page->address, "40128A03");
    QTest::keyClick(page->address->lineEdit(), Qt::Key_Tab);
    EXPECT_EQ(page->address->currentText(), QStringLiteral("40128A00"));
    TypeInto(page->address, "123456789");
    QTest::keyClick(page->address->lineEdit(), Qt::Key_Tab);
    EXPECT_EQ(page->address->currentText(), QStringLiteral("401289A0"));
    TypeInto(page->length, "0");
    QTest::keyClick(page->length->lineEdit(), Qt::Key_Tab);
    EXPECT_EQ(page->length->currentText(), QStringLiteral("000004"));
    EXPECT_EQ(w.form.CurrentSettings().jtagLength, QStringLiteral("000004"));
}

TEST_F(JtagPageTest, ChoosingADestinationPutsItsRangeInTheBoxes) {
    TestWindow w(Options("[TForm1]\r\nNumCanales=1\r\n"));
    auto* page = Show(w);
    Click(page->destinations[int(ReadDestination::Picture)]);
    EXPECT_EQ(page->address->currentText(), QStringLiteral("C00D0000"));
    EXPECT_EQ(page->length->currentText(), QStringLiteral("98000"));
    Click(page->destinations[int(ReadDestination::RamTable)]);
    EXPECT_EQ(page->address->currentText(), QStringLiteral("401289A0"));
    EXPECT_EQ(page->length->currentText(), QStringLiteral("EC00"));  // "2000" channels
    Click(page->destinations[int(ReadDestination::File)]);           // no range of its own
    EXPECT_EQ(page->address->currentText(), QStringLiteral("401289A0"));
    EXPECT_EQ(w.form.CurrentSettings().jtagSource, int(ReadDestination::File));
}

TEST_F(JtagPageTest, TheCapturedPictureIsReadIntoTheImagenPage) {
    TestWindow w(Options("[TForm1]\r\nTamano=4\r\nFormatoOriginal=1\r\n"));
    auto* page = Show(w);
    Click(page->destinations[int(ReadDestination::Picture)]);
    Click(page->receiveButton);
    EXPECT_EQ(Texts(w), QStringList{"¡ Firmware leído con éxito !"});
    EXPECT_EQ(w.form.Pages()->currentWidget(), w.form.Picture());
    EXPECT_TRUE(w.form.Picture()->saveButton->isEnabled());
    const QImage picture = w.form.ShownPicture();
    ASSERT_EQ(picture.size(), QSize(720, 576));
    // Eight bars, white to black, over a grey ramp.
    EXPECT_EQ(picture.pixelColor(45, 100), QColor(255, 255, 255));
    const QColor yellow = picture.pixelColor(135, 100);
    EXPECT_GT(yellow.red(), 200);
    EXPECT_GT(yellow.green(), 200);
    EXPECT_LT(yellow.blue(), 40);
    EXPECT_EQ(picture.pixelColor(675, 100), QColor(0, 0, 0));
    EXPECT_LT(picture.pixelColor(10, 500).red(), picture.pixelColor(700, 500).red());
    EXPECT_TRUE(w.form.JtagControls()->receiveButton->isEnabled());
    EXPECT_EQ(w.form.JtagFirmware()->Status()->Field(StatusField::Task), QString());
}

// The decoder's working channel table read from RAM becomes the table of the
// "Sintonización" page: the names are the records' first bytes, as the
// decoder holds them.
TEST_F(JtagPageTest, TheRamChannelTableIsReadIntoTheTuningPage) {
    TestWindow w(Options());
    auto* page = Show(w);
    Click(page->destinations[int(ReadDestination::RamTable)]);
    Click(page->receiveButton);
    EXPECT_EQ(Texts(w), QStringList{"¡ Firmware leído con éxito !"});
    const QByteArray ram = sim.decoder.Ram().mid(0x1289A0, 0x7600);
    auto* grid = w.form.Tuning()->ChannelGrid();
    for (int record : {0, 1, 5}) {
        const QByteArray name = ram.mid(record * 30, 16);
        EXPECT_EQ(grid->model()->index(record, 0).data().toString(),
                  QString::fromLatin1(name.left(name.indexOf('\0') < 0 ? 16 : name.indexOf('\0'))))
            << record;
    }
    EXPECT_TRUE(w.form.Tuning()->saveButton->isEnabled());
    EXPECT_TRUE(w.form.Tables().RamMode());
}

TEST_F(JtagPageTest, TheEepromIsReadIntoTheImageAndTheEepromPageShown) {
    TestWindow w(Options());
    auto* page = Show(w);
    Click(page->destinations[int(ReadDestination::Eeprom)]);
    Click(page->receiveButton);
    EXPECT_EQ(Texts(w), QStringList{"¡ Eeprom leída con éxito !"});
    EXPECT_EQ(w.form.Image().GetImageBytes(), sim.decoder.Eeprom());
    EXPECT_EQ(w.form.Pages()->currentWidget(), w.form.Eeprom());
}

TEST_F(JtagPageTest, ARangeTheDestinationRefusesIsReportedAsTyped) {
    TestWindow w(Options());
    auto* page = Show(w);
    Click(page->destinations[int(ReadDestination::Eeprom)]);
    TypeInto(page->address, "7f0");
    TypeInto(page->length, "20");
    Click(page->receiveButton);
    EXPECT_EQ(Texts(w), QStringList{"¡ Dirección o longitud incorrecta !"});
    EXPECT_EQ(page->address->currentText(), QStringLiteral("000007F0"));  // left by the click
    EXPECT_TRUE(w.form.JtagControls()->receiveButton->isEnabled());
}

TEST_F(JtagPageTest, AFileIsAskedForFirstAndGetsTheLengthRead) {
    TestWindow w(Options());
    auto* page = Show(w);
    QTemporaryDir dir;
    Click(page->destinations[int(ReadDestination::File)]);
    TypeInto(page->address, "7FE00004");
    TypeInto(page->length, "4");
    Click(page->receiveButton);  // cancelled: nothing happens
    EXPECT_EQ(w.dialogs.filtersAsked, QStringList{Msg(208)});
    EXPECT_TRUE(w.form.JtagFirmware()->Log()->toPlainText().isEmpty());
    w.dialogs.answers.push_back({dir.filePath("four.bin"), 1});
    Click(page->receiveButton);
    EXPECT_EQ(test::FileContents(dir.filePath("four.bin")), sim.decoder.Flash(0).Bytes().mid(4, 4));
}

TEST_F(JtagPageTest, CodigoDeLaCpuLogsTheIdentification) {
    TestWindow w(Options());
    auto* page = Show(w);
    Click(page->identifyButton);
    const QString log = w.form.JtagFirmware()->Log()->toPlainText();
    EXPECT_TRUE(
        log.contains("Código de la CPU (IDCODE) : 2D0C9041\nFabricante : "
                     "STMicroelectronics\nFamilia : ST20\nVariante : STi5500\nRevisión : 2"))
        << log.toStdString();
}

TEST_F(JtagPageTest, WithoutAPortTheTaskEndsAtOnce) {
    TestWindow w;  // no parallel port at all
    auto* page = Show(w);
    Click(page->destinations[int(ReadDestination::Picture)]);
    Click(page->receiveButton);
    ASSERT_EQ(w.boxes.shown.size(), 1);
    EXPECT_TRUE(w.boxes.shown[0].text.startsWith("No se ha podido abrir el puerto paralelo."));
    EXPECT_TRUE(w.form.JtagControls()->receiveButton->isEnabled());
}

TEST_F(JtagPageTest, TheBoxesAndTheDestinationAreSettings) {
    TestWindow w(
        Options("[TForm1]\r\nDirecJtag=C0168000\r\nLongJtag=1000\r\nUsar-firm-jtag-eeprom=1\r\n"
                "Usar-firm-jtag-archivo=0\r\n"));
    auto* page = Show(w);
    EXPECT_EQ(page->address->currentText(), QStringLiteral("C0168000"));
    EXPECT_EQ(page->length->currentText(), QStringLiteral("1000"));
    EXPECT_TRUE(page->destinations[int(ReadDestination::Eeprom)]->isChecked());
    Click(page->destinations[int(ReadDestination::Picture)]);
    ASSERT_FALSE(w.form.SaveSettingsNow());
    const TIniFile32 saved(w.settingsFolder.filePath("Velarix.ini"));
    EXPECT_EQ(saved.ReadString("TForm1", "DirecJtag", ""), QStringLiteral("C00D0000"));
    EXPECT_EQ(saved.ReadString("TForm1", "LongJtag", ""), QStringLiteral("98000"));
    EXPECT_TRUE(saved.ReadBool("TForm1", "Usar-firm-jtag-imagen", false));
    EXPECT_FALSE(saved.ReadBool("TForm1", "Usar-firm-jtag-eeprom", true));
}

}  // namespace
}  // namespace velarix
