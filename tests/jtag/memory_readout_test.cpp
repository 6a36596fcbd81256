#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "eeprom/eeprom_image.h"
#include "jtag/memory_readout.h"
#include "shell/message_table.h"
#include "sim_cable.h"
#include "test_files.h"
#include "test_frame.h"

namespace velarix {
namespace {

using D = ReadDestination;

TEST(ReadOutBoxesTest, TypingKeepsUpperCaseHexadecimalDigitsOnly) {
    EXPECT_EQ(TypedHex(QStringLiteral("7fe0 0000")), QStringLiteral("7FE00000"));
    EXPECT_EQ(TypedHex(QStringLiteral("x4g0-1;2h")), QStringLiteral("4012"));
    EXPECT_EQ(TypedHex(QString()), QString());
}

TEST(ReadOutBoxesTest, LeavingTheAddressBoxAlignsToFourAndShowsEightDigits) {
    EXPECT_EQ(AddressOnLeaving(QStringLiteral("40128A03")), QStringLiteral("40128A00"));
    EXPECT_EQ(AddressOnLeaving(QStringLiteral("7F0")), QStringLiteral("000007F0"));
    EXPECT_EQ(AddressOnLeaving(QString()), QStringLiteral("00000000"));
    EXPECT_EQ(AddressOnLeaving(QStringLiteral("123456789")), QStringLiteral("401289A0"));
}

TEST(ReadOutBoxesTest, LeavingTheLengthBoxReplacesZeroAndLongTextsAndShowsSixDigits) {
    EXPECT_EQ(LengthOnLeaving(QStringLiteral("0")), QStringLiteral("000004"));
    EXPECT_EQ(LengthOnLeaving(QString()), QStringLiteral("000004"));
    EXPECT_EQ(LengthOnLeaving(QStringLiteral("1234567")), QStringLiteral("050000"));
    EXPECT_EQ(LengthOnLeaving(QStringLiteral("0000000")), QStringLiteral("000004"));
    EXPECT_EQ(LengthOnLeaving(QStringLiteral("1000000")), QStringLiteral("050000"));
    EXPECT_EQ(LengthOnLeaving(QStringLiteral("3000002")), QStringLiteral("050000"));
    EXPECT_EQ(LengthOnLeaving(QStringLiteral("7603")), QStringLiteral("007600"));
    // 1 to 3 would round down to nothing: they become the first item too.
    EXPECT_EQ(LengthOnLeaving(QStringLiteral("3")), QStringLiteral("000004"));
    EXPECT_EQ(LengthOnLeaving(QStringLiteral("1")), QStringLiteral("000004"));
    EXPECT_EQ(LengthOnLeaving(QStringLiteral("FFFFFF")), QStringLiteral("FFFFFC"));
}

TEST(ReadOutBoxesTest, TheAddressListIsSorted) {
    QStringList sorted = JtagAddressEntries();
    sorted.sort();
    EXPECT_EQ(sorted, JtagAddressEntries());
    EXPECT_EQ(JtagAddressEntries().size(), 10);
    EXPECT_EQ(JtagLengthEntries().first(), QStringLiteral("4"));
    EXPECT_EQ(JtagLengthEntries().at(4), QStringLiteral("50000"));
}

TEST(ReadOutRangesTest, EachDestinationPresetsItsRange) {
    Settings s;
    s.chips[1].start = QStringLiteral("7FE00000");
    EXPECT_EQ(PresetRange(D::RamTable, s)->address, QStringLiteral("401289A0"));
    EXPECT_EQ(PresetRange(D::RamTable, s)->length, QStringLiteral("7600"));
    s.channelCount = 1;  // "2000"
    EXPECT_EQ(PresetRange(D::RamTable, s)->length, QStringLiteral("EC00"));
    EXPECT_EQ(PresetRange(D::FlashTable, s)->address, QStringLiteral("7FE00000"));
    EXPECT_EQ(PresetRange(D::FlashTable, s)->length, QStringLiteral("50000"));
    EXPECT_EQ(PresetRange(D::Picture, s)->address, QStringLiteral("C00D0000"));
    EXPECT_EQ(PresetRange(D::Picture, s)->length, QStringLiteral("98000"));
    EXPECT_EQ(PresetRange(D::Eeprom, s)->address, QStringLiteral("00000000"));
    EXPECT_EQ(PresetRange(D::Eeprom, s)->length, QStringLiteral("00800"));
    EXPECT_FALSE(PresetRange(D::File, s).has_value());
}

TEST(ReadOutRangesTest, EachDestinationAcceptsItsOwnRangeOnly) {
    Settings s;
    s.chips[1].start = QStringLiteral("60000000");
    s.chips[1].numBlocks = 2;
    s.chips[1].boundaries[1] = 0x100000;
    s.chips[1].boundaries[2] = 0x200000;
    EXPECT_TRUE(RangeAccepted(D::RamTable, 0x401289A0, 0x7600, s));
    EXPECT_FALSE(RangeAccepted(D::RamTable, 0x401289A0, 0x75FC, s));
    EXPECT_FALSE(RangeAccepted(D::RamTable, 0x40200000, 0x7600, s));
    EXPECT_FALSE(RangeAccepted(D::RamTable, 0x3FFFFFFC, 0x7600, s));
    EXPECT_TRUE(RangeAccepted(D::FlashTable, 0x601FFFFC, 0x50000, s));
    EXPECT_FALSE(RangeAccepted(D::FlashTable, 0x60200000, 0x50000, s));
    EXPECT_FALSE(RangeAccepted(D::FlashTable, 0x60000000, 0x4FFFC, s));
    EXPECT_TRUE(RangeAccepted(D::Picture, 0xC00D0000, 0x98000, s));
    EXPECT_FALSE(RangeAccepted(D::Picture, 0xBFFFFFFC, 0x98000, s));
    EXPECT_FALSE(RangeAccepted(D::Picture, 0xC00D0000, 0x97FFC, s));
    EXPECT_TRUE(RangeAccepted(D::Eeprom, 0x7F0, 0x10, s));
    EXPECT_FALSE(RangeAccepted(D::Eeprom, 0x7F0, 0x20, s));
    EXPECT_FALSE(RangeAccepted(D::Eeprom, 0x800, 0x4, s));
    EXPECT_TRUE(RangeAccepted(D::File, 0xFFFFFFFC, 0xFFFFFC, s));
}

TEST(ReadOutRangesTest, TheLengthAskedIsWholeBlocksOrOneShortOfThem) {
    EXPECT_EQ(RequestedLength(0x4), 0xFF);
    EXPECT_EQ(RequestedLength(0x7600), 0x7600);
    EXPECT_EQ(RequestedLength(0x7604), 0x76FF);
    EXPECT_EQ(ReadBufferSize(D::File, 0xFF), 257);
    EXPECT_EQ(ReadBufferSize(D::File, 0x7600), 0x7601);
    EXPECT_EQ(ReadBufferSize(D::Eeprom, 0xFF), 257);
    EXPECT_EQ(ReadBufferSize(D::Eeprom, 0x100), 2049);
}

struct ReadOutTest : ::testing::Test {
    test::SimJtag sim;
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("out.bin"));
    ReadOutDelivery delivery;

