#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <unistd.h>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "expected_settings.h"
#include "shell/config_rules.h"
#include "shell/cp1252.h"
#include "shell/ini_file.h"
#include "shell/settings_file.h"

namespace velarix {
namespace {

struct SettingsTest : ::testing::Test {
    QTemporaryDir dir;
    QString Folder() const { return dir.path() + QLatin1Char('/'); }

    void Put(const QString& name, const QByteArray& text) {
        QFile file(Folder() + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QByteArray Contents(const QString& name = SettingsFileName()) const {
        QFile file(Folder() + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    Settings Load() const { return LoadSettings(Folder(), {"ttyS0", "ttyUSB0"}); }
};

TEST_F(SettingsTest, AFolderWithoutSettingsSavesEveryDefaultInOrder) {
    Settings s = LoadSettings(Folder(), {});
    ASSERT_FALSE(SaveSettings(s));
    const QByteArray expected = test::DefaultSettingsFile(dir.path());
    EXPECT_EQ(Contents().toStdString(), expected.toStdString());
}

// The names moved onto "Velarix.ini" while `work` runs: each is one whole
// write of the file, written beside it and renamed over it. The creation of
// each file beside it is watched too, so that no two renames in a row can
// be merged into one event.
int RenamesOntoTheSettingsFile(const QString& folder, const std::function<void()>& work) {
    const int watch = ::inotify_init1(IN_NONBLOCK);
    EXPECT_GE(watch, 0);
    ::inotify_add_watch(watch, folder.toLocal8Bit().constData(), IN_CREATE | IN_MOVED_TO);
    work();
    int renames = 0;
    alignas(inotify_event) char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(watch, buffer, sizeof buffer);
        if (n <= 0) break;
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if ((event->mask & IN_MOVED_TO) && event->len > 0 &&
                QByteArray(event->name) == "Velarix.ini")
                ++renames;
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    ::close(watch);
    return renames;
}

TEST_F(SettingsTest, ASaveWritesTheFileOnce) {
    Put("Velarix.ini", "[TForm1]\r\nTop=5\r\n");
    const Settings s = Load();
    EXPECT_EQ(RenamesOntoTheSettingsFile(dir.path(), [&] { ASSERT_FALSE(SaveSettings(s)); }), 1);
}

// Writing the file once leaves exactly the bytes of the key-by-key writes,
// whatever the file held: line ends of every kind, no last line end, a
// header in other letter case, the section twice, blanks and remarks, bytes
// of the code page, a section after it, no section at all, nothing at all.
TEST_F(SettingsTest, OneWholeWriteLeavesTheBytesOfTheKeyByKeyWrites) {
    const QByteArray files[] = {
        "",
        "; only a remark",
        "[TForm1]\r\nTop=5\r\nLeft=7",
        "[tform1]\nTop=5\rLeft=7\r\n\r\n[Other]\r\nTop=1\r\n",
        "[TForm1]\r\n  Top = 5 \r\n; remark\r\nTop=6\r\nPesta\xF1"
        "aActiva=3\r\n\r\n\r\n",
        "[Other]\r\nA=1\r\n[TForm1]\r\nSat-A=\x80uro\x81\r\n[TForm1]\r\nSat-B=X\r\n",
        "[TForm1]\r\nModel=1\r\nFlash1Start=12345678\r\nIdioma0=English\r\n[Z]\r\nq=\x00\x01\r\n",
        " [TForm1]\r\n[TForm1] \r\nTop=1\r\n",
    };
    int i = 0;
    for (const QByteArray& file : files) {
        QTemporaryDir oldPath, newPath;
        for (const QTemporaryDir* folder : {&oldPath, &newPath}) {
            QFile put(folder->filePath("Velarix.ini"));
            ASSERT_TRUE(put.open(QIODevice::WriteOnly));
            put.write(file);
        }
        Settings s = LoadSettings(newPath.path() + "/", {"ttyS0"});
        s.satellites[2] = QStringLiteral("\u00D1o\u20AC");
        s.top = 42 + i;
        {
            TIniFile32 keyByKey(oldPath.filePath("Velarix.ini"));  // saves after every write
            WriteSettingsKeys(s, keyByKey);
        }
        ASSERT_FALSE(SaveSettings(s));
        QFile before(oldPath.filePath("Velarix.ini")), after(newPath.filePath("Velarix.ini"));
        ASSERT_TRUE(before.open(QIODevice::ReadOnly));
        ASSERT_TRUE(after.open(QIODevice::ReadOnly));
        EXPECT_EQ(after.readAll().toStdString(), before.readAll().toStdString()) << "file " << i;
        ++i;
    }
}

// A save that was killed between writing beside the file and renaming it
// leaves "Velarix.ini.velarix-save-" and six characters; the next load
// removes it, unless it is so young that a save may still be running. The
// person's own copies stay, whatever they are called.
TEST_F(SettingsTest, LeftoversOfAnInterruptedSaveAreRemovedAtTheNextLoad) {
    const QDateTime anHourAgo = QDateTime::currentDateTimeUtc().addSecs(-3600);
    for (const char* name :
         {"Velarix.ini.velarix-save-aB3dE9", "Velarix.ini.velarix-save-Q1w2E3",
          "Velarix.ini.velarix-save-young1", "Velarix.ini.backup", "Velarix.ini.aB3dE9",
          "Velarix.ini.bak", "Velarix.ini.velarix-save-aB3dE9x", "Other.ini.velarix-save-aB3dE9"}) {
        Put(name, "[TForm1]\r\n");
        if (QByteArray(name) != "Velarix.ini.velarix-save-young1") {
            QFile file(Folder() + name);
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            ASSERT_TRUE(file.setFileTime(anHourAgo, QFileDevice::FileModificationTime));
        }
    }
    Load();
    QStringList left = QDir(Folder()).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(left, (QStringList{"Other.ini.velarix-save-aB3dE9", "Velarix.ini.aB3dE9",
                                 "Velarix.ini.backup", "Velarix.ini.bak",
                                 "Velarix.ini.velarix-save-aB3dE9x",
                                 "Velarix.ini.velarix-save-young1"}));
}

// A save leaves the settings file and nothing beside it, with the
// permissions the person gave the file.
TEST_F(SettingsTest, ASaveLeavesOnlyTheFileWithItsPermissions) {
    Put("Velarix.ini", "[TForm1]\r\n");
    const auto kept = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
    ASSERT_TRUE(QFile::setPermissions(Folder() + "Velarix.ini", kept));
    Settings s = Load();
    s.activePage = 5;
    ASSERT_FALSE(SaveSettings(s));
    EXPECT_EQ(QDir(Folder()).entryList(QDir::Files | QDir::Hidden), QStringList{"Velarix.ini"});
    EXPECT_EQ(QFile::permissions(Folder() + "Velarix.ini"), kept);
    EXPECT_EQ(Load().activePage, 5);
}

TEST_F(SettingsTest, SizesBelowTheirMinimumAreRaised) {
    Put("Velarix.ini",
        "[TForm1]\r\nWindowWidth=500\r\nWindowHeight=200\r\nForm3Height=100\r\nForm2Width=900\r\n");
    const Settings s = Load();
    EXPECT_EQ(s.windowWidth, 736);
    EXPECT_EQ(s.windowHeight, 570);
    EXPECT_EQ(s.form3Height, 358);
    EXPECT_EQ(s.form2Width, 900);
}

TEST_F(SettingsTest, ListsTakeOnlyNamesWhoseFilesExistWithoutGaps) {
    Put("Velarix.ini",
        "[TForm1]\r\nIdioma0=\r\nIdioma1=Missing\r\nIdioma3=English\r\nIdioma=0\r\n"
        "FlashIC4=AM29F040B\r\nModel2=K2002\r\nSR20=Europe\r\n");
    Put("English.ini", "[English]\r\n");
    Put("AM29F040B.ini", "[AM29F040B]\r\n");
    Put("K2002.ini", "[K2002]\r\n");
    Put("Europe.ini", "[Europe]\r\n");
    const Settings s = Load();
    EXPECT_EQ(s.languages, QStringList{"English"});
    EXPECT_EQ(s.language, 0);
    EXPECT_EQ(s.flashTypes, QStringList{"AM29F040B"});
    EXPECT_EQ(s.models, QStringList{"K2002"});
    EXPECT_EQ(s.symbolRateLists, QStringList{"Europe"});
}

TEST_F(SettingsTest, TheLastOptionButtonTurnedOnWins) {
    Put("Velarix.ini",
        "[TForm1]\r\nUsar-firm-p+s-flash=1\r\nUsar-firm-p+s-archivo=1\r\n"
        "FirmComando1=0\r\nFirmComando2=1\r\nFirmComando3=0\r\n"
        "Usar-firm-jtag-archivo=0\r\nFormato4:3=0\r\nFormatoOriginal=1\r\n");
    const Settings s = Load();
    EXPECT_EQ(s.firmwareSource, 1);  // "Archivo"
    EXPECT_EQ(s.firmwareCommand, 1);
    EXPECT_EQ(s.jtagSource, -1);  // none marked: none on
    EXPECT_EQ(s.pictureShape, 2);
}

TEST_F(SettingsTest, HeldValuesKeepTheirWidthAndTheirSliderRange) {
    Put("Velarix.ini",
        "[TForm1]\r\nRetardoStrobe=300\r\nRetardoBusy=5000\r\nCalidadJPEG=0\r\n"
        "RetardoEntreBytes=-4\r\nWStartBits=$7FFFFFFF\r\nDuracionTCK=abc\r\n");
    const Settings s = Load();
    EXPECT_EQ(s.sliders[kRetardoStrobe], 44);  // 300 held in 8 bits
    EXPECT_EQ(s.sliders[kRetardoBusy], 700);
    EXPECT_EQ(s.sliders[kCalidadJPEG], 1);
    EXPECT_EQ(s.sliders[kRetardoEntreBytes], 0);
    EXPECT_EQ(s.sliders[kWStartBits], 2048);
    EXPECT_EQ(s.sliders[kDuracionTCK], 0);
}

TEST_F(SettingsTest, PositionsBeyondAFixedListSelectNothing) {
    Put("Velarix.ini", "[TForm1]\r\nVelocidad=13\r\nParidad=-1\r\nTamano=5\r\nTCS=31\r\n");
    const Settings s = Load();
    EXPECT_EQ(s.serial.baudRate, -1);
    EXPECT_EQ(s.serial.parity, -1);
    EXPECT_EQ(s.pictureSize, -1);
    EXPECT_EQ(s.pictureWidth, 720);  // the size held stays
    EXPECT_EQ(s.tcs, 31);
}

TEST_F(SettingsTest, PositionsInListsOfPortsAndFilesSurviveAShorterList) {
    Put("Velarix.ini", "[TForm1]\r\nPuerto=5\r\nIdioma=3\r\nSR=9\r\n");
    Settings s = Load();
    EXPECT_EQ(s.serial.port, 5);
    ASSERT_FALSE(SaveSettings(s));
    const QByteArray saved = Contents();
    EXPECT_TRUE(saved.contains("Puerto=5\r\n"));
    EXPECT_TRUE(saved.contains("Idioma=3\r\n"));
    EXPECT_TRUE(saved.contains("SR=9\r\n"));
}

TEST_F(SettingsTest, TheFlashKeysBelongToTheCustomModelOnly) {
    Put("Velarix.ini",
        "[TForm1]\r\nModel1=K6003\r\nModel=1\r\nFlashIC0=Big\r\nFlashIC1=Small\r\n"
        "Flash1Start=12345678\r\nFlash1Type=1\r\n");
    Put("K6003.ini",
        "[K6003]\r\nFlash1Start=7FE00000\r\nFlash1Type=0\r\nFlash2Start=60000000\r\nFlash2Type="
        "1\r\n");
    Put("Big.ini", "[Big]\r\nNumBlocks=2\r\nblock0=0\r\nblock1=100000\r\nblock2=200000\r\n");
    Put("Small.ini", "[Small]\r\nNumBlocks=1\r\nErasureMode=16\r\nblock0=0\r\nblock1=80000\r\n");
    Settings s = Load();
    EXPECT_TRUE(s.HasNamedModel());
    EXPECT_EQ(s.chips[0].start, QStringLiteral("7FE00000"));  // the model's, not the settings'
    EXPECT_EQ(s.chips[0].boundaries[2], 0x200000u);
    EXPECT_EQ(s.chips[1].type, 1);
    EXPECT_EQ(s.chips[1].erasureMode, 16);
    ASSERT_FALSE(SaveSettings(s));
    const QByteArray saved = Contents();
    EXPECT_TRUE(saved.contains("Flash1Start=12345678\r\n"));  // untouched
    EXPECT_TRUE(saved.contains("Flash1Type=1\r\n"));
    EXPECT_FALSE(saved.contains("Flash2Start"));
}

TEST_F(SettingsTest, ACustomModelReadsItsFlashKeysAndTheirTypes) {
    Put("Velarix.ini",
        "[TForm1]\r\nFlashIC0=Big\r\nFlash1Start=7FF00000\r\nFlash1Type=0\r\nFlash2Type=7\r\n");
    Put("Big.ini",
        "[Big]\r\nNumBlocks=3\r\nErasureMode=300\r\nblock0=0\r\nblock1=4000\r\nblock2=6000\r\n"
        "block3=8000\r\nblock4=FFFF\r\n");
    const Settings s = Load();
    EXPECT_FALSE(s.HasNamedModel());
    EXPECT_EQ(s.chips[0].start, QStringLiteral("7FF00000"));
    EXPECT_EQ(s.chips[0].numBlocks, 3);
    EXPECT_EQ(s.chips[0].erasureMode, 300 & 0xFF);
    EXPECT_EQ(s.chips[0].boundaries[3], 0x8000u);
    EXPECT_EQ(s.chips[0].boundaries[4], 0u);  // beyond NumBlocks
    EXPECT_EQ(s.chips[0].boundaries[1024], 0u);
    EXPECT_EQ(s.chips[1].type, 7);  // a type the list lacks: the file's defaults
    EXPECT_EQ(s.chips[1].numBlocks, 1);
    EXPECT_EQ(s.chips[1].erasureMode, 48);
}

TEST_F(SettingsTest, BlockCountsAndBoundariesAreReadSafely) {
    Put("Velarix.ini", "[TForm1]\r\nFlashIC0=Odd\r\n");
    Put("Odd.ini",
        "[Odd]\r\nNumBlocks=5000\r\nblock0=0\r\nblock1=1f000\r\nblock2=\r\nblock1024=ABC\r\n");
    const Settings s = Load();
    EXPECT_EQ(s.chips[0].numBlocks, 1024);
    EXPECT_EQ(s.chips[0].boundaries[1], 0xFFFFFFFFu);  // lower case is not read
    EXPECT_EQ(s.chips[0].boundaries[2], 0u);
    EXPECT_EQ(s.chips[0].boundaries[1024], 0xABCu);
    EXPECT_EQ(ParseBlockBoundary("7FE0000"), 0x7FE0000u);
    EXPECT_EQ(ParseBlockBoundary(""), 0u);
    EXPECT_EQ(ParseBlockBoundary("12 3"), 0xFFFFFFFFu);
}

TEST_F(SettingsTest, TheSymbolRateTableComesFromTheChosenFile) {
    Put("Velarix.ini", "[TForm1]\r\nSR0=Europe\r\nSR=0\r\n");
    Put("Europe.ini", "[Europe]\r\nvalue00=27500\r\nvalue0A=22000\r\nvalue0F=0x6B6C\r\n");
    const Settings s = Load();
    EXPECT_EQ(s.symbolRates[0], 27500);
    EXPECT_EQ(s.symbolRates[10], 22000);
    EXPECT_EQ(s.symbolRates[15], 0x6B6C);
    EXPECT_EQ(s.symbolRates[1], 0);
}

TEST_F(SettingsTest, PictureSizeAndSatelliteNames) {
    Put("Velarix.ini", "[TForm1]\r\nTamano=0\r\nSat-A=Astra\r\nSat-D=Hispasat\r\nNumCanales=1\r\n");
    const Settings s = Load();
    EXPECT_EQ(s.pictureWidth, 352);
    EXPECT_EQ(s.pictureHeight, 576);
    EXPECT_EQ(s.satelliteNames[0], QStringLiteral("Astra"));
    EXPECT_EQ(s.satelliteNames[3], QStringLiteral("Hispasat"));
    EXPECT_EQ(s.satelliteNames[7], QStringLiteral("Astra"));
    EXPECT_EQ(s.channelRows, 2003);
}

TEST(ConfigRules, DigitAndHexadecimalFilters) {
    EXPECT_EQ(DigitFilter("", "9750"), QStringLiteral("9750"));
    EXPECT_EQ(DigitFilter("10a6-00", "10600"), QStringLiteral("10600"));
    EXPECT_EQ(HexFilter(""), std::nullopt);
    EXPECT_EQ(HexFilter("4001zx0000"), QStringLiteral("40010000"));
    EXPECT_EQ(HexFilter("c0Gh1"), QStringLiteral("C01"));
}

TEST(ConfigRules, TheTrapAddressFallsToAMultipleOfFour) {
    EXPECT_EQ(AlignTrapAddress("40010003"), QStringLiteral("40010000"));
    EXPECT_EQ(AlignTrapAddress("C030290F"), QStringLiteral("C030290C"));
    EXPECT_EQ(AlignTrapAddress("1F"), QStringLiteral("0000001C"));
    EXPECT_EQ(AlignTrapAddress(""), QStringLiteral("00000000"));
}

TEST(ConfigRules, TablePositionsAreKeptApart) {
    EXPECT_EQ(KeepApart(3, 3), 2);  // 30000 against 30000: 20000
    EXPECT_EQ(KeepApart(0, 0), 1);  // 00000 against 00000: 10000
    EXPECT_EQ(KeepApart(5, 2), 5);
}

TEST(ConfigRules, SatelliteNames) {
    EXPECT_EQ(SatelliteNameRule("", "Hotbird"), std::make_pair(QString("A"), QString("Hotbird")));
    EXPECT_EQ(SatelliteNameRule("Astra", ""), std::make_pair(QString("Astra"), QString("B")));
    EXPECT_EQ(SatelliteNameRule("Hotbird", "Hotbird"), std::make_pair(QString("A"), QString("B")));
    EXPECT_EQ(SatelliteNameRule("hotbird", "Hotbird"),
              std::make_pair(QString("hotbird"), QString("Hotbird")));
}

TEST(ConfigRules, FactoryDefaultsChangeSelectionsButNotWhatTheirHandlersWouldApply) {
    Settings s;
    s.flashTypes = {"A", "B"};
    s.ports = {"ttyS0"};
    s.pictureSize = 4;
    s.symbolRates[0] = 30000;
    s.chips[0].type = 1;
    s.chips[0].numBlocks = 35;
    s.sliders[kRetardoBusy] = 77;
    s.satellites[0] = QStringLiteral("Astra");
    s.language = 1;
    ApplyFactoryDefaults(s);
    EXPECT_EQ(s.pictureSize, 1);     // "528 x 576" shown ...
    EXPECT_EQ(s.pictureWidth, 720);  // ... while the next decode keeps 720
    EXPECT_EQ(s.channelCount, 1);
    EXPECT_EQ(s.channelRows, 1000);  // the grid keeps its size
    EXPECT_EQ(s.transponderRows, 100);
    EXPECT_EQ(s.symbolRates[0], 30000);
    EXPECT_EQ(s.chips[0].type, 0);
    EXPECT_EQ(s.chips[0].numBlocks, 35);  // chip 1's data stays until its type is chosen
    EXPECT_EQ(s.chips[0].start, QStringLiteral("60000000"));
    EXPECT_EQ(s.sliders[kRetardoBusy], 500);
    EXPECT_EQ(s.sliders[kRetardoComienzo], 3000);
    EXPECT_EQ(s.serial.baudRate, 6);
    EXPECT_EQ(s.symbolRateList, -1);  // the list has no position 7
    EXPECT_EQ(s.satellites[0], QStringLiteral("Astra"));
    EXPECT_EQ(s.language, 1);
}

}  // namespace
}  // namespace velarix
