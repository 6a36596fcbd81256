#include <gtest/gtest.h>

#include "jtag/cpu_identification.h"
#include "shell/message_table.h"
#include "sim_cable.h"

namespace velarix {
namespace {

const QString kMaker = QStringLiteral("Fabricante : STMicroelectronics");
const QString kDashes = QStringLiteral("----------------------------------------");

TEST(IdentificationLinesTest, AnSti5500RevisionTwo) {
    EXPECT_EQ(IdentificationLines(0x2D0C9041),
              (QStringList{kMaker, "Familia : ST20", "Variante : STi5500", "Revisión : 2"}));
    EXPECT_EQ(IdcodeLine(0x2D0C9041), QStringLiteral("Código de la CPU (IDCODE) : 2D0C9041"));
}

TEST(IdentificationLinesTest, FamilyTwentyTwoIsUnknownAndHasNoRevision) {
    // Low 12 bits 041h, family (bits 22-26) 22, variant 0C9h.
    EXPECT_EQ(IdentificationLines(0x258C9041), (QStringList{kMaker, "Familia : Desconocida"}));
}

TEST(IdentificationLinesTest, NoAnswerAndOtherMakers) {
    const QString wrong = QStringLiteral(
        "¡Código de CPU erroneo!  Comprueba que el decodificador esté encendido y que el jtag "
        "esté bien construido.");
    EXPECT_EQ(IdentificationLines(0xFFFFFFFF), QStringList{wrong});
    EXPECT_EQ(IdentificationLines(0), QStringList{wrong});
    EXPECT_EQ(IdentificationLines(0x2D0C9043), QStringList{"¡ Fabricante desconocido !"});
}

TEST(IdentificationLinesTest, EveryVariantOfTheTableAndFamilyTwentyOne) {
    const struct {
        std::uint32_t variant;
        const char* line;
    } table[] = {{0x193, "Variante : ST20-TP2"}, {0x198, "Variante : ST20-TP4"},
                 {0x0C9, "Variante : STi5500"},  {0x1D9, "Variante : STi5500"},
                 {0x0CB, "Variante : STi5505"},  {0x002, "Variante : STi5508"},
                 {0x0CD, "Variante : STi5510"},  {0x001, "Variante : STi5512"},
                 {0x006, "Variante : STi5512"},  {0x007, "Variante : STi5512"},
                 {0x005, "Variante : STi5518"}};
    for (const auto& row : table) {
        for (std::uint32_t family : {20u, 21u}) {
            const std::uint32_t id = (0xAu << 28) | (family << 22) | (row.variant << 12) | 0x041;
            EXPECT_EQ(IdentificationLines(id),
                      (QStringList{kMaker, "Familia : ST20", row.line, "Revisión : A"}))
                << std::hex << id;
        }
    }
    const QStringList unknown = IdentificationLines(0x1503F041);
    ASSERT_EQ(unknown.size(), 5);
    EXPECT_EQ(unknown[2], QStringLiteral("Variante : Desconocida"));
    EXPECT_TRUE(unknown[3].startsWith(QStringLiteral("Por favor, envía un email")));
    EXPECT_EQ(unknown[4], QStringLiteral("Revisión : 1"));
}

TEST(IdentifyCpuTest, ReadsTheRegisterThroughTheCableAndLogsThePagesLines) {
    test::SimJtag sim;
    sim.target.SetIdcode(0x151D9041);  // family 20, variant 1D9h, revision 1
    EXPECT_EQ(IdentifyCpu(sim.env), 0x151D9041u);
    EXPECT_EQ(sim.Log(), (QStringList{"Abriendo LPT1", "Reset DCU activado",
                                      "Estado de la DCU : Run-Test/Idle", kDashes,
                                      "Código de la CPU (IDCODE) : 151D9041", kMaker,
                                      "Familia : ST20", "Variante : STi5500", "Revisión : 1",
                                      kDashes, "Reset DCU desactivado", "Cerrando LPT1"}));
    EXPECT_EQ(sim.frame.busyCount, 1);
    EXPECT_EQ(sim.frame.endBusyCount, 1);
    EXPECT_FALSE(sim.target.ResetLineHigh());
}

TEST(IdentifyCpuTest, ADeadCableReadsAllOnesOrAllZeros) {
    test::SimJtag sim;
    sim.Faults().tdo = sim::JtagFaults::Tdo::StuckLow;
    EXPECT_EQ(IdentifyCpu(sim.env), 0u);
    sim.Faults().tdo = sim::JtagFaults::Tdo::StuckHigh;
    EXPECT_EQ(IdentifyCpu(sim.env), 0xFFFFFFFFu);
    EXPECT_EQ(sim.Log().filter(QStringLiteral("erroneo")).size(), 2);
}

TEST(IdentifyCpuTest, APortThatCannotBeOpenedIsReportedBeforeTheTaskStarts) {
    test::SimJtag sim;
    sim.portFails = true;
    EXPECT_FALSE(IdentifyCpu(sim.env).has_value());
    EXPECT_EQ(sim.Boxes(), QStringList{"No se ha podido abrir el puerto paralelo.\nno port here"});
    EXPECT_EQ(sim.Log(), QStringList{"Abriendo LPT1"});
    EXPECT_EQ(sim.frame.busyCount, 0);
}

}  // namespace
}  // namespace velarix