    ReadOutTest() {
        delivery.chooseFile = [this] { return std::optional<QString>(path); };
    }
    ReadResult Read(D destination, const QString& address, const QString& length) {
        return ReceiveFromTarget(sim.env, destination, address, length, delivery);
    }
    int Reads() { return sim.target.Controller().ReadsServed(); }
};

TEST_F(ReadOutTest, LengthFourAsksFFBytesGetsOneBlockAndWritesFourBytes) {
    const ReadResult result = Read(D::File, "7FE00010", "4");
    EXPECT_EQ(result.outcome, ReadOutcome::Done);
    EXPECT_EQ(result.received, 256);
    EXPECT_EQ(Reads(), 1);
    EXPECT_EQ(test::FileContents(path), sim.decoder.Flash(0).Bytes().mid(0x10, 4));
    EXPECT_EQ(sim.frame.ProgressMaximum(StatusPage::FirmwareJtag), 4);
    EXPECT_EQ(sim.Boxes(), QStringList{"¡ Firmware leído con éxito !"});
}

TEST_F(ReadOutTest, Length7600ReadsExactly7600Bytes) {
    const ReadResult result = Read(D::File, "7FE00000", "7600");
    EXPECT_EQ(result.received, 0x7600);
    EXPECT_EQ(Reads(), 0x76);
    EXPECT_EQ(test::FileContents(path), sim.decoder.Flash(0).Bytes().left(0x7600));
}

TEST_F(ReadOutTest, TheFrameShowsTheTaskAndEndsCleared) {
    Read(D::File, "7FE00000", "100");
    EXPECT_EQ(sim.frame.fields.count({StatusPage::FirmwareJtag, StatusField::Task}), 1u);
    EXPECT_EQ(sim.frame.StatusFieldText(StatusPage::FirmwareJtag, StatusField::Task), QString());
    EXPECT_EQ(sim.frame.errorHistory[StatusPage::FirmwareJtag].first(), QStringLiteral("0"));
    EXPECT_EQ(sim.frame.Progress(StatusPage::FirmwareJtag), 0);
    EXPECT_EQ(sim.Log(), (QStringList{"Abriendo LPT1", "Reset DCU activado",
                                      "Estado de la DCU : Run-Test/Idle", "Recibiendo datos...",
                                      "Reset DCU desactivado", "¡ Firmware leído con éxito !",
                                      "Cerrando LPT1"}));
    EXPECT_EQ(sim.frame.busyCount, 1);
    EXPECT_EQ(sim.frame.endBusyCount, 1);
    EXPECT_FALSE(sim.frame.busy);
}

TEST_F(ReadOutTest, CancellingTheFileDialogEndsEverything) {
    delivery.chooseFile = [] { return std::optional<QString>(); };
    EXPECT_EQ(Read(D::File, "7FE00000", "100").outcome, ReadOutcome::Cancelled);
    EXPECT_EQ(sim.portsOpened, 0);
    EXPECT_TRUE(sim.Log().isEmpty());
}

TEST_F(ReadOutTest, ARangeRefusedForItsDestinationStillClosesThePort) {
    EXPECT_EQ(Read(D::Picture, "BFFFFFFC", "98000").outcome, ReadOutcome::Refused);
    EXPECT_EQ(Read(D::Eeprom, "7F0", "20").outcome, ReadOutcome::Refused);
    EXPECT_EQ(sim.Boxes(), (QStringList{"¡ Dirección o longitud incorrecta !",
                                        "¡ Dirección o longitud incorrecta !"}));
    EXPECT_EQ(sim.Log(),
              (QStringList{"Abriendo LPT1", "Cerrando LPT1", "Abriendo LPT1", "Cerrando LPT1"}));
    EXPECT_EQ(sim.frame.endBusyCount, 2);
    EXPECT_TRUE(sim.Commands().empty());
}

TEST_F(ReadOutTest, APortThatCannotBeOpenedEndsTheTask) {
    sim.portFails = true;
    EXPECT_EQ(Read(D::File, "7FE00000", "100").outcome, ReadOutcome::NoPort);
    EXPECT_EQ(sim.Boxes(), QStringList{"No se ha podido abrir el puerto paralelo.\nno port here"});
    EXPECT_EQ(sim.Log(), QStringList{"Abriendo LPT1"});
    EXPECT_EQ(sim.frame.busyCount, 1);
    EXPECT_EQ(sim.frame.endBusyCount, 1);
}

TEST_F(ReadOutTest, AShortReadNamesTheFirstAddressNotReadAndWritesNothing) {
    sim.Faults().lengthByte = 0x80;  // half blocks
    sim.Faults().extraBytes = 0;
    sim.Faults().tdo = sim::JtagFaults::Tdo::StuckLow;
    EXPECT_EQ(Read(D::File, "7FE00000", "400").outcome, ReadOutcome::ShortRead);
    EXPECT_EQ(sim.Boxes(), QStringList{"Se ha producido un error en la dirección :  7FE00000"});
    EXPECT_TRUE(sim.frame.errorHistory[StatusPage::FirmwareJtag].contains("1"));
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(ReadOutTest, AFileThatCannotBeWrittenIsNoSuccess) {
    path = dir.filePath(QStringLiteral("missing/out.bin"));
    EXPECT_EQ(Read(D::File, "7FE00000", "100").outcome, ReadOutcome::NotWritten);
    ASSERT_EQ(sim.frame.boxes.size(), 1);
    EXPECT_EQ(sim.frame.boxes[0].kind, BoxKind::Error);
}

// Lengths and addresses too long for the boxes (a settings file, a script)
// are taken as the boxes would leave them.
TEST_F(ReadOutTest, TextsTheBoxesNeverSawAreCleanedUpFirst) {
    EXPECT_EQ(Read(D::File, "7fe0 0003", "FFFFFFFFFFFF").received, 0x50000);
}

TEST_F(ReadOutTest, TheCapturedPictureIsTheFrameMemory) {
    QByteArray picture;
    delivery.picture = [&](const QByteArray& bytes) { picture = bytes; };
    EXPECT_EQ(Read(D::Picture, "C00D0000", "98000").outcome, ReadOutcome::Done);
    EXPECT_EQ(picture, sim::TestFrame(720));
}

TEST_F(ReadOutTest, TheTablesGetTheBytesRead) {
    QByteArray ram, flash;
    delivery.ramTable = [&](const QByteArray& bytes) { ram = bytes; };
    delivery.flashTable = [&](const QByteArray& bytes) { flash = bytes; };
    EXPECT_EQ(Read(D::RamTable, "401289A0", "7600").outcome, ReadOutcome::Done);
    EXPECT_EQ(ram, sim.decoder.Ram().mid(0x1289A0, 0x7600));
    sim.settings.chips[1].boundaries[1] = 0x200000;
    EXPECT_EQ(Read(D::FlashTable, "60000000", "50000").outcome, ReadOutcome::Done);
    EXPECT_EQ(flash, sim.decoder.Flash(1).Bytes().left(0x50000));
}

TEST_F(ReadOutTest, TheEepromComesThroughTheTrapRoutineIntoTheImage) {
    EepromImage image;
    int told = 0;
    delivery.eeprom = &image;
    delivery.eepromChanged = [&] { ++told; };
    QByteArray eeprom = sim.decoder.Eeprom();
    eeprom[0x7F5] = '\x3C';
    sim.decoder.SetEeprom(eeprom);
    const ReadResult result = Read(D::Eeprom, "7F0", "10");
    EXPECT_EQ(result.outcome, ReadOutcome::Done);
    EXPECT_EQ(told, 1);
    const QByteArray bytes = image.GetImageBytes();
    EXPECT_EQ(bytes.mid(0x7F0, 0x10), eeprom.mid(0x7F0, 0x10));
    EXPECT_EQ(bytes.left(0x7F0), QByteArray(0x7F0, '\xFF'));  // the rest untouched
    EXPECT_EQ(sim.Boxes(), QStringList{"¡ Eeprom leída con éxito !"});
    EXPECT_TRUE(sim.Log().contains("¡ Rutina trap enviada con éxito !"));
    EXPECT_TRUE(sim.Log().contains("Leyendo la eeprom..."));
    EXPECT_FALSE(sim.Log().contains("Recibiendo datos..."));

    // Read again in the same run: the routine is not sent twice.
    EXPECT_EQ(Read(D::Eeprom, "0", "800").outcome, ReadOutcome::Done);
    EXPECT_EQ(image.GetImageBytes(), eeprom);
    EXPECT_TRUE(sim.Log().contains("La rutina trap ya estaba presente en RAM."));
}

TEST_F(ReadOutTest, AnEepromReadWithoutTheRoutineIsAShortRead) {
    EepromImage image;
    delivery.eeprom = &image;
    sim.trapRoutine = QByteArray();
    EXPECT_EQ(Read(D::Eeprom, "0", "800").outcome, ReadOutcome::ShortRead);
    EXPECT_EQ(sim.Boxes(), (QStringList{"No se ha encontrado el fichero trap.bin",
                                        "Se ha producido un error en la dirección :  00000000"}));
    EXPECT_EQ(image.GetImageBytes(), QByteArray(0x800, '\xFF'));
}

}  // namespace
}  // namespace velarix
