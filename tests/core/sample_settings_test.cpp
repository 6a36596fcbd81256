#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "shell/config_rules.h"
#include "shell/ini_file.h"
#include "shell/language.h"
#include "shell/message_keys.h"
#include "shell/message_table.h"
#include "shell/settings_file.h"
#include "simulated_decoder.h"

namespace velarix {
namespace {

// The sample settings folder shipped with the program.
QString SampleFolder() {
    return QStringLiteral(VELARIX_SAMPLE_INIS "/");
}

TEST(SampleSettings, ListEveryFileTheyShip) {
    const Settings s = LoadSettings(SampleFolder(), {});
    EXPECT_EQ(s.languages, (QStringList{QStringLiteral("Español"), "English"}));
    EXPECT_EQ(s.flashTypes.size(), 8);
    EXPECT_EQ(s.models.size(), 4);
    EXPECT_EQ(s.symbolRateLists.size(), 8);
    EXPECT_EQ(s.symbolRates[0], 27500);  // the third list, "Europa", by default
}

// Every position the settings choose, at start or by "Valores por Defecto",
// names a file the folder ships: the eighth symbol-rate list among them.
TEST(SampleSettings, EveryDefaultPositionHasItsEntry) {
    Settings s = LoadSettings(SampleFolder(), {});
    ApplyFactoryDefaults(s);
    EXPECT_EQ(s.symbolRateList, 7);
    ASSERT_LT(s.symbolRateList, s.symbolRateLists.size());
    LoadSymbolRateFile(s);
    EXPECT_NE(s.symbolRates[0], 0);
    EXPECT_EQ(s.chips[0].type, 0);
    for (int list = 0; list < s.symbolRateLists.size(); ++list) {
        s.symbolRateList = list;
        LoadSymbolRateFile(s);
        EXPECT_GE(s.symbolRates[0], 1000) << s.symbolRateLists[list].toStdString();
    }
}

// Every flash type's blocks tile its chip: from 0, each boundary above the
// last, sectors of whole kilobytes, ending at the chip's power-of-two size.
TEST(SampleSettings, FlashBlocksTileTheirChips) {
    Settings s = LoadSettings(SampleFolder(), {});
    for (int type = 0; type < s.flashTypes.size(); ++type) {
        s.chips[0].type = type;
        LoadFlashTypeFile(s, 0);
        const FlashChip& chip = s.chips[0];
        const std::string name = s.flashTypes[type].toStdString();
        ASSERT_GE(chip.numBlocks, 1) << name;
        EXPECT_EQ(chip.boundaries[0], 0u) << name;
        for (int i = 1; i <= chip.numBlocks; ++i) {
            EXPECT_GT(chip.boundaries[i], chip.boundaries[i - 1]) << name << " block " << i;
            EXPECT_EQ((chip.boundaries[i] - chip.boundaries[i - 1]) % 0x1000, 0u) << name;
        }
        const std::uint32_t size = chip.boundaries[chip.numBlocks];
        EXPECT_EQ(size & (size - 1), 0u) << name << " ends at " << size;
        EXPECT_GE(size, 0x80000u) << name;
        EXPECT_EQ(chip.boundaries[chip.numBlocks + 1], 0u) << name;
        EXPECT_EQ(chip.erasureMode, 48) << name;
    }
}

// The settings of a new installation describe the simulated decoder's two
// chips sector for sector (the simulator keeps its own copy of the layout),
// so that a write in the demo erases exactly the blocks it means to.
TEST(SampleSettings, TheDefaultChipsAreTheSimulatorsChips) {
    const Settings s = LoadSettings(SampleFolder(), {});
    sim::SimulatedDecoder decoder;
    for (int c = 0; c < 2; ++c) {
        const FlashChip& chip = s.chips[c];
        sim::FlashChip& simulated = decoder.Flash(c);
        EXPECT_EQ(chip.start.toUInt(nullptr, 16), simulated.Start()) << c;
        ASSERT_EQ(chip.numBlocks, simulated.SectorCount()) << c;
        for (int i = 0; i < chip.numBlocks; ++i)
            EXPECT_EQ(chip.boundaries[i], simulated.SectorStart(i)) << c << " block " << i;
        EXPECT_EQ(chip.boundaries[chip.numBlocks], simulated.Size()) << c;
    }
}

TEST(SampleSettings, ModelsNameFlashTypesOfTheList) {
    Settings s = LoadSettings(SampleFolder(), {});
    for (int model = 1; model <= s.models.size(); ++model) {
        s.model = model;
        EXPECT_FALSE(ApplyModel(s));
        for (const FlashChip& chip : s.chips) {
            EXPECT_GE(chip.type, 0);
            EXPECT_LT(chip.type, s.flashTypes.size());
            EXPECT_GT(chip.numBlocks, 1);
        }
        EXPECT_EQ(s.chips[1].start, QStringLiteral("60000000"));
    }
}

TEST(SampleSettings, EnglishTranslatesEveryKeyAndSpanishLeavesTheDefaults) {
    const TIniFile32 english(SampleFolder() + "English.ini");
    for (const auto& d : MessageDefaults()) {
        EXPECT_FALSE(english.ReadString("English", QStringLiteral("traduc%1").arg(d.key), QString())
                         .isEmpty())
            << d.key;
    }
    MessageTable table;
    LoadLanguageFile(table, SampleFolder(), "English");
    EXPECT_EQ(table.Text(50), QStringLiteral("Settings"));
    LoadLanguageFile(table, SampleFolder(), QStringLiteral("Español"));
    for (const auto& d : MessageDefaults())
        EXPECT_EQ(table.Text(d.key), QString::fromUtf8(d.spanish));
}

TEST(Language, AFileWithOneKeyChangesOnlyThatText) {
    QTemporaryDir dir;
    QFile file(dir.filePath("Mini.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "[Mini]\r\ntraduc50=Einstellungen\r\ntraduc10=  is wrong.\r\ntraduc9=\r\ntraduc57=x\r\n");
    file.close();
    MessageTable table;
    LoadLanguageFile(table, dir.path() + "/", "Mini");
    EXPECT_EQ(table.Text(50), QStringLiteral("Einstellungen"));
    // The file's value loses its blanks; it takes those of " es incorrecta.".
    EXPECT_EQ(table.Text(10), QStringLiteral(" is wrong."));
    EXPECT_EQ(table.Text(9), MessageTable::Spanish(9));  // empty: the default
    EXPECT_EQ(table.Text(51), MessageTable::Spanish(51));
    LoadLanguageFile(table, dir.path() + "/", "Missing");
    EXPECT_EQ(table.Text(50), MessageTable::Spanish(50));
}

}  // namespace
}  // namespace velarix
