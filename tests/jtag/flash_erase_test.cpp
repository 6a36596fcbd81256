#include <gtest/gtest.h>

#include "jtag/flash_erase.h"
#include "shell/message_table.h"
#include "sim_flash.h"
#include "test_files.h"

namespace velarix {
namespace {

struct EraseTest : ::testing::Test {
    test::SimFlash sim;
    QByteArray original = sim.Chip1();

    EraseTest() {
        // Chip 1's table covers its first four blocks only (64 KiB), so that
        // its backup stays small.
        FlashChip& chip = sim.settings.chips[0];
        chip.numBlocks = 4;
        for (int i = 5; i < FlashChip::kBoundaries; ++i) chip.boundaries[i] = 0;
    }
    EraseResult Erase(const QString& address, EraseMethod method, bool ok = true) {
        sim.frame.okCancelAnswers = {ok};
        return EraseFromPage(sim.env, address, method);
    }
};

TEST_F(EraseTest, TheWarningComesFirstAndCancelTouchesNothing) {
    const EraseResult result = Erase("7FE00000", EraseMethod::OneCommand, false);
    EXPECT_EQ(result.outcome, EraseOutcome::Cancelled);
    ASSERT_EQ(sim.frame.boxes.size(), 1);
    EXPECT_EQ(sim.frame.boxes[0].kind, BoxKind::Warning);
    EXPECT_EQ(sim.frame.boxes[0].text,
              QStringLiteral("¡ A T E N C I Ó N !\r\n\r\n¡ Borrar todo un integrado puede destruir "
                             "el decodificador !\r\n\r\nVelarix NO NECESITA BORRAR TODO EL "
                             "INTEGRADO antes de enviar el firmware\r\nSi no estás absolutamente "
                             "seguro de lo que haces, pulsa CANCEL."));
    EXPECT_EQ(sim.portsOpened, 0);
    EXPECT_EQ(sim.frame.endBusyCount, 1);
    EXPECT_EQ(sim.Chip1(), original);
}

TEST_F(EraseTest, ByBlocksErasesEachBlockOfTheTable) {
    const EraseResult result = Erase("7FE00000", EraseMethod::ByBlocks);
    EXPECT_EQ(result.outcome, EraseOutcome::Done);
    EXPECT_EQ(sim.Erased(), QStringList({"7FE00000", "7FE04000", "7FE06000", "7FE08000"}));
    EXPECT_EQ(sim.Chip1().left(0x10000), QByteArray(0x10000, '\xFF'));
    EXPECT_EQ(sim.Chip1().mid(0x10000), original.mid(0x10000));
    EXPECT_EQ(sim.Log().count("¡ Bloque borrado con éxito !"), 4);
    EXPECT_EQ(sim.Boxes(), QStringList{EraseWarningText()});
    // The backup holds what the table covers, as it was.
    ASSERT_EQ(sim.Backups().size(), 1);
    EXPECT_TRUE(sim.Backups()[0].endsWith("-chip1-7FE00000.bin"));
    EXPECT_EQ(test::FileContents(sim.BackupPath(sim.Backups()[0])), original.left(0x10000));
    EXPECT_TRUE(sim.Log().contains(Msg(423) + result.backup));
    // The backup's read showed how far it was, and the page is clear again.
    EXPECT_EQ(sim.frame.ProgressMaximum(StatusPage::FirmwareJtag), 0x10000);
    EXPECT_EQ(sim.frame.StatusFieldText(StatusPage::FirmwareJtag, StatusField::Task), QString());
    EXPECT_EQ(sim.Log().last(), QStringLiteral("Cerrando LPT1"));
}

TEST_F(EraseTest, WithOneBlockOfTheWholeChipByBlocksIsOneEraseAtTheStart) {
    FlashChip& chip = sim.settings.chips[1];
    chip.numBlocks = 1;
    chip.boundaries.fill(0);
    chip.boundaries[1] = 0x200000;
    EXPECT_EQ(Erase("60000000", EraseMethod::ByBlocks).outcome, EraseOutcome::Done);
    EXPECT_EQ(sim.Erased(), QStringList{"60000000"});
    EXPECT_EQ(sim.Count(sim::kEraseChip), 0);
}

TEST_F(EraseTest, OneCommandErasesTheChipAndSaysSo) {
    const EraseResult result = Erase("7FE00000", EraseMethod::OneCommand);
    EXPECT_EQ(result.outcome, EraseOutcome::Done);
    EXPECT_EQ(result.chip, 1);
    EXPECT_EQ(sim.Count(sim::kEraseChip), 1);
    EXPECT_TRUE(sim.Erased().isEmpty());
    EXPECT_EQ(sim.Chip1(), QByteArray(0x200000, '\xFF'));
    EXPECT_EQ(sim.Boxes(), QStringList({EraseWarningText(), "¡ Chip borrado con éxito !"}));
    EXPECT_TRUE(sim.Log().contains("Borrando chip : 7FE00000"));
}

// An address that starts neither chip erases nothing, and says why.
TEST_F(EraseTest, AnAddressThatStartsNoChipErasesNothing) {
    const EraseResult result = Erase("7FE04000", EraseMethod::OneCommand);
    EXPECT_EQ(result.outcome, EraseOutcome::Refused);
    EXPECT_TRUE(sim.Carried().empty());
    EXPECT_EQ(sim.Chip1(), original);
    ASSERT_EQ(sim.Boxes().size(), 2);
    EXPECT_EQ(sim.Boxes()[1],
              Msg(422) +
                  "\r\nDirección inicial integrado 1 : 7FE00000\r\nDirección inicial "
                  "integrado 2 : 60000000");
    EXPECT_EQ(sim.Log().last(), QStringLiteral("Cerrando LPT1"));
    EXPECT_TRUE(sim.Log().contains(Msg(422)));  // the pane keeps it too
    EXPECT_FALSE(sim.frame.busy);
}

TEST_F(EraseTest, ABlockThatWillNotEraseIsReportedAndTheOthersStillAre) {
    sim.Faults().stuckFlashAt = 0x7FE04000;
    const EraseResult result = Erase("7FE00000", EraseMethod::ByBlocks);
    EXPECT_EQ(result.outcome, EraseOutcome::Failed);
    EXPECT_EQ(result.blocksFailed, 1);
    EXPECT_EQ(sim.Boxes(), QStringList({EraseWarningText(),
                                        "Se produjo un error borrando el bloque :7FE04000"}));
    EXPECT_EQ(sim.Erased(), QStringList({"7FE00000", "7FE04000", "7FE06000", "7FE08000"}));
    EXPECT_EQ(sim.Chip1().mid(0x4000, 0x2000), original.mid(0x4000, 0x2000));
    EXPECT_EQ(sim.Chip1().mid(0x6000, 0xA000), QByteArray(0xA000, '\xFF'));
}

// A table of more than 255 blocks is erased whole.
TEST_F(EraseTest, EveryBlockOfALongTableIsErased) {
    FlashChip& chip = sim.settings.chips[0];
    chip.numBlocks = 300;
    for (int i = 0; i <= 300; ++i) chip.boundaries[i] = std::uint32_t(i) * 0x100;
    EXPECT_EQ(Erase("7FE00000", EraseMethod::ByBlocks).outcome, EraseOutcome::Done);
    EXPECT_EQ(sim.Erased().size(), 300);
    EXPECT_EQ(sim.Erased().last(), QStringLiteral("7FE12B00"));
}

TEST_F(EraseTest, AnUnsteadyCableOrAMissingBackupErasesNothing) {
    sim.Faults().unsteadyIdcode = true;
    EXPECT_EQ(Erase("7FE00000", EraseMethod::OneCommand).outcome, EraseOutcome::Failed);
    EXPECT_EQ(sim.Boxes(), QStringList({EraseWarningText(), Msg(425)}));
    sim.Faults().unsteadyIdcode = false;
    sim.frame.boxes.clear();
    test::PutFile(sim.folder.filePath("backups"), "not a folder");
    EXPECT_EQ(Erase("7FE00000", EraseMethod::OneCommand).outcome, EraseOutcome::Failed);
    ASSERT_EQ(sim.Boxes().size(), 2);
    EXPECT_TRUE(sim.Boxes()[1].startsWith(Msg(424) + "\r\n"));
    EXPECT_TRUE(sim.Carried().empty());
    EXPECT_EQ(sim.Chip1(), original);
}

}  // namespace
}  // namespace velarix
