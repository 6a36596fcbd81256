#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "shell/cp1252.h"
#include "shell/ini_file.h"

namespace velarix {
namespace {

struct IniFileTest : ::testing::Test {
    QTemporaryDir dir;
    QString Path() const { return dir.filePath("Velarix.ini"); }

    void Put(const QByteArray& bytes) {
        QFile file(Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray Contents() const {
        QFile file(Path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(IniFileTest, IntegersInDecimalAndHexadecimal) {
    Put("[TForm1]\r\na=0x1F\r\nb=0X1F\r\nc=$1F\r\nd=1F\r\ne=-12\r\nf=+7\r\ng=$FFFFFFFF\r\nh="
        "99999999999\r\ni=0x\r\n");
    TIniFile32 ini(Path());
    EXPECT_EQ(ini.ReadInteger("TForm1", "a", 5), 31);
    EXPECT_EQ(ini.ReadInteger("TForm1", "b", 5), 31);
    EXPECT_EQ(ini.ReadInteger("TForm1", "c", 5), 31);
    EXPECT_EQ(ini.ReadInteger("TForm1", "d", 5), 5);  // 1F alone is no number
    EXPECT_EQ(ini.ReadInteger("TForm1", "e", 5), -12);
    EXPECT_EQ(ini.ReadInteger("TForm1", "f", 5), 7);
    EXPECT_EQ(ini.ReadInteger("TForm1", "g", 5), -1);
    EXPECT_EQ(ini.ReadInteger("TForm1", "h", 5), 5);  // does not fit 32 bits
    EXPECT_EQ(ini.ReadInteger("TForm1", "i", 5), 5);  // "0x" is not replaced: two characters only
    EXPECT_TRUE(ini.ReadBool("TForm1", "a", false));
    EXPECT_FALSE(ini.ReadBool("TForm1", "missing", false));
}

TEST_F(IniFileTest, BlanksAroundKeysAndValuesAreIgnored) {
    Put("[TForm1]\n  Top  =  12  \nEmpty=\nBlank=   \n");
    TIniFile32 ini(Path());
    EXPECT_EQ(ini.ReadInteger("TForm1", "Top", 0), 12);
    EXPECT_EQ(ini.ReadString("TForm1", "Empty", "def"), QStringLiteral("def"));
    EXPECT_EQ(ini.ReadString("TForm1", "Blank", "def"), QStringLiteral("def"));
}

TEST_F(IniFileTest, KeysMatchWithTheirCaseSectionsWithoutIt) {
    Put("[tform1]\rtop=1\rTop=2\r[ Other ]\rTop=3\r");
    TIniFile32 ini(Path());
    EXPECT_EQ(ini.ReadInteger("TForm1", "Top", 0), 2);
    EXPECT_EQ(ini.ReadInteger("TForm1", "TOP", 0), 0);
    EXPECT_EQ(ini.ReadInteger("Other", "Top", 0), 0);  // the header has blanks inside its brackets
}

TEST_F(IniFileTest, ASectionEndsAtTheNextBracketedLine) {
    Put("[A]\nx=1\n  [B]  \nx=2\n[A]\ny=3\n");
    TIniFile32 ini(Path());
    EXPECT_EQ(ini.ReadInteger("A", "x", 0), 1);
    EXPECT_EQ(ini.ReadInteger("B", "x", 0), 0);  // "  [B]  " ends A but is not B's header
    EXPECT_EQ(ini.ReadInteger("A", "y", 0), 0);  // only the first [A] counts
}

TEST_F(IniFileTest, TextIsWindows1252) {
    Put("[TForm1]\r\nPesta\xF1"
        "aActiva=3\r\nSat-A=Hisp\xE1sat \x80\r\n");
    TIniFile32 ini(Path());
    EXPECT_EQ(ini.ReadInteger("TForm1", QStringLiteral("PestañaActiva"), 0), 3);
    EXPECT_EQ(ini.ReadString("TForm1", "Sat-A", ""), QStringLiteral("Hispásat €"));
    ini.WriteString("TForm1", "Sat-B", QStringLiteral("Türksat ✓"));
    EXPECT_TRUE(Contents().contains("Sat-B=T\xFCrksat ?\r\n"));
}

TEST_F(IniFileTest, WritingReplacesTheLineInPlaceAndKeepsEverythingElse) {
    Put("; remark\r\n[TForm1]\r\nTop=1\r\n; keep me\r\nLeft=2\r\n");
    TIniFile32 ini(Path());
    ini.WriteInteger("TForm1", "Top", 40);
    EXPECT_EQ(Contents(), QByteArray("; remark\r\n[TForm1]\r\nTop=40\r\n; keep me\r\nLeft=2\r\n"));
}

TEST_F(IniFileTest, ANewKeyGoesAfterTrailingBlankLinesBeforeTheNextHeader) {
    Put("[TForm1]\nTop=1\n\n\n[Other]\nx=1");
    TIniFile32 ini(Path());
    ini.WriteBool("TForm1", "Checksum", true);
    EXPECT_EQ(Contents(),
              QByteArray("[TForm1]\r\nTop=1\r\n\r\n\r\nChecksum=1\r\n[Other]\r\nx=1\r\n"));
}

TEST_F(IniFileTest, ANewSectionIsAppendedAfterAnEmptyLine) {
    Put("[Other]\nx=1\n");
    TIniFile32 ini(Path());
    ini.WriteString("TForm1", "DirecJtag", "7FE00000");
    EXPECT_EQ(Contents(), QByteArray("[Other]\r\nx=1\r\n\r\n[TForm1]\r\nDirecJtag=7FE00000\r\n"));
}

TEST_F(IniFileTest, AMissingFileAndFolderComeIntoBeingAtTheFirstWrite) {
    TIniFile32 ini(dir.filePath("new/folder/Velarix.ini"));
    EXPECT_EQ(ini.ReadString("TForm1", "Top", "d"), QStringLiteral("d"));
    ini.WriteInteger("TForm1", "Top", 3);
    EXPECT_TRUE(ini.LastError().isEmpty());
    EXPECT_EQ(TIniFile32(dir.filePath("new/folder/Velarix.ini")).ReadInteger("TForm1", "Top", 0),
              3);
}

TEST_F(IniFileTest, ASaveThatCannotBeWrittenIsReported) {
    Put("not a folder");
    TIniFile32 ini(dir.filePath("Velarix.ini/inside.ini"));
    ini.WriteInteger("TForm1", "Top", 2);
    EXPECT_FALSE(ini.LastError().isEmpty());
    EXPECT_EQ(Contents(), QByteArray("not a folder"));
}

TEST(Cp1252, RoundTripsEveryDefinedByte) {
    QByteArray all;
    for (int b = 0; b < 256; ++b) all.append(static_cast<char>(b));
    EXPECT_EQ(ToCp1252(FromCp1252(all)), all);
    EXPECT_EQ(FromCp1252("\x80\x9F\xF1"), QStringLiteral("€Ÿñ"));
}

}  // namespace
}  // namespace velarix
