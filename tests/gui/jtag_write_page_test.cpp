#include <gtest/gtest.h>

#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include "firmware_page.h"
#include "jtag_firmware_controls.h"
#include "jtag_steps.h"
#include "jtag_target.h"
#include "log_memo.h"
#include "pc_parallel_port.h"
#include "sample_tables.h"
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

const QString kSent = QStringLiteral("¡ Datos enviados con éxito !");

// "Enviar" and "Borrar Chip" of "Firmware (JTag)", driven as a person does,
// against the simulated decoder on the window's JTAG cable. The settings are
// the shipped sample settings: chips of the simulator's kind at 7FE00000h and
// 60000000h.
struct JtagWritePageTest : ::testing::Test {
    sim::SimulatedDecoder decoder;
    sim::JtagTarget target{decoder};
    sim::PcParallelPort pc;
    QTemporaryDir dir;

    JtagWritePageTest() { pc.AttachJtag(&target); }

    WindowOptions Options(QByteArray settingsFile = {}) {
        WindowOptions options;
        options.sampleSettings = true;
        options.settingsFile = std::move(settingsFile);
        options.lptSpec = QStringLiteral("sim");
        options.simPort = [this] {
            return std::unique_ptr<ParallelPort>(std::make_unique<SimParallelPort>(pc));
        };
        options.trapRoutine = [] { return FileRead{sim::StandInTrapRoutine(), {}}; };
        return options;
    }
    static QString Log(TestWindow& w) { return w.form.JtagFirmware()->Log()->toPlainText(); }
    static QStringList Backups(TestWindow& w) {
        return QDir(w.settingsFolder.filePath("backups")).entryList(QDir::Files);
    }
};

TEST_F(JtagWritePageTest, EnviarAndBorrarChipAreThereWithOneCommandChosen) {
    TestWindow w(Options());
    auto* page = Show(w);
    EXPECT_TRUE(page->sendButton->isEnabled());
    EXPECT_TRUE(page->eraseButton->isEnabled());
    EXPECT_EQ(page->sendButton->text(), QStringLiteral("Enviar"));
    EXPECT_EQ(page->eraseButton->text(), QStringLiteral("Borrar Chip"));
    EXPECT_TRUE(page->eraseMethods[0]->isEnabled());
    EXPECT_FALSE(page->eraseMethods[0]->isChecked());
    EXPECT_TRUE(page->eraseMethods[1]->isChecked());
    Click(page->eraseMethods[0]);
    EXPECT_TRUE(page->eraseMethods[0]->isChecked());
    EXPECT_FALSE(page->eraseMethods[1]->isChecked());
}

TEST_F(JtagWritePageTest, EnviarWritesTheFileChosenAtTheAddressTyped) {
    TestWindow w(Options());
    auto* page = Show(w);
    const QByteArray before = decoder.Flash(0).Bytes();
    QByteArray image(0x2000, '\0');
    for (int i = 0; i < image.size(); ++i) image[i] = char(i ^ 0x5A);
    w.dialogs.answers.push_back({test::PutFile(dir.filePath("fw.bin"), image), 1});
    Click(page->destinations[int(ReadDestination::File)]);
    TypeInto(page->address, "7fe04000");
    Click(page->sendButton);
    EXPECT_EQ(w.dialogs.filtersAsked, QStringList{Msg(227)});
    EXPECT_EQ(Texts(w), QStringList{kSent});
    EXPECT_EQ(decoder.Flash(0).Bytes().mid(0x4000, 0x2000), image);
    EXPECT_EQ(decoder.Flash(0).Bytes().left(0x4000), before.left(0x4000));
    EXPECT_EQ(decoder.Flash(0).Bytes().mid(0x6000), before.mid(0x6000));
    const QString log = Log(w);
    EXPECT_TRUE(
        log.contains("Enviando a la dirección : 7FE04000\nAbriendo LPT1\n"
                     "Seleccionado el integrado 1"))
        << log.toStdString();
    EXPECT_TRUE(log.endsWith(kSent + "\nCerrando LPT1"));
    ASSERT_EQ(Backups(w).size(), 1);
    EXPECT_TRUE(Backups(w)[0].endsWith("-chip1-7FE04000.bin"));
    EXPECT_TRUE(w.form.JtagControls()->receiveButton->isEnabled());
    EXPECT_EQ(w.form.JtagFirmware()->Status()->Field(StatusField::Task), QString());

    // Cancelling the dialog sends nothing.
    Click(page->sendButton);
    EXPECT_EQ(Texts(w), QStringList{kSent});
}

