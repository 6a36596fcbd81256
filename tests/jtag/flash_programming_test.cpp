#include <gtest/gtest.h>

#include <QRegularExpression>

#include "eeprom/eeprom_image.h"
#include "jtag/flash_programming.h"
#include "shell/message_table.h"
#include "sim_flash.h"
#include "test_files.h"

namespace velarix {
namespace {

using test::FileContents;

const QString kDashes(40, QLatin1Char('-'));
const QString kSent = QStringLiteral("¡ Datos enviados con éxito !");

// Every byte different from what the chip holds there now.
QByteArray Complement(const QByteArray& bytes) {
    QByteArray out = bytes;
    for (char& c : out) c = char(~c);
    return out;
}

struct FlashWriteTest : ::testing::Test {
    test::SimFlash sim;
    QByteArray original = sim.Chip1();

    SendResult Write(const QString& address, const QByteArray& image, bool dryRun = false) {
        return WriteImageToTarget(sim.env, address, image, WriteOptions{dryRun});
    }
    // The log from the first line equal to `from`.
    QStringList LogFrom(const QString& from) {
        const QStringList log = sim.Log();
        return log.mid(log.indexOf(from));
    }
};

TEST_F(FlashWriteTest, AFileGoesIntoChip1BlockByBlockAndTheEndSaysSo) {
    QTemporaryDir dir;
    const QByteArray image = Complement(original.left(0xA000));
    const QString path = test::PutFile(dir.filePath("firmware.bin"), image);
    const SendResult result =
        WriteFileToTarget(sim.env, "7FE00000", [&] { return std::optional<QString>(path); });
    EXPECT_EQ(result.outcome, SendOutcome::Done);
    EXPECT_EQ(result.written, 0xA000);
    EXPECT_EQ(result.chip, 1);
    // The four blocks it touches were erased; the last one holds only the
    // image's end, the rest of it erased.
    EXPECT_EQ(sim.Erased(), QStringList({"7FE00000", "7FE04000", "7FE06000", "7FE08000"}));
    EXPECT_EQ(sim.Chip1().left(0xA000), image);
    EXPECT_EQ(sim.Chip1().mid(0xA000, 0x6000), QByteArray(0x6000, '\xFF'));
    EXPECT_EQ(sim.Chip1().mid(0x10000), original.mid(0x10000));
    EXPECT_EQ(sim.Boxes(), QStringList{kSent});

    const QStringList log = sim.Log();
    ASSERT_GE(log.size(), 8);
    EXPECT_EQ(log.mid(0, 7), QStringList({"Modelo y placa de decodificador : Personalizado",
                                          " Integrado con Sofware Interactivo  : AM29LV160DB",
                                          "Dirección inicial integrado 1 : 7FE00000",
                                          " Integrado con Lista de Canales  : AM29LV160DB",
                                          "Dirección inicial integrado 2 : 60000000",
                                          "Enviando a la dirección : 7FE00000", "Abriendo LPT1"}));
    EXPECT_TRUE(log.contains("Seleccionado el integrado 1"));
    EXPECT_EQ(log.count("¡ Verificación correcta !"), 4);
    EXPECT_EQ(log.mid(log.size() - 3),
              QStringList({"Reset DCU desactivado", kSent, "Cerrando LPT1"}));
    EXPECT_EQ(sim.frame.ProgressMaximum(StatusPage::FirmwareJtag), 0xA000);
    EXPECT_EQ(sim.frame.StatusFieldText(StatusPage::FirmwareJtag, StatusField::Task), QString());
    EXPECT_FALSE(sim.frame.busy);
}

TEST_F(FlashWriteTest, AnIdenticalWholeBlockIsLoggedAndSkippedAndTheNextOneWritten) {
    QByteArray image = original.left(0x6000);
    image[0x4100] = char(~image[0x4100]);
    const SendResult result = Write("7FE00000", image);
    EXPECT_EQ(result.outcome, SendOutcome::Done);
    EXPECT_EQ(sim.Erased(), QStringList{"7FE04000"});
    EXPECT_EQ(sim.Chip1().left(0x6000), image);
    ASSERT_EQ(sim.Backups().size(), 1);
    const QStringList log = LogFrom("Buscando el bloque inicial...");
    ASSERT_GE(log.size(), 13);
    EXPECT_EQ(log.mid(0, 1), QStringList{"Buscando el bloque inicial..."});
    EXPECT_TRUE(log[1].startsWith("Copia de seguridad de los bloques que se van a borrar : "));
    EXPECT_EQ(log.mid(2, 11),
              QStringList({kDashes, "Comprobando la dirección : 7FE00000",
                           "Los datos en la flash son identicos. Saltamos al siguiente bloque...",
                           kDashes, "Comprobando la dirección : 7FE04000",
                           "Borrando bloque : 7FE04000", "Enviando datos a la dirección : 7FE04000",
                           "Enviando datos a la dirección : 7FE04000",
                           "Verificando la dirección : 7FE04000", "¡ Verificación correcta !",
                           "Reset DCU desactivado"}));
}

TEST_F(FlashWriteTest, AStartInsideABlockErasesTheWholeBlockAndProgramsFromTheAddress) {
    const QByteArray image(0x1000, '\x5A');
    const SendResult result = Write("7FE02000", image);
    EXPECT_EQ(result.outcome, SendOutcome::Done);
    EXPECT_EQ(sim.Erased(), QStringList{"7FE00000"});
    EXPECT_EQ(sim.Chip1().left(0x2000), QByteArray(0x2000, '\xFF'));  // lost
    EXPECT_EQ(sim.Chip1().mid(0x2000, 0x1000), image);
    EXPECT_EQ(sim.Chip1().mid(0x3000, 0x1000), QByteArray(0x1000, '\xFF'));
    EXPECT_EQ(sim.Chip1().mid(0x4000), original.mid(0x4000));
    EXPECT_FALSE(sim.Log().contains("Comprobando la dirección : 7FE02000"));
    // The backup holds the whole block as it was.
    ASSERT_EQ(sim.Backups().size(), 1);
    EXPECT_TRUE(sim.Backups()[0].endsWith("-chip1-7FE00000.bin"));
    EXPECT_EQ(FileContents(sim.BackupPath(sim.Backups()[0])), original.left(0x4000));
}

TEST_F(FlashWriteTest, WithoutVerificationAProgramIsTrustedWithoutReadingBack) {
    sim.Faults().stuckFlashAt = 0x7FE04000;
    sim.Faults().stuckFlashReportsDone = true;  // only a read-back would show it
    sim.settings.verifyFlash = false;
    const QByteArray image = Complement(original.left(0x6000));
    EXPECT_EQ(Write("7FE00000", image).outcome, SendOutcome::Done);
    EXPECT_EQ(sim.Boxes(), QStringList{kSent});
    EXPECT_EQ(sim.Chip1().mid(0x4000, 0x2000), original.mid(0x4000, 0x2000));
    for (const QString& line : sim.Log()) EXPECT_FALSE(line.startsWith("Verificando"));
}

TEST_F(FlashWriteTest, WithVerificationTheSameBlockIsCaughtAtItsFirstDifferingByte) {
    sim.Faults().stuckFlashAt = 0x7FE04000;
    sim.Faults().stuckFlashReportsDone = true;
    const QByteArray image = Complement(original.left(0x6000));
    const SendResult result = Write("7FE00000", image);  // no answer: Abort
    EXPECT_EQ(result.outcome, SendOutcome::Failed);
    EXPECT_EQ(result.written, 0x4000);
    // The position in the image, counted from 1, in decimal.
    EXPECT_EQ(sim.Boxes(), QStringList({"Error verificando la dirección : 16385",
                                        "Se ha producido un error en la dirección : 7FE04000"}));
    EXPECT_EQ(sim.frame.StatusFieldText(StatusPage::FirmwareJtag, StatusField::Errors),
              QString());  // cleared at the end, after showing "1"
    EXPECT_TRUE(sim.frame.errorHistory[StatusPage::FirmwareJtag].contains("1"));
}

TEST_F(FlashWriteTest, AnAddressInNoChipGoesToRamWithoutBlocksOrChecksums) {
    sim.settings.addFirmwareChecksum = true;
    sim.settings.checksumPosition = QStringLiteral("0");
    QByteArray image(0x200, '\0');
    for (int i = 0; i < image.size(); ++i) image[i] = char(i);
    const SendResult result = Write("40100000", image);
    EXPECT_EQ(result.outcome, SendOutcome::Done);
    EXPECT_EQ(result.chip, 0);
    EXPECT_EQ(sim.decoder.Ram().mid(0x100000, 0x200), image);
    EXPECT_TRUE(sim.Log().contains("Escribiendo en RAM"));
    EXPECT_FALSE(sim.Log().contains("Buscando el bloque inicial..."));
    EXPECT_TRUE(sim.frame.Log(LogPane::Eeprom).isEmpty());
    EXPECT_TRUE(sim.Carried().empty());
    EXPECT_FALSE(sim.trap.loaded);
    EXPECT_EQ(sim.Boxes(), QStringList{kSent});
}

// The table goes in when its last byte, position + 79, lies before the end
// of the image; with position 100h that is an image of at least 150h bytes.
TEST_F(FlashWriteTest, Chip1GetsTheChecksumsOnlyWhenTheTableFitsTheImage) {
    sim.settings.addFirmwareChecksum = true;
    sim.settings.checksumPosition = QStringLiteral("100");
    EXPECT_EQ(Write("7FE00000", QByteArray(0x14F, '\0')).outcome, SendOutcome::Done);
    EXPECT_EQ(sim.Chip1().left(0x14F), QByteArray(0x14F, '\0'));
    EXPECT_TRUE(sim.frame.Log(LogPane::Eeprom).isEmpty());

    EXPECT_EQ(Write("7FE00000", QByteArray(0x150, '\0')).outcome, SendOutcome::Done);
    EXPECT_EQ(sim.Chip1().left(0x100), QByteArray(0x100, '\0'));
    // 150h zeros then FF to 64 KiB; blocks of FF; the short last block.
    EXPECT_EQ(sim.Chip1().mid(0x100, 8), QByteArray::fromHex("7EC77234DEAB7E4E"));
    EXPECT_EQ(sim.Chip1().mid(0x14C, 4), QByteArray::fromHex("632C64AE"));
    const QStringList eepromLog = sim.frame.Log(LogPane::Eeprom);
    ASSERT_EQ(eepromLog.size(), 21);  // the image was short, then the 20 checksums
    EXPECT_EQ(eepromLog[0], Msg(421));
}

TEST_F(FlashWriteTest, Chip2IsChosenByItsAddressAndNeverGetsChecksums) {
    sim.settings.addFirmwareChecksum = true;
    sim.settings.checksumPosition = QStringLiteral("0");
    const QByteArray image(0x100, '\x33');
    const SendResult result = Write("60010000", image);
    EXPECT_EQ(result.outcome, SendOutcome::Done);
    EXPECT_EQ(result.chip, 2);
    EXPECT_TRUE(sim.Log().contains("Seleccionado el integrado 2"));
    EXPECT_EQ(sim.decoder.Flash(1).Bytes().mid(0x10000, 0x100), image);
    EXPECT_TRUE(sim.frame.Log(LogPane::Eeprom).isEmpty());
}

TEST_F(FlashWriteTest, ARangePastTheLastBlockEndsAtTheFirstAddressNotWritten) {
    const QByteArray image(0x11000, '\x00');
    const SendResult result = Write("7FFF0000", image);
    EXPECT_EQ(result.outcome, SendOutcome::Failed);
    EXPECT_EQ(result.written, 0x10000);
    EXPECT_EQ(sim.Chip1().mid(0x1F0000), QByteArray(0x10000, '\0'));
    EXPECT_EQ(sim.Boxes(), QStringList{"Se ha producido un error en la dirección : 80000000"});
}

TEST_F(FlashWriteTest, AnAddressInTheChipButInNoBlockIsRefused) {
    sim.settings.chips[0].boundaries[0] = 0x1000;  // the table starts 4 KiB in
    const SendResult result = Write("7FE00000", QByteArray(0x10, '\0'));
    EXPECT_EQ(result.outcome, SendOutcome::Failed);
    EXPECT_EQ(sim.Boxes(),
              QStringList({"La direccion especificada no está dentro del integrado de Flash.",
                           "Se ha producido un error en la dirección : 7FE00000"}));
    EXPECT_TRUE(sim.Erased().isEmpty());
    EXPECT_EQ(sim.Chip1(), original);
}

// A block whose erase never finishes: the page asks Abort, Retry or Ignore.
struct FailingBlockTest : FlashWriteTest {
    QByteArray image = Complement(original.left(0x8000));
    FailingBlockTest() { sim.Faults().stuckFlashAt = 0x7FE04000; }
    const QString sendFailed = QStringLiteral(
        "Error en el envio por Jtag.\r\nComprueba que el Interfaz Jtag esté bien "
        "construido\r\ny que las direcciones Trap y destino son las correctas.");
};

TEST_F(FailingBlockTest, AbortEndsAtTheFailingBlock) {
    sim.frame.abortRetryIgnoreAnswers = {AbortRetryIgnore::Abort};
    const SendResult result = Write("7FE00000", image);
    EXPECT_EQ(result.outcome, SendOutcome::Failed);
    EXPECT_EQ(result.written, 0x4000);
    EXPECT_EQ(sim.Boxes(),
              QStringList({sendFailed, "Se ha producido un error en la dirección : 7FE04000"}));
    EXPECT_EQ(sim.Erased(), QStringList({"7FE00000", "7FE04000"}));
    EXPECT_EQ(sim.Chip1().left(0x4000), image.left(0x4000));
    EXPECT_EQ(sim.Chip1().mid(0x4000), original.mid(0x4000));
}

TEST_F(FailingBlockTest, RetryRepeatsTheBlockUntilItGoesIn) {
    sim.Faults().stuckFlashAt.reset();
    sim.Faults().readBackDiffersOnceAt = 0x7FE04010;
    sim.frame.abortRetryIgnoreAnswers = {AbortRetryIgnore::Retry};
    const SendResult result = Write("7FE00000", image);
    EXPECT_EQ(result.outcome, SendOutcome::Done);
    // 4010h is byte 16401 of the image, counted from 1.
    EXPECT_EQ(sim.Boxes(), QStringList({"Error verificando la dirección : 16401", kSent}));
    EXPECT_EQ(sim.Chip1().left(0x8000), image);
    // The retried block is compared again: the write had gone in, only its
    // read-back was wrong, so it is found identical and not erased again.
    EXPECT_EQ(sim.Erased(), QStringList({"7FE00000", "7FE04000", "7FE06000"}));
    EXPECT_EQ(sim.Log().count("Comprobando la dirección : 7FE04000"), 2);
    EXPECT_EQ(
        sim.Log().count("Los datos en la flash son identicos. Saltamos al siguiente bloque..."), 1);
}

// Ignore goes on with the next block, but the block ignored was not written:
// the end names it and never says the data were sent.
TEST_F(FailingBlockTest, IgnoreGoesOnButNeverEndsWithTheSuccessText) {
    sim.frame.abortRetryIgnoreAnswers = {AbortRetryIgnore::Ignore};
    const SendResult result = Write("7FE00000", image);
    EXPECT_EQ(result.outcome, SendOutcome::Failed);
    EXPECT_EQ(result.written, 0x8000);
    EXPECT_EQ(result.ignoredBlocks, QList<std::uint32_t>{0x7FE04000});
    EXPECT_EQ(
        sim.Boxes(),
        QStringList({sendFailed, "No se han escrito los bloques que se ignoraron : 7FE04000"}));
    EXPECT_FALSE(sim.Log().contains(kSent));
    EXPECT_EQ(sim.Chip1().mid(0x6000, 0x2000), image.mid(0x6000, 0x2000));
    EXPECT_EQ(sim.Chip1().mid(0x4000, 0x2000), original.mid(0x4000, 0x2000));
    EXPECT_TRUE(sim.frame.errorHistory[StatusPage::FirmwareJtag].contains("1"));
}

// The settings give chip 1 the blocks of a top-boot chip (31 of 64K, then
// 32K, 8K, 8K and 16K) while the decoder's chip is bottom-boot, one 64K
// sector at its top: every erase up there wipes the whole sector.
struct WrongFlashTypeTest : FlashWriteTest {
    WrongFlashTypeTest() {
        FlashChip& chip = sim.settings.chips[0];
        chip.numBlocks = 35;
        chip.boundaries.fill(0);
        for (int i = 0; i <= 31; ++i) chip.boundaries[i] = 0x10000 * std::uint32_t(i);
        const std::uint32_t top[] = {0x1F8000, 0x1FA000, 0x1FC000, 0x200000};
        for (int i = 0; i < 4; ++i) chip.boundaries[32 + i] = top[i];
        // The sample firmware leaves the top erased: something there to lose.
        QByteArray top64K(0x10000, '\0');
        for (int i = 0; i < top64K.size(); ++i) top64K[i] = char(i * 7 + (i >> 8) + 1);
        sim.decoder.Flash(0).Fill(0x1F0000, top64K);
        original = sim.Chip1();
    }
    static QString Stopped(const QString& block) {
        return "El borrado del bloque " + block +
               " ha cambiado bytes fuera del bloque: los bloques del tipo de flash de la "
               "configuración no son los del integrado. No se ha seguido escribiendo.";
    }
};

TEST_F(WrongFlashTypeTest, AnEraseThatWipesTheBlocksAfterItStopsTheWrite) {
    // New bytes for the 32K block, then what the chip holds already: the
    // three small blocks would be skipped as identical.
    const QByteArray image =
        Complement(original.mid(0x1F0000, 0x8000)) + original.mid(0x1F8000, 0x8000);
    const SendResult result = Write("7FFF0000", image);
    EXPECT_EQ(result.outcome, SendOutcome::Failed);
    EXPECT_EQ(sim.Erased(), QStringList{"7FFF0000"});
    EXPECT_TRUE(sim.Boxes().contains(Stopped("7FFF0000")));
    EXPECT_FALSE(sim.Boxes().contains(kSent));
}

TEST_F(WrongFlashTypeTest, AnEraseThatWipesTheBlockBeforeItStopsTheWrite) {
    // 7FFF8000 identical and skipped; the erase of 7FFFA000 takes it too.
    const QByteArray image = original.mid(0x1F8000, 0x2000) + Complement(original.mid(0x1FA000, 0x2000));
    const SendResult result = Write("7FFF8000", image);
    EXPECT_EQ(result.outcome, SendOutcome::Failed);
    EXPECT_EQ(sim.Erased(), QStringList{"7FFFA000"});
    EXPECT_TRUE(sim.Boxes().contains(Stopped("7FFFA000")));
}

TEST_F(WrongFlashTypeTest, ABlockFoundIdenticalBeforeAnEraseIsLookedAtAgainWhenReached) {
    // Erased bytes at the start of 7FFF8000 hide the first erase's reach.
    sim.decoder.Flash(0).Fill(0x1F8000, QByteArray(4, '\xFF'));
    const QByteArray now = sim.Chip1();
    const QByteArray image = Complement(now.mid(0x1F0000, 0x8000)) + now.mid(0x1F8000, 0x8000);
    const SendResult result = Write("7FFF0000", image);
    // 7FFF8000 is found erased when reached, so it is erased (again) and
    // that erase is caught wiping 7FFF0000: never the success text.
    EXPECT_EQ(result.outcome, SendOutcome::Failed);
    EXPECT_EQ(sim.Erased(), QStringList({"7FFF0000", "7FFF8000"}));
    EXPECT_TRUE(sim.Boxes().contains(Stopped("7FFF8000")));
}

TEST_F(FlashWriteTest, TheBackupRunsFromTheFirstBlockErasedToTheEndOfTheLast) {
    QByteArray image = original.left(0x10000);
    image[0x4000] = char(~image[0x4000]);  // block 1
    image[0x8000] = char(~image[0x8000]);  // block 3; block 2 stays as it is
    const SendResult result = Write("7FE00000", image);
    EXPECT_EQ(result.outcome, SendOutcome::Done);
    EXPECT_EQ(sim.Erased(), QStringList({"7FE04000", "7FE08000"}));
    ASSERT_EQ(sim.Backups().size(), 1);
    const QString name = sim.Backups()[0];
    EXPECT_TRUE(QRegularExpression("^\\d{8}-\\d{6}-chip1-7FE04000\\.bin$").match(name).hasMatch())
        << name.toStdString();
    EXPECT_EQ(FileContents(sim.BackupPath(name)), original.mid(0x4000, 0xC000));
    EXPECT_EQ(result.backup, QDir::toNativeSeparators(sim.BackupPath(name)));
    EXPECT_TRUE(sim.Log().contains("Copia de seguridad de los bloques que se van a borrar : " +
                                   result.backup));

    // Written back at its address, the backup restores what was there.
    EXPECT_EQ(Write("7FE04000", FileContents(sim.BackupPath(name))).outcome, SendOutcome::Done);
    EXPECT_EQ(sim.Chip1(), original);
}

TEST_F(FlashWriteTest, AWriteThatChangesNothingNeedsNoBackup) {
    EXPECT_EQ(Write("7FE00000", original.left(0x10000)).outcome, SendOutcome::Done);
    EXPECT_TRUE(sim.Erased().isEmpty());
    EXPECT_EQ(sim.Count(sim::kProgramFlash), 0);
    EXPECT_TRUE(sim.Backups().isEmpty());
    EXPECT_EQ(
        sim.Log().count("Los datos en la flash son identicos. Saltamos al siguiente bloque..."),
        4);  // 16K, 8K, 8K, 32K
}

TEST_F(FlashWriteTest, NothingIsErasedWhenTheBackupCannotBeSaved) {
    test::PutFile(sim.folder.filePath("backups"), "not a folder");
    const SendResult result = Write("7FE00000", Complement(original.left(0x4000)));
    EXPECT_EQ(result.outcome, SendOutcome::Failed);
    EXPECT_TRUE(sim.Erased().isEmpty());
    EXPECT_EQ(sim.Chip1(), original);
    ASSERT_EQ(sim.Boxes().size(), 2);
    EXPECT_TRUE(sim.Boxes()[0].startsWith(Msg(424) + "\r\n"));
    EXPECT_EQ(sim.Boxes()[1],
              QStringLiteral("Se ha producido un error en la dirección : 7FE00000"));
}

TEST_F(FlashWriteTest, AnUnsteadyCableStopsTheWriteBeforeTheFlashIsTouched) {
    sim.Faults().unsteadyIdcode = true;
    const SendResult result = Write("7FE00000", Complement(original.left(0x4000)));
    EXPECT_EQ(result.outcome, SendOutcome::Failed);
    EXPECT_TRUE(sim.Carried().empty());
    EXPECT_EQ(sim.Chip1(), original);
    EXPECT_TRUE(sim.Backups().isEmpty());
    EXPECT_EQ(sim.Boxes(),
              QStringList({Msg(425), "Se ha producido un error en la dirección : 7FE00000"}));
}

TEST_F(FlashWriteTest, ADryRunReadsAndComparesOnly) {
    QByteArray image = original.left(0x9000);
    image[0x4100] = char(~image[0x4100]);
    const SendResult result = Write("7FE00000", image, true);
    EXPECT_EQ(result.outcome, SendOutcome::DryRun);
    EXPECT_EQ(sim.Chip1(), original);
    EXPECT_TRUE(sim.Carried().empty());
    EXPECT_FALSE(sim.trap.loaded);
    EXPECT_TRUE(sim.Backups().isEmpty());
    EXPECT_TRUE(sim.Boxes().isEmpty());
    ASSERT_EQ(result.plan.size(), 4u);
    EXPECT_TRUE(result.plan[0].skip);
    EXPECT_FALSE(result.plan[1].skip);
    EXPECT_EQ(result.plan[1].changes, 1);
    EXPECT_TRUE(result.plan[2].skip);
    // The last block is only partly covered: erased, it loses the other
    // 7000h bytes, of which the erased (FF) ones do not change.
    EXPECT_FALSE(result.plan[3].skip);
    EXPECT_EQ(result.plan[3].changes, 0x7000 - original.mid(0x9000, 0x7000).count('\xFF'));
    EXPECT_EQ(BlockPlanLine(result.plan[0]),
              QStringLiteral("7FE00000-7FE03FFF : se saltaría: los datos son idénticos"));
    EXPECT_EQ(
        BlockPlanLine(result.plan[1]),
        QStringLiteral("7FE04000-7FE05FFF : se borraría y programaría; bytes que cambian : 1"));

    sim.settings.forceFlash = true;  // forced, an identical block is erased all the same
    const SendResult forced = Write("7FE00000", original.left(0x4000), true);
    ASSERT_EQ(forced.plan.size(), 1u);
    EXPECT_FALSE(forced.plan[0].skip);
    EXPECT_EQ(forced.plan[0].changes, 0);
    EXPECT_EQ(sim.Chip1(), original);

    const SendResult ram = Write("401289A0", QByteArray(0x10, '\0'), true);
    EXPECT_EQ(ram.outcome, SendOutcome::DryRun);
    ASSERT_TRUE(ram.ramChanges.has_value());
    EXPECT_EQ(*ram.ramChanges, 11);  // "Noticias 24", then the name's zeros
}

TEST_F(FlashWriteTest, ForcedEveryBlockIsErasedWithoutComparing) {
    sim.settings.forceFlash = true;
    EXPECT_EQ(Write("7FE00000", original.left(0x8000)).outcome, SendOutcome::Done);
    EXPECT_EQ(sim.Erased(), QStringList({"7FE00000", "7FE04000", "7FE06000"}));
    EXPECT_FALSE(sim.Log().contains("Comprobando la dirección : 7FE00000"));
    EXPECT_EQ(sim.Chip1(), original);
    ASSERT_EQ(sim.Backups().size(), 1);
    EXPECT_EQ(FileContents(sim.BackupPath(sim.Backups()[0])), original.left(0x8000));
}

struct EepromWriteTest : FlashWriteTest {
    EepromImage image;
    EepromWriteTest() {
        QByteArray bytes(2048, '\0');
        for (int i = 0; i < bytes.size(); ++i) bytes[i] = char(i * 13 + 7);
        image.PutImageBytes(bytes, 0, 2048);
    }
};

TEST_F(EepromWriteTest, TheEepromWrittenThroughTheTrapRoutineEqualsTheImage) {
    const SendResult result = WriteEepromToTarget(sim.env, "0", "800", image);
    EXPECT_EQ(result.outcome, SendOutcome::Done);
    EXPECT_EQ(sim.decoder.Eeprom(), image.GetImageBytes());
    EXPECT_EQ(sim.Boxes(), QStringList{"¡ Eeprom escrita con éxito !"});
    const QStringList log = sim.Log();
    EXPECT_LT(log.indexOf("Escribiendo en la eeprom..."),
              log.indexOf("Esperando la conclusión de la escritura..."));
}

TEST_F(EepromWriteTest, OnlyTheRangeIsWrittenAndARangePastTheEndIsRefused) {
    const QByteArray before = sim.decoder.Eeprom();
    EXPECT_EQ(WriteEepromToTarget(sim.env, "7F0", "20", image).outcome, SendOutcome::Refused);
    EXPECT_EQ(sim.Boxes(), QStringList{"¡ Dirección incorrecta !"});
    EXPECT_EQ(sim.decoder.Eeprom(), before);

    EXPECT_EQ(WriteEepromToTarget(sim.env, "7F0", "10", image).outcome, SendOutcome::Done);
    EXPECT_EQ(sim.decoder.Eeprom().left(0x7F0), before.left(0x7F0));
    EXPECT_EQ(sim.decoder.Eeprom().mid(0x7F0), image.GetImageBytes().mid(0x7F0));
}

TEST_F(EepromWriteTest, ADebugControllerThatDoesNotAnswerGetsNothing) {
    const QByteArray before = sim.decoder.Eeprom();
    sim.Faults().noAcknowledges = true;
    EXPECT_EQ(WriteEepromToTarget(sim.env, "0", "800", image).outcome, SendOutcome::Failed);
    EXPECT_EQ(sim.Boxes(),
              QStringList({Msg(345), "¡ Se produjo un error escribiendo en la eeprom !"}));
    EXPECT_FALSE(sim.Log().contains("Escribiendo en la eeprom..."));
    EXPECT_EQ(sim.Log().mid(sim.Log().size() - 2),
              QStringList({"Reset DCU desactivado", "Cerrando LPT1"}));
    EXPECT_EQ(sim.decoder.Eeprom(), before);
}

TEST_F(EepromWriteTest, ACellThatHoldsNoByteIsNamedAndNothingIsSent) {
    const QByteArray before = sim.decoder.Eeprom();
    image.SetCell(0x123, QStringLiteral("G1"));
    EXPECT_EQ(WriteEepromToTarget(sim.env, "100", "100", image).outcome, SendOutcome::Refused);
    EXPECT_EQ(sim.Boxes(), QStringList{"¡ La dirección 123 contiene un dato erroneo !"});
    EXPECT_EQ(sim.decoder.Eeprom(), before);
    // Outside the range it does not matter.
    EXPECT_EQ(WriteEepromToTarget(sim.env, "0", "100", image).outcome, SendOutcome::Done);
}

TEST_F(FlashWriteTest, TheTablesComeFromTheirSourcesOrTheRefusalIsShown) {
    // Not wired yet: no channel list to send, and the port is not opened.
    SendSources none;
    EXPECT_EQ(SendToTarget(sim.env, ReadDestination::FlashTable, "60000000", "50000", none).outcome,
              SendOutcome::Refused);
    EXPECT_EQ(SendToTarget(sim.env, ReadDestination::RamTable, "401289A0", "7600", none).outcome,
              SendOutcome::Refused);
    EXPECT_EQ(sim.Boxes(), QStringList({"¡ No hay ninguna lista de canales cargada !",
                                        "¡ No hay ninguna lista de canales cargada !"}));
    EXPECT_EQ(SendToTarget(sim.env, ReadDestination::Picture, "C00D0000", "98000", none).outcome,
              SendOutcome::Cancelled);
    EXPECT_EQ(sim.portsOpened, 0);

    SendSources sources;
    const QByteArray table(0x300, '\x42');
    sources.flashTable = [&] { return TableImageToSend{table, {}}; };
    sources.ramTable = [&] { return TableImageToSend{table, {}}; };
    sim.frame.boxes.clear();
    sim.settings.addFirmwareChecksum = true;
    sim.settings.checksumPosition = QStringLiteral("0");
    // The flash table goes into chip 2 only.
    EXPECT_EQ(SendToTarget(sim.env, ReadDestination::FlashTable, "7FE00000", "", sources).outcome,
              SendOutcome::Refused);
    EXPECT_EQ(sim.Chip1(), original);
    EXPECT_EQ(SendToTarget(sim.env, ReadDestination::FlashTable, "60020000", "", sources).outcome,
              SendOutcome::Done);
    EXPECT_EQ(sim.decoder.Flash(1).Bytes().mid(0x20000, 0x300), table);
    // RAM from 40000000h on; the line about it goes to the EEPROM log.
    EXPECT_EQ(SendToTarget(sim.env, ReadDestination::RamTable, "3FFFFFFC", "", sources).outcome,
              SendOutcome::Refused);
    EXPECT_EQ(SendToTarget(sim.env, ReadDestination::RamTable, "401289A0", "", sources).outcome,
              SendOutcome::Done);
    EXPECT_EQ(sim.decoder.Ram().mid(0x1289A0, 0x300), table);
    EXPECT_EQ(sim.frame.Log(LogPane::Eeprom), QStringList{"Escribiendo en RAM"});
    EXPECT_EQ(sim.Boxes(),
              QStringList({"¡ Dirección incorrecta !", kSent, "¡ Dirección incorrecta !", kSent}));

    sources.flashTable = [] { return TableImageToSend{{}, QStringLiteral("sin tabla")}; };
    sim.frame.boxes.clear();
    EXPECT_EQ(SendToTarget(sim.env, ReadDestination::FlashTable, "60000000", "", sources).outcome,
              SendOutcome::Refused);
    EXPECT_EQ(sim.Boxes(), QStringList{"sin tabla"});
}

}  // namespace
}  // namespace velarix
