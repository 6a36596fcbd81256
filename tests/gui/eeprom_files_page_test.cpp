#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOption>
#include <QTemporaryDir>
#include <QTest>

#include "eeprom/eeprom_files.h"
#include "eeprom_page.h"
#include "fields_page.h"
#include "layout_rules.h"
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

// The room a line edit needs to show `text` whole, by its style.
int NeededWidth(QLineEdit* box, const QString& text) {
    QStyleOptionFrame option;
    option.initFrom(box);
    option.lineWidth = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box);
    const QMargins margins = box->textMargins() + box->contentsMargins();
    const int inner = box->fontMetrics().horizontalAdvance(text) + 2 * 2 + margins.left() +
                      margins.right();  // QLineEdit keeps 2 pixels each side of its text
    return box->style()
        ->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(inner, box->fontMetrics().height()),
                           box)
        .width();
}

// The room a list needs to show its longest entry (or, editable, its text)
// whole, arrow and frame included, by its style.
int NeededWidth(QComboBox* list) {
    int widest = 0;
    for (int i = 0; i < list->count(); ++i)
        widest = std::max(widest, list->fontMetrics().horizontalAdvance(list->itemText(i)));
    if (list->isEditable())
        widest = std::max(widest, list->fontMetrics().horizontalAdvance(list->currentText()) + 4);
    QStyleOptionComboBox option;
    option.initFrom(list);
    option.editable = list->isEditable();
    return list->style()
        ->sizeFromContents(QStyle::CT_ComboBox, &option,
                           QSize(widest, list->fontMetrics().height()), list)
        .width();
}

// At the smallest window nothing on "Datos Interpretados" is cut: every
// caption, every list with its longest entry, every box with the longest
// text it can hold, and nothing runs past the page's right edge. (The page
// scrolls down; it never needs to scroll sideways.)
void ExpectNothingCutOnTheFieldsPage(TestWindow& w) {
    QByteArray image = sim::DefaultEeprom();
    image.replace(0x7D2, 12, "123456789012");
    image.replace(0x00B, 21, QByteArray(21, 'W'));  // a full-width name of the widest letter
    image.replace(0x030, 22, QByteArray(22, 'W'));
    w.form.Image().PutImageBytes(image, 0, 2048);
    w.form.show();
    const QSize frame = w.form.frameGeometry().size() - w.form.size();
    w.form.resize(gui::kMinimumWindowSize - frame);
    w.form.Eeprom()->SubPages()->setCurrentWidget(w.form.Eeprom()->FieldsSubPage());
    w.form.RefreshInterpretedFields();
    QApplication::processEvents();
    auto* scroll = w.form.Eeprom()->FieldsSubPage()->findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    QWidget* area = scroll->widget();
    EXPECT_LE(area->width(), scroll->viewport()->width());
    int checked = 0;
    for (auto* widget : area->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(area) || qobject_cast<QScrollBar*>(widget)) continue;
        const std::string name = widget->objectName().toStdString();
        const QRect where(widget->mapTo(area, QPoint(0, 0)), widget->size());
        if (!name.empty()) {
            EXPECT_LE(where.right(), scroll->viewport()->width()) << name;
        }
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            if (label->wordWrap()) {  // on as many lines as it needs
                EXPECT_GE(label->height(), label->heightForWidth(label->width())) << name;
            } else {
                EXPECT_GE(label->width(), label->sizeHint().width()) << name;
            }
            ++checked;
        } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
            EXPECT_GE(list->width(), NeededWidth(list)) << name;
            ++checked;
        } else if (auto* box = qobject_cast<QLineEdit*>(widget)) {
            if (qobject_cast<QComboBox*>(box->parentWidget())) continue;
            const int room = box->maxLength() < 100 ? box->maxLength() : 5;  // frequencies: 5
            const QString widest = box->text().size() > room ? box->text() : QString(room, '0');
            EXPECT_GE(box->width(), NeededWidth(box, widest)) << name;
            ++checked;
        }
    }
    EXPECT_GT(checked, 60);
}

TEST_F(EepromFilesPageTest, NothingIsCutOnTheFieldsPageAtTheSmallestWindow) {
    ExpectNothingCutOnTheFieldsPage(w);
}

TEST(EepromFieldsPage, NothingIsCutInEnglishEither) {
    TestWindow english(test::WindowOptions{.sampleSettings = true, .runLanguage = "English"});
    ExpectNothingCutOnTheFieldsPage(english);
    Messages().ResetToDefaults();
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
