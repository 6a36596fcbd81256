#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include "eeprom/eeprom_files.h"
#include "eeprom_page.h"
#include "fields_page.h"
#include "shell/message_table.h"
#include "simulated_decoder.h"
#include "window_doubles.h"

namespace velarix {
namespace {

using test::TestWindow;

struct EepromFilesPageTest : ::testing::Test {
    TestWindow w;
    QTemporaryDir dir;

    QString Put(const char* name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    gui::FieldsPage* Fields() { return w.form.Fields(); }
};

TEST_F(EepromFilesPageTest, ReadingAFileFillsTheImageAndTheFields) {
    w.dialogs.answers.push_back({Put("box.bin", sim::DefaultEeprom()), 3});
    w.form.Eeprom()->readButton->click();
    EXPECT_EQ(w.dialogs.filtersAsked.last(), Msg(7));
    EXPECT_EQ(w.dialogs.preselectsAsked.last(), 1);
    EXPECT_EQ(w.form.Image().GetImageBytes(), sim::DefaultEeprom());
    EXPECT_EQ(Fields()->ChoiceList(Field::Country)->currentText(), QStringLiteral("ESP"));
    EXPECT_EQ(Fields()->RawView(Field::Country)->text(), QStringLiteral("455350"));
    EXPECT_TRUE(Fields()->RawView(Field::Country)->isReadOnly());
    EXPECT_EQ(Fields()->SatelliteList(1, SatelliteField::Name)->currentText(),
              QStringLiteral("HOTBIRD"));
}

TEST_F(EepromFilesPageTest, ARefusedFileIsReportedAndTheFieldsAreReadAgain) {
    w.form.Image().PutImageBytes(sim::DefaultEeprom(), 0, 2048);
    w.dialogs.answers.push_back({Put("short.bin", QByteArray(10, '\0')), 3});
    w.form.Eeprom()->readButton->click();
    ASSERT_EQ(w.boxes.shown.size(), 1);
    EXPECT_EQ(w.boxes.shown[0].kind, BoxKind::Error);
    EXPECT_EQ(w.boxes.shown[0].text, Msg(8) + "\n\r" + Msg(14));
    EXPECT_EQ(w.form.Image().GetImageBytes(), sim::DefaultEeprom());
    EXPECT_EQ(Fields()->ChoiceList(Field::Country)->currentText(), QStringLiteral("ESP"));
}

// A file that never ends (a device chosen by mistake) is read no further
// than a file of its type can go, and refused; a text file the same.
TEST_F(EepromFilesPageTest, AnEndlessFileIsReadOnlyAsFarAsItsTypeCanGo) {
    w.form.Image().PutImageBytes(sim::DefaultEeprom(), 0, 2048);
    for (int type : {3, 1, 2}) {
        w.dialogs.answers.push_back({QStringLiteral("/dev/zero"), type});
        w.form.Eeprom()->readButton->click();
        ASSERT_FALSE(w.boxes.shown.isEmpty()) << type;
        EXPECT_EQ(w.boxes.shown.last().text, Msg(8) + "\n\r" + Msg(14)) << type;
        w.boxes.shown.clear();
    }
    EXPECT_EQ(w.form.Image().GetImageBytes(), sim::DefaultEeprom());
}

TEST_F(EepromFilesPageTest, SavingUsesTheTypeLastChosen) {
    w.form.Image().PutImageBytes(sim::DefaultEeprom(), 0, 2048);
    w.dialogs.answers.push_back({dir.filePath("a.txt"), 2});
    w.form.Eeprom()->saveButton->click();
    w.dialogs.answers.push_back({dir.filePath("b.txt"), 2});
    w.form.Eeprom()->saveButton->click();
    EXPECT_EQ(w.dialogs.preselectsAsked, (QList<int>{1, 2}));
    QFile file(dir.filePath("b.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EepromImage back;
    EXPECT_EQ(ReadEepromFile(back, file.readAll(), EepromFormat::PlainText), std::nullopt);
    EXPECT_EQ(back.GetImageBytes(), sim::DefaultEeprom());
}

TEST_F(EepromFilesPageTest, EditingAFieldWritesTheImageAtOnce) {
    w.form.show();
    w.form.RefreshInterpretedFields();
    auto* country = Fields()->ChoiceList(Field::Country);
    auto* raw = Fields()->RawView(Field::Country);
    EXPECT_EQ(country->currentText(), QStringLiteral("otro"));  // an erased image
    EXPECT_FALSE(raw->isReadOnly());
    raw->selectAll();
    QTest::keyClicks(raw, "49g54");
    EXPECT_EQ(raw->text(), QStringLiteral("4954"));
    emit raw->editingFinished();
    EXPECT_EQ(raw->text(), QStringLiteral("004954"));
    EXPECT_EQ(w.form.Image().Cell(0x003), QStringLiteral("49"));
    EXPECT_EQ(w.form.Image().Cell(0x069), QStringLiteral("E2"));
    EXPECT_EQ(w.form.Image().Cell(0x06A), QStringLiteral("1D"));

    auto* epg = Fields()->ChoiceList(Field::Epg);
    emit epg->activated(static_cast<int>(epg->findText("Italiano")));
    EXPECT_EQ(w.form.Image().RowText(0xD).mid(28), QStringLiteral("3B00"));
    EXPECT_TRUE(Fields()->RawView(Field::Epg)->isReadOnly());

    auto* frequency = Fields()->SatelliteBox(0, SatelliteField::Frequency);
    frequency->setText("8000");
    emit frequency->editingFinished();
    EXPECT_EQ(frequency->text(), QStringLiteral("11970"));
    EXPECT_EQ(w.form.Image().Cell(0x025), QStringLiteral("2E"));
}

// Types into a box of the page and leaves it with Tab, as a person does.
void TypeAndTab(QLineEdit* box, const QString& text) {
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Tab);
}

// What is typed or pasted is judged as the whole number: a value above the
// limit is 0 (or the frequency's default), never its first digits.
TEST_F(EepromFilesPageTest, NumberBoxesApplyTheirLimitToTheWholeNumber) {
    w.form.Image().PutImageBytes(sim::DefaultEeprom(), 0, 2048);
    w.form.show();
    QApplication::setActiveWindow(&w.form);
    w.form.Eeprom()->SubPages()->setCurrentWidget(w.form.Eeprom()->FieldsSubPage());
    w.form.RefreshInterpretedFields();
    TypeAndTab(Fields()->NumberBox(Field::SoftwareVersion), "1000");
    EXPECT_EQ(Fields()->NumberBox(Field::SoftwareVersion)->text(), QStringLiteral("0"));
    EXPECT_EQ(w.form.Image().Cell(0x009), QStringLiteral("00"));
    TypeAndTab(Fields()->NumberBox(Field::LastChannel), "20021");
    EXPECT_EQ(w.form.Image().Cell(0x065) + w.form.Image().Cell(0x066), QStringLiteral("0000"));
    TypeAndTab(Fields()->SatelliteBox(0, SatelliteField::Frequency), "130001");
    EXPECT_EQ(Fields()->SatelliteBox(0, SatelliteField::Frequency)->text(),
              QStringLiteral("11970"));
    EXPECT_EQ(w.form.Image().Cell(0x025) + w.form.Image().Cell(0x026), QStringLiteral("2EC2"));

    w.form.Image().SetCell(0x065, QStringLiteral("48"));  // 18582
    w.form.Image().SetCell(0x066, QStringLiteral("96"));
    w.form.RefreshInterpretedFields();
    EXPECT_EQ(Fields()->NumberBox(Field::LastChannel)->text(), QStringLiteral("0"));
}

TEST_F(EepromFilesPageTest, EraseAndTheModelChoiceRefreshTheFields) {
    w.form.Image().PutImageBytes(sim::DefaultEeprom(), 0, 2048);
    w.form.RefreshInterpretedFields();
    EXPECT_EQ(Fields()->ChoiceList(Field::Sections)->currentText(),
              QStringLiteral("1 y 2 (BCT15xx)"));
    w.form.Eeprom()->eraseButton->click();
    EXPECT_EQ(Fields()->ChoiceList(Field::Country)->currentText(), QStringLiteral("otro"));
    EXPECT_EQ(Fields()->NumberBox(Field::SoftwareVersion)->text(), QStringLiteral("255"));
}

}  // namespace
}  // namespace velarix