TEST_F(JtagWritePageTest, AFailingBlockAsksAndIgnoreEndsWithoutTheSuccessText) {
    target.Faults().stuckFlashAt = 0x7FE04000;
    TestWindow w(Options());
    auto* page = Show(w);
    const QByteArray before = decoder.Flash(0).Bytes();
    const QByteArray image(0x4000, '\x11');
    w.dialogs.answers.push_back({test::PutFile(dir.filePath("fw.bin"), image), 1});
    w.boxes.abortRetryIgnoreAnswers = {AbortRetryIgnore::Ignore};
    Click(page->destinations[int(ReadDestination::File)]);
    TypeInto(page->address, "7FE04000");
    Click(page->sendButton);
    EXPECT_EQ(Texts(w),
              QStringList({"Error en el envio por Jtag.\r\nComprueba que el Interfaz Jtag "
                           "esté bien construido\r\ny que las direcciones Trap y destino "
                           "son las correctas.",
                           Msg(420) + "7FE04000"}));
    EXPECT_EQ(decoder.Flash(0).Bytes().mid(0x4000, 0x2000), before.mid(0x4000, 0x2000));
    EXPECT_EQ(decoder.Flash(0).Bytes().mid(0x6000, 0x2000), image.right(0x2000));
    EXPECT_FALSE(Log(w).contains(kSent));
}

TEST_F(JtagWritePageTest, EnviarWithEepromWritesTheHexEditorsImage) {
    TestWindow w(Options());
    auto* page = Show(w);
    QByteArray bytes(2048, '\0');
    for (int i = 0; i < bytes.size(); ++i) bytes[i] = char(i * 3 + 1);
    w.form.Image().PutImageBytes(bytes, 0, 2048);  // what the hex editor holds
    Click(page->destinations[int(ReadDestination::Eeprom)]);
    Click(page->sendButton);
    EXPECT_EQ(Texts(w), QStringList{"¡ Eeprom escrita con éxito !"});
    EXPECT_EQ(decoder.Eeprom(), bytes);
}

// "Tabla canales FLASH" and "Tabla canales RAM" send the table the
// "Sintonización" page holds: nothing without one, else the flash image into
// chip 2 and the records into RAM, byte for byte as loaded.
TEST_F(JtagWritePageTest, TheChannelTablesOfTheTuningPageAreSent) {
    TestWindow w(Options());
    auto* page = Show(w);
    Click(page->destinations[int(ReadDestination::FlashTable)]);
    Click(page->sendButton);
    EXPECT_EQ(Texts(w), QStringList{"¡ No hay ninguna lista de canales cargada !"});

    auto readTable = [&](const QByteArray& bytes, int type) {
        w.form.Pages()->setCurrentWidget(w.form.Tuning());
        w.dialogs.answers.push_back({test::PutFile(dir.filePath("table.bin"), bytes), type});
        QTest::mouseClick(w.form.Tuning()->readButton, Qt::LeftButton);
        w.form.Pages()->setCurrentWidget(w.form.JtagFirmware());
    };
    sim::FlashLayout layout;
    layout.channelSection = 0x40000;  // not where chip 2 holds its table
    const QByteArray flash = sim::FlashImage(layout);
    readTable(flash, 1);
    Click(page->destinations[int(ReadDestination::FlashTable)]);
    Click(page->sendButton);
    EXPECT_EQ(Texts(w).last(), kSent);
    EXPECT_EQ(decoder.Flash(1).Bytes().left(flash.size()), flash);

    // A RAM table with its first two channels the other way round.
    QByteArray ram = sim::RamTable();
    ram = ram.mid(30, 30) + ram.left(30) + ram.mid(60);
    readTable(ram, 2);
    Click(page->destinations[int(ReadDestination::RamTable)]);
    Click(page->sendButton);
    EXPECT_EQ(Texts(w).last(), kSent);
    EXPECT_EQ(decoder.Ram().mid(0x1289A0, 0x7600), ram);
}

