#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTabBar>
#include <QTest>

#include "configuration_page.h"
#include "shell/ini_file.h"
#include "shell/message_keys.h"
#include "shell/message_table.h"
#include "shell/settings_file.h"
#include "tuning/table_rows.h"
#include "tuning_page.h"
#include "window_doubles.h"

namespace velarix {
namespace {

using test::TestWindow;
using test::WindowOptions;

template <typename T = QWidget>
T* Named(TestWindow& w, const char* name) {
    return w.form.findChild<T*>(QString::fromLatin1(name));
}

QComboBox* List(TestWindow& w, const char* name) {
    return Named<QComboBox>(w, name);
}

// The message table is shared by the whole program; a test that switches the
// language puts the Spanish texts back.
struct ConfigurationPageTest : ::testing::Test {
    ~ConfigurationPageTest() override { Messages().ResetToDefaults(); }
};

TEST_F(ConfigurationPageTest, SevenSubPagesAndJTagFirst) {
    TestWindow w;
    auto* pages = w.form.Configuration()->SubPages();
    QStringList captions;
    for (int i = 0; i < pages->count(); ++i) captions << pages->tabText(i);
    EXPECT_EQ(captions,
              (QStringList{"Puerto Serie", "Puerto Paralelo", QStringLiteral("Sintonización"),
                           "Terminal", "Idioma", " JTag ", "Imagen"}));
    EXPECT_EQ(pages->currentIndex(), 5);
}

TEST_F(ConfigurationPageTest, EveryControlOfThePageExistsByName) {
    TestWindow w;
    const char* names[] = {
        "ComboBox2",  "ComboBox3",     "ComboBox4",     "ComboBox8",     "ComboBox9",  "ComboBox5",
        "ComboBox11", "TrackBar1",     "TrackBar2",     "TrackBar3",     "TrackBar4",  "TrackBar5",
        "TrackBar6",  "TrackBar7",     "TrackBar8",     "TrackBar9",     "TrackBar10", "TrackBar11",
        "TrackBar12", "TrackBar13",    "TrackBar14",    "TrackBar15",    "TrackBar16", "ComboBox13",
        "ComboBox14", "Edit2",         "Edit3",         "Edit4",         "Edit5",      "Edit31",
        "Edit32",     "ComboBox15",    "ComboBox16",    "ComboBox17",    "CheckBox2",  "ComboBox10",
        "ComboBox18", "CheckBox4",     "CheckBox5",     "CheckBox6",     "ComboBox51", "ComboBox21",
        "ComboBox20", "ComboBox19",    "ComboBox22",    "ComboBox23",    "GroupBox17", "GroupBox18",
        "ComboBox12", "RadioButton10", "RadioButton11", "RadioButton12", "Button5"};
    for (const char* name : names) EXPECT_NE(Named(w, name), nullptr) << name;
    EXPECT_EQ(Named<QLabel>(w, "Label88")->text(), QStringLiteral("ms"));
    EXPECT_EQ(List(w, "ComboBox3")->count(), 13);
    EXPECT_EQ(List(w, "ComboBox13")->itemText(31), QStringLiteral("1F0000"));
    EXPECT_EQ(List(w, "ComboBox8")->itemText(2), QStringLiteral("Impar"));
    EXPECT_EQ(Named<QSlider>(w, "TrackBar11")->maximum(), 5000);
}

TEST_F(ConfigurationPageTest, TheStartShowsTheDefaultsOfAMissingFile) {
    TestWindow w;
    EXPECT_EQ(List(w, "ComboBox3")->currentText(), QStringLiteral("9600"));
    EXPECT_EQ(List(w, "ComboBox4")->currentText(), QStringLiteral("7"));
    EXPECT_EQ(List(w, "ComboBox8")->currentText(), QStringLiteral("Impar"));
    EXPECT_EQ(List(w, "ComboBox5")->currentText(), QStringLiteral("Software"));
    EXPECT_EQ(List(w, "ComboBox11")->currentText(), QStringLiteral("378-37F, 778-77A"));
    EXPECT_EQ(List(w, "ComboBox12")->currentText(), QStringLiteral("720 x 576"));
    EXPECT_EQ(List(w, "ComboBox21")->currentText(), QStringLiteral("Personalizado"));
    EXPECT_EQ(Named<QSlider>(w, "TrackBar10")->value(), 300);
    EXPECT_EQ(Named<QLabel>(w, "Label174")->text(), QStringLiteral("300"));
    EXPECT_TRUE(Named<QCheckBox>(w, "CheckBox2")->isChecked());
    EXPECT_FALSE(Named<QComboBox>(w, "ComboBox51")->isEnabled());
    EXPECT_EQ(Named<QRadioButton>(w, "RadioButton11")->isChecked(), true);  // "4:3"
}

TEST_F(ConfigurationPageTest, SettingsAreReadAtStartAndWrittenAtClose) {
    TestWindow w(WindowOptions{.settingsFile = "[TForm1]\r\nWindowWidth=900\r\nWindowHeight=700\r\n"
                                               "Pesta\xF1"
                                               "aActiva=6\r\nTamano=0\r\nRetardoBusy=650\r\n"
                                               "Checksum=0\r\nTCS=4\r\n"});
    EXPECT_EQ(w.form.size(), QSize(900, 700));
    EXPECT_EQ(w.form.Pages()->currentIndex(), 6);
    EXPECT_EQ(List(w, "ComboBox12")->currentText(), QStringLiteral("352 x 576"));
    EXPECT_EQ(Named<QSlider>(w, "TrackBar10")->value(), 650);
    EXPECT_FALSE(Named<QCheckBox>(w, "CheckBox2")->isChecked());
    Named<QSlider>(w, "TrackBar1")->setValue(42);
    List(w, "ComboBox3")->setCurrentIndex(12);
    w.form.resize(1000, 720);
    ASSERT_FALSE(w.form.SaveSettingsNow());
    const TIniFile32 saved(w.settingsFolder.filePath("Velarix.ini"));
    EXPECT_EQ(saved.ReadInteger("TForm1", "RetardoStrobe", 0), 42);
    EXPECT_EQ(saved.ReadInteger("TForm1", "Velocidad", 0), 12);
    EXPECT_EQ(saved.ReadInteger("TForm1", "WindowWidth", 0), 1000);
    EXPECT_EQ(saved.ReadInteger("TForm1", "TCS", 0), 4);
    EXPECT_EQ(saved.ReadInteger("TForm1", "Checksum", 1), 0);
}

// The window on screen and active, on the configuration page, so that clicks
// and keys reach the widgets as a person's do.
void ShowConfiguration(TestWindow& w, QWidget* subPage) {
    w.form.show();
    QApplication::setActiveWindow(&w.form);
    w.form.Pages()->setCurrentWidget(w.form.Configuration());
    w.form.Configuration()->SubPages()->setCurrentWidget(subPage);
    QApplication::processEvents();
}

// Clicks into a field and selects what it holds, as a person does before typing.
void ClickIntoAndSelectAll(QWidget* field) {
    QTest::mouseClick(field, Qt::LeftButton);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
}

void ClickTab(QTabWidget* pages, int index) {
    QTabBar* bar = pages->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

QByteArray SavedFile(TestWindow& w) {
    QFile file(w.settingsFolder.filePath("Velarix.ini"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST_F(ConfigurationPageTest, TheTrapAddressIsFilteredAndAlignedWhenTabLeavesIt) {
    TestWindow w;
    ShowConfiguration(w, w.form.Configuration()->SubPage("TabSheet18"));
    auto* trap = List(w, "ComboBox18");
    ClickIntoAndSelectAll(trap);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    EXPECT_EQ(trap->currentText(), QStringLiteral("40010000"));  // emptied: the first entry
    ClickIntoAndSelectAll(trap);
    QTest::keyClicks(QApplication::focusWidget(), "c0zq3029");
    EXPECT_EQ(trap->currentText(), QStringLiteral("C03029"));  // both letters outside A-F gone
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), trap);
    EXPECT_EQ(trap->currentText(), QStringLiteral("00C03028"));
    w.form.close();
    EXPECT_TRUE(SavedFile(w).contains("\r\nTrapAdr=00C03028\r\n"));
}

// The JTag sub-page shown, a click into the trap address and `text` typed over it.
QComboBox* TypeTrapAddress(TestWindow& w, const char* text) {
    ShowConfiguration(w, w.form.Configuration()->SubPage("TabSheet18"));
    auto* trap = List(w, "ComboBox18");
    ClickIntoAndSelectAll(trap);
    QTest::keyClicks(QApplication::focusWidget(), text);
    return trap;
}

TEST_F(ConfigurationPageTest, TheTrapAddressIsAlignedWhenAClickLeavesIt) {
    TestWindow w;
    auto* trap = TypeTrapAddress(w, "ABC7");
    QTest::mouseClick(Named<QCheckBox>(w, "CheckBox5"), Qt::LeftButton);
    EXPECT_EQ(trap->currentText(), QStringLiteral("0000ABC4"));
    EXPECT_EQ(w.form.CurrentSettings().trapAddress, QStringLiteral("0000ABC4"));
    w.form.close();
    EXPECT_TRUE(SavedFile(w).contains("\r\nTrapAdr=0000ABC4\r\n"));
}

TEST_F(ConfigurationPageTest, TheTrapAddressIsAlignedWhenTheWindowClosesWhileTypingInIt) {
    TestWindow w;
    auto* trap = TypeTrapAddress(w, "ABC7");
    ASSERT_TRUE(trap->isAncestorOf(QApplication::focusWidget()) ||
                QApplication::focusWidget() == trap);
    w.form.close();
    EXPECT_TRUE(SavedFile(w).contains("\r\nTrapAdr=0000ABC4\r\n"));
}

TEST_F(ConfigurationPageTest, TablePositionsAreKeptApart) {
    TestWindow w;
    auto* tcs = List(w, "ComboBox13");
    auto* tpt = List(w, "ComboBox14");
    tpt->setCurrentIndex(3);
    tcs->setCurrentIndex(3);  // 30000 against 30000
    EXPECT_EQ(tcs->currentText(), QStringLiteral("20000"));
    tpt->setCurrentIndex(0);
    tcs->setCurrentIndex(0);
    EXPECT_EQ(tcs->currentText(), QStringLiteral("10000"));
    EXPECT_EQ(w.form.CurrentSettings().tcs, 1);
}

TEST_F(ConfigurationPageTest, LnbFieldsTakeDigitsAndTheirDefaultWhenCleared) {
    TestWindow w;
    auto* low = Named<QLineEdit>(w, "Edit2");
    low->clear();
    EXPECT_EQ(low->text(), QStringLiteral("9750"));
    low->setText("97x5");
    EXPECT_EQ(low->text(), QStringLiteral("975"));
    EXPECT_EQ(w.form.CurrentSettings().lnbLow, QStringLiteral("975"));
    EXPECT_EQ(Named<QLineEdit>(w, "Edit3")->maxLength(), 5);
}

TEST_F(ConfigurationPageTest, TwoEqualSatelliteNamesBecomeAAndB) {
    TestWindow w;
    auto* a = Named<QLineEdit>(w, "Edit4");
    auto* b = Named<QLineEdit>(w, "Edit5");
    b->setText("Hotbird");
    a->selectAll();
    QTest::keyClicks(a, "Hotbird");
    EXPECT_EQ(a->text(), QStringLiteral("A"));
    EXPECT_EQ(b->text(), QStringLiteral("B"));
}

// What the fields show is what is kept: leaving the page renames the grids'
// satellites by it, and closing writes it.
TEST_F(ConfigurationPageTest, TypingTheOtherNameKeepsAAndBAsShown) {
    TestWindow w(WindowOptions{.settingsFile = "[TForm1]\r\nSat-A=Astra\r\nSat-B=Hotbird\r\n"});
    TableRows& channels = w.form.Tables().Channels();
    channels.SetCell(1, 10, "Astra");
    channels.SetCell(2, 10, "Hotbird");
    ShowConfiguration(w, w.form.Configuration()->SubPage("TabSheet15"));
    ClickIntoAndSelectAll(Named<QLineEdit>(w, "Edit4"));
    QTest::keyClicks(QApplication::focusWidget(), "Hotbird");
    EXPECT_EQ(Named<QLineEdit>(w, "Edit4")->text(), QStringLiteral("A"));
    EXPECT_EQ(Named<QLineEdit>(w, "Edit5")->text(), QStringLiteral("B"));
    ClickTab(w.form.Pages(), 0);
    EXPECT_EQ(channels.Cell(1, 10), QStringLiteral("A"));
    EXPECT_EQ(channels.Cell(2, 10), QStringLiteral("B"));
    w.form.close();
    const QByteArray saved = SavedFile(w);
    EXPECT_TRUE(saved.contains("\r\nSat-A=A\r\nSat-B=B\r\n")) << saved.toStdString();
}

TEST_F(ConfigurationPageTest, EmptyingNameAKeepsAAsShown) {
    TestWindow w(WindowOptions{.settingsFile = "[TForm1]\r\nSat-A=Astra\r\n"});
    TableRows& channels = w.form.Tables().Channels();
    channels.SetCell(4, 10, "Astra");
    ShowConfiguration(w, w.form.Configuration()->SubPage("TabSheet15"));
    ClickIntoAndSelectAll(Named<QLineEdit>(w, "Edit4"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    EXPECT_EQ(Named<QLineEdit>(w, "Edit4")->text(), QStringLiteral("A"));
    ClickTab(w.form.Pages(), 0);
    EXPECT_EQ(channels.Cell(4, 10), QStringLiteral("A"));
    w.form.close();
    EXPECT_TRUE(SavedFile(w).contains("\r\nSat-A=A\r\n"));
}

TEST_F(ConfigurationPageTest, LeavingThePageRenamesTheSatelliteInBothGrids) {
    TestWindow w(WindowOptions{.settingsFile = "[TForm1]\r\nSat-B=Hotbird\r\n"});
    w.form.show();
    TableRows& channels = w.form.Tables().Channels();
    TableRows& transponders = w.form.Tables().Transponders();
    channels.SetCell(1, 10, "Hotbird");
    channels.SetCell(6, 10, "hotbird");
    transponders.SetCell(3, 10, "Hotbird");
    w.form.Pages()->setCurrentWidget(w.form.Configuration());
    Named<QLineEdit>(w, "Edit5")->setText("Sirius");
    w.form.Pages()->setCurrentIndex(0);
    auto* grid = w.form.Tuning()->ChannelGrid()->model();
    EXPECT_EQ(grid->index(0, 9).data().toString(), QStringLiteral("Sirius"));
    EXPECT_EQ(grid->index(5, 9).data().toString(), QStringLiteral("hotbird"));
    EXPECT_EQ(transponders.Cell(3, 10), QStringLiteral("Sirius"));
    EXPECT_EQ(w.form.CurrentSettings().satelliteNames[1], QStringLiteral("Sirius"));
}

TEST_F(ConfigurationPageTest, TwoThousandChannelsGiveTwoThousandAndThreeRows) {
    TestWindow w;
    List(w, "ComboBox16")->setCurrentIndex(1);
    EXPECT_EQ(w.form.Tuning()->ChannelGrid()->model()->rowCount(), 2002);  // and the heading row
    List(w, "ComboBox17")->setCurrentIndex(1);
    EXPECT_EQ(w.form.Tuning()->TransponderGrid()->model()->rowCount(), 199);
}

TEST_F(ConfigurationPageTest, DefaultValuesLeavePictureSizeAndGridsAsTheyWere) {
    TestWindow w(WindowOptions{.sampleSettings = true, .ports = {"ttyVELARIX0", "ttyVELARIX1"}});
    const int last = static_cast<int>(w.form.PortNames().size()) - 1;
    List(w, "ComboBox2")->setCurrentIndex(last);
    EXPECT_EQ(w.port.name, w.form.PortNames().last());
    Named<QSlider>(w, "TrackBar10")->setValue(100);
    List(w, "ComboBox3")->setCurrentIndex(0);
    Named<QCheckBox>(w, "CheckBox6")->setChecked(true);
    w.form.Configuration()->defaultsButton->click();
    const Settings& s = w.form.CurrentSettings();
    EXPECT_EQ(List(w, "ComboBox12")->currentText(), QStringLiteral("528 x 576"));
    EXPECT_EQ(s.pictureWidth, 720);
    EXPECT_EQ(List(w, "ComboBox16")->currentText(), QStringLiteral("2000"));
    EXPECT_EQ(w.form.Tuning()->ChannelGrid()->model()->rowCount(), 999);
    EXPECT_EQ(Named<QSlider>(w, "TrackBar10")->value(), 500);
    EXPECT_EQ(Named<QLabel>(w, "Label174")->text(), QStringLiteral("500"));
    EXPECT_EQ(Named<QSlider>(w, "TrackBar11")->value(), 3000);
    EXPECT_EQ(List(w, "ComboBox3")->currentText(), QStringLiteral("9600"));
    EXPECT_EQ(w.port.settings.baudRate, 6);              // applied to the port at once
    EXPECT_EQ(w.port.name, w.form.PortNames().first());  // back to the first port
    EXPECT_EQ(List(w, "ComboBox2")->currentIndex(), 0);
    EXPECT_FALSE(Named<QComboBox>(w, "ComboBox51")->isEnabled());
    EXPECT_EQ(List(w, "ComboBox20")->currentText(), QStringLiteral("60000000"));
    // The shipped folder lists enough symbol-rate files for the eighth entry.
    EXPECT_EQ(List(w, "ComboBox15")->currentIndex(), 7);
    EXPECT_FALSE(List(w, "ComboBox15")->currentText().isEmpty());
    EXPECT_EQ(s.symbolRates[0], 27500);  // the table stays
}

// A port given for one run (--port, --demo) is used for that run only: the
// next normal start finds the port it had.
TEST_F(ConfigurationPageTest, APortForThisRunLeavesTheStoredPortAsItWas) {
    TestWindow w(WindowOptions{.settingsFile = "[TForm1]\r\nPuerto=0\r\n",
                               .ports = {"ttyVELARIX0"},
                               .runPort = "ttyVELARIX1"});
    EXPECT_EQ(w.port.name, QStringLiteral("ttyVELARIX1"));
    EXPECT_EQ(List(w, "ComboBox2")->currentText(), QStringLiteral("ttyVELARIX1"));
    w.form.close();
    EXPECT_TRUE(SavedFile(w).contains("\r\nPuerto=0\r\n")) << SavedFile(w).toStdString();
}

TEST_F(ConfigurationPageTest, DefaultValuesKeepTheRunsPortAndStoreTheFirst) {
    TestWindow w(WindowOptions{.settingsFile = "[TForm1]\r\nPuerto=3\r\n",
                               .ports = {"ttyVELARIX0"},
                               .runPort = "ttyVELARIX1"});
    ShowConfiguration(w, w.form.Configuration()->SubPage("TabSheet13"));
    QTest::mouseClick(w.form.Configuration()->defaultsButton, Qt::LeftButton);
    EXPECT_EQ(w.port.name, QStringLiteral("ttyVELARIX1"));  // still on the run's port
    EXPECT_EQ(List(w, "ComboBox2")->currentText(), QStringLiteral("ttyVELARIX1"));
    w.form.close();
    EXPECT_TRUE(SavedFile(w).contains("\r\nPuerto=0\r\n")) << SavedFile(w).toStdString();
}

TEST_F(ConfigurationPageTest, APortChosenByHandDuringTheRunIsStored) {
    TestWindow w(WindowOptions{.settingsFile = "[TForm1]\r\nPuerto=0\r\n",
                               .ports = {"ttyVELARIX0"},
                               .runPort = "ttyVELARIX1"});
    ShowConfiguration(w, w.form.Configuration()->SubPage("TabSheet13"));
    auto* ports = List(w, "ComboBox2");
    ports->setFocus(Qt::TabFocusReason);
    QTest::keyClick(ports, Qt::Key_Up);  // the entry above the run's port
    const int chosen = ports->currentIndex();
    EXPECT_EQ(ports->currentText(), QStringLiteral("ttyVELARIX0"));
    EXPECT_EQ(w.port.name, QStringLiteral("ttyVELARIX0"));
    w.form.close();
    EXPECT_TRUE(SavedFile(w).contains(QStringLiteral("\r\nPuerto=%1\r\n").arg(chosen).toLatin1()));
}

TEST_F(ConfigurationPageTest, UntickingTheFirmwareChecksumDisablesItsPosition) {
    TestWindow w;
    auto* tick = Named<QCheckBox>(w, "CheckBox6");
    tick->setChecked(true);
    EXPECT_TRUE(List(w, "ComboBox51")->isEnabled());
    tick->setChecked(false);
    EXPECT_FALSE(List(w, "ComboBox51")->isEnabled());
}

TEST_F(ConfigurationPageTest, ANamedModelFixesTheFlashFields) {
    TestWindow w(WindowOptions{.sampleSettings = true});
    auto* model = List(w, "ComboBox21");
    ASSERT_EQ(model->count(), 5);
    model->setCurrentIndex(4);  // K2002 on BCT13xx
    EXPECT_FALSE(List(w, "ComboBox20")->isEnabled());
    EXPECT_EQ(List(w, "ComboBox20")->currentText(), QStringLiteral("7FF00000"));
    EXPECT_EQ(List(w, "ComboBox19")->currentText(), QStringLiteral("AM29LV800BB"));
    EXPECT_EQ(w.form.CurrentSettings().chips[0].numBlocks, 19);
    model->setCurrentIndex(0);
    EXPECT_TRUE(List(w, "ComboBox20")->isEnabled());
    List(w, "ComboBox23")->setCurrentIndex(7);
    EXPECT_EQ(w.form.CurrentSettings().chips[1].numBlocks, 71);
}

TEST_F(ConfigurationPageTest, SerialChoicesGoToThePortAtOnce) {
    TestWindow w;
    List(w, "ComboBox8")->setCurrentIndex(3);
    List(w, "ComboBox5")->setCurrentIndex(2);
    EXPECT_EQ(w.port.settings.parity, 3);
    EXPECT_EQ(w.port.settings.flowControl, 2);
}

TEST_F(ConfigurationPageTest, ALanguageChangeKeepsTheChoicesOfTranslatedLists) {
    TestWindow w(WindowOptions{.sampleSettings = true});
    List(w, "ComboBox5")->setCurrentIndex(0);   // "Ninguno"
    List(w, "ComboBox21")->setCurrentIndex(0);  // "Personalizado"
    List(w, "ComboBox10")->setCurrentIndex(1);  // English
    EXPECT_EQ(List(w, "ComboBox5")->currentText(), QStringLiteral("None"));
    EXPECT_EQ(List(w, "ComboBox21")->currentText(), QStringLiteral("Custom"));
    EXPECT_EQ(List(w, "ComboBox8")->currentText(), QStringLiteral("Odd"));
    EXPECT_EQ(w.form.Pages()->tabText(6), QStringLiteral("Settings"));
    List(w, "ComboBox10")->setCurrentIndex(0);  // Español
    EXPECT_EQ(List(w, "ComboBox5")->currentText(), QStringLiteral("Ninguno"));
    EXPECT_EQ(List(w, "ComboBox21")->currentText(), QStringLiteral("Personalizado"));
}

// Every caption, list entry and hint a key names takes the English text.
TEST_F(ConfigurationPageTest, TheEnglishFileSwitchesEveryCaptionOfTheWindow) {
    TestWindow w(WindowOptions{.sampleSettings = true});
    List(w, "ComboBox10")->setCurrentIndex(1);
    const TIniFile32 english(w.settingsFolder.filePath("English.ini"));
    int checked = 0;
    for (const auto& target : TextTargets()) {
        QObject* object = w.form.findChild<QObject*>(QString::fromLatin1(target.object));
        if (!object || target.kind == TextTarget::Kind::Message) continue;
        // The file's text, with the blanks of the Spanish text around it.
        const QString spanish = MessageTable::Spanish(target.key);
        const QString trimmed = spanish.trimmed();
        const QString text =
            spanish.left(spanish.indexOf(trimmed)) +
            english.ReadString("English", QStringLiteral("traduc%1").arg(target.key), "") +
            spanish.mid(spanish.indexOf(trimmed) + trimmed.size());
        QString shown;
        if (auto* label = qobject_cast<QLabel*>(object))
            shown = label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(object))
            shown = button->text();
        else if (auto* group = qobject_cast<QGroupBox*>(object))
            shown = group->title();
        else if (auto* action = qobject_cast<QAction*>(object))
            shown = action->text();
        else if (auto* list = qobject_cast<QComboBox*>(object))
            shown = list->itemText(target.index);
        else if (target.kind == TextTarget::Kind::Hint)
            shown = qobject_cast<QWidget*>(object)->toolTip();
        else
            continue;
        EXPECT_EQ(shown, text) << target.object << " traduc" << target.key;
        ++checked;
    }
    EXPECT_GT(checked, 100);
    EXPECT_EQ(Msg(43), QStringLiteral("No answer from a decoder on that serial port!"));
}

// --language chooses the texts of one run; the stored choice stays.
TEST_F(ConfigurationPageTest, ALanguageForThisRunLeavesTheStoredLanguageAsItWas) {
    TestWindow w(WindowOptions{.sampleSettings = true, .runLanguage = "English"});
    EXPECT_EQ(w.form.Pages()->tabText(6), QStringLiteral("Settings"));
    EXPECT_EQ(List(w, "ComboBox10")->currentText(), QStringLiteral("English"));
    w.form.close();
    EXPECT_TRUE(SavedFile(w).contains("\r\nIdioma=0\r\n")) << SavedFile(w).toStdString();
}

TEST_F(ConfigurationPageTest, NoLanguageFilesLeaveTheSpanishTexts) {
    TestWindow w;
    EXPECT_EQ(List(w, "ComboBox10")->count(), 0);
    EXPECT_EQ(w.form.Pages()->tabText(6), QStringLiteral("Configuración"));
}

}  // namespace
}  // namespace velarix