TEST_F(JtagWritePageTest, BorrarChipWarnsFirstAndCancelErasesNothing) {
    TestWindow w(Options());
    auto* page = Show(w);
    const QByteArray before = decoder.Flash(0).Bytes();
    TypeInto(page->address, "7FE00000");
    Click(page->eraseButton);
    ASSERT_EQ(w.boxes.shown.size(), 1);
    EXPECT_EQ(w.boxes.shown[0].kind, BoxKind::Warning);
    EXPECT_TRUE(w.boxes.shown[0].text.startsWith("¡ A T E N C I Ó N !\r\n\r\n"));
    EXPECT_TRUE(Log(w).isEmpty());
    EXPECT_EQ(decoder.Flash(0).Bytes(), before);
    EXPECT_TRUE(w.form.JtagControls()->receiveButton->isEnabled());
}

// Chip 2 of a 4-Mbit type of eight 64 KiB blocks, erased block by block.
TEST_F(JtagWritePageTest, BorrarChipPorBloquesErasesEachBlockOfTheChipAtTheAddress) {
    TestWindow w(
        Options("[TForm1]\r\nFlashIC0=AM29LV160DB\r\nFlashIC1=AM29F040B\r\nFlash2Start=60000000\r\n"
                "Flash2Type=1\r\n"));
    auto* page = Show(w);
    const QByteArray before = decoder.Flash(1).Bytes();
    w.boxes.okAnswer = true;
    Click(page->eraseMethods[0]);
    TypeInto(page->address, "60000000");
    Click(page->eraseButton);
    EXPECT_EQ(Texts(w).size(), 1);  // the warning only
    // The simulator's chip is bottom-boot: the erase at its start clears its
    // first 16 KiB sector only; the other seven each clear a 64 KiB sector.
    EXPECT_EQ(decoder.Flash(1).Bytes().left(0x4000), QByteArray(0x4000, '\xFF'));
    EXPECT_EQ(decoder.Flash(1).Bytes().mid(0x10000, 0x70000), QByteArray(0x70000, '\xFF'));
    EXPECT_NE(before.mid(0x10000, 0x100), QByteArray(0x100, '\xFF'));  // the TPT section was there
    const QString log = Log(w);
    EXPECT_EQ(log.count("¡ Bloque borrado con éxito !"), 8);
    EXPECT_TRUE(log.contains("Borrando bloque : 60070000"));
    ASSERT_EQ(Backups(w).size(), 1);
    EXPECT_EQ(test::FileContents(w.settingsFolder.filePath("backups/" + Backups(w)[0])),
              before.left(0x80000));
}

TEST_F(JtagWritePageTest, BorrarChipAtAnAddressThatStartsNoChipSaysSoAndErasesNothing) {
    TestWindow w(Options());
    auto* page = Show(w);
    const QByteArray before = decoder.Flash(0).Bytes();
    w.boxes.okAnswer = true;
    TypeInto(page->address, "7FE04000");
    Click(page->eraseButton);
    ASSERT_EQ(w.boxes.shown.size(), 2);
    EXPECT_EQ(w.boxes.shown[1].kind, BoxKind::Error);
    EXPECT_TRUE(w.boxes.shown[1].text.startsWith(Msg(422)));
    EXPECT_EQ(decoder.Flash(0).Bytes(), before);
    EXPECT_TRUE(target.Controller().Routine().carried.empty());
}

}  // namespace
}  // namespace velarix
