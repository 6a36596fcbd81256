// The channel and transponder dialogs driven as a person drives them: opened
// by "Editar", a double click or Enter, fields typed into and left with Tab,
// lists chosen, "Ok" and "Cancelar" clicked. Expected values are worked out
// by hand from the simulator's sample tables and the sample settings (LNB
// 9750 and 10600 MHz, satellites A to D).
#include <QCheckBox>

#include "channel_dialog.h"
#include "shell/message_table.h"
#include "transponder_dialog.h"
#include "tuning/table_rows.h"
#include "tuning_steps.h"

namespace velarix {
namespace {

namespace cc = channel_column;
namespace tc = transponder_column;

using EditDialogs = test::TuningSteps;

TEST_F(EditDialogs, TheChannelDialogCorrectsItsFieldsAndWritesTheRow) {
    ClickTab(w.form.Pages(), 6);
    Choose(w.form.findChild<QComboBox*>("ComboBox17"), QStringLiteral("200"));  // 200 rows
    ClickTab(w.form.Pages(), 4);
    Read(sim::FlashImage());
    ClickRow(page->ChannelGrid(), 13);  // Eurosport 2
    const TableRow before = w.form.Tables().Channels().Row(13);
    gui::TForm2* d = w.form.ChannelDialog();
    WhileOpen([&] {
        WaitActive(d);
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Información del canal"));
        EXPECT_EQ(d->Field(1)->text(), QStringLiteral("2"));
        EXPECT_EQ(d->Field(7)->text(), QStringLiteral("448"));
        EXPECT_TRUE(d->StatusBox(0)->isChecked());  // STA 84: Activo, Irdeto
        EXPECT_EQ(d->Encryption()->currentText(), QStringLiteral("Irdeto"));
        EXPECT_EQ(d->TransponderValues(), (QStringList{"11362000,5", "H", "A"}));
        EXPECT_EQ(d->List()->model()->rowCount(), 11);  // rows 12 to 22 are on transponder 2
        EXPECT_EQ(d->List()->model()->headerData(1, Qt::Vertical).toString(), QStringLiteral("13"));

        ASSERT_EQ(QApplication::focusWidget(), d->Field(0));
        Type("Eurosport HD");  // the name was selected
        Key(Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), d->Field(1));
        Key(Qt::Key_A, Qt::ControlModifier);
        Key(Qt::Key_Backspace);
        EXPECT_EQ(d->Field(1)->text(), QStringLiteral("1"));  // cleared: "1" at once
        Key(Qt::Key_A, Qt::ControlModifier);
        Type("250");
        EXPECT_EQ(d->Field(1)->text(), QStringLiteral("250"));
        Key(Qt::Key_Tab);
        EXPECT_EQ(d->Field(1)->text(), QStringLiteral("1"));  // no row 250 of 200
        Key(Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), d->Field(3));  // Video PID
        Key(Qt::Key_A, Qt::ControlModifier);
        Key(Qt::Key_Backspace);
        EXPECT_EQ(d->Field(3)->text(), QStringLiteral("65535"));
        Key(Qt::Key_A, Qt::ControlModifier);
        Type("70000");
        Key(Qt::Key_Tab);
        EXPECT_EQ(d->Field(3)->text(), QStringLiteral("65535"));
        Key(Qt::Key_A, Qt::ControlModifier);
        Type("6x55-35");
        EXPECT_EQ(d->Field(4)->text(), QStringLiteral("65535"));
        Click(d->StatusBox(2));  // Favorito
        Choose(d->Encryption(), QStringLiteral("Seca"));
        Click(d->OkButton());
    });
    Click(page->editButton);
    ASSERT_FALSE(d->isVisible());
    const QStringList row{"13",   "Eurosport HD", "1",   "1012", "65535", "65535",
                          "1704", "1804",         "448", "26",   "A"};
    for (int c = 0; c < 11; ++c) EXPECT_EQ(ChannelCell(13, c), row[c]) << c;
    EXPECT_EQ(w.form.Tables().Channels().Colour(13), 0xBFF5C0u);  // VPID and APID 65535
    // The panels show the new transponder.
    EXPECT_EQ(page->TransponderValues()[1], QStringLiteral("11362000"));
    EXPECT_TRUE(page->statusBoxes[2]->isChecked());

    WaitActive(&w.form);
    ClickRow(page->ChannelGrid(), 13);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.form.Tables().Channels().Row(13), before);
}

TEST_F(EditDialogs, TheChannelDialogKeepsItsSizeAndLaysItselfOut) {
    Read(sim::FlashImage());
    const auto channels = w.form.Tables().Channels().Rows();
    gui::TForm2* d = w.form.ChannelDialog();
    WhileOpen([&] {
        WaitActive(d);
        EXPECT_EQ(d->size(), QSize(430, 379));  // Form2Height 367 is below the least
        d->resize(600, 500);
        QApplication::processEvents();
        EXPECT_EQ(d->List()->geometry(), QRect(8, 146, 576, 247));
        EXPECT_EQ(d->UpperPanel()->geometry(), QRect(89, 4, 414, 122));
        EXPECT_EQ(d->LowerPanel()->geometry(), QRect(89, 401, 414, 95));
        // The channel grid's rule on 576 pixels: 29, 122, seven of 44, 32, the rest 54.
        EXPECT_EQ(d->List()->verticalHeader()->width(), 29);
        EXPECT_EQ(d->List()->columnWidth(0), 122);
        EXPECT_EQ(d->List()->columnWidth(7), 44);
        EXPECT_EQ(d->List()->columnWidth(8), 32);
        EXPECT_EQ(d->List()->columnWidth(9), 54);
        d->resize(300, 200);
        QApplication::processEvents();
        EXPECT_EQ(d->size(), QSize(430, 379));
        d->resize(600, 500);
        Key(Qt::Key_Escape);
    });
    DoubleClickRow(page->ChannelGrid(), 2);
    EXPECT_EQ(w.form.Tables().Channels().Rows(), channels);  // "Cancelar" changes nothing
    EXPECT_EQ(w.form.CurrentSettings().form2Width, 600);
    EXPECT_EQ(w.form.CurrentSettings().form2Height, 500);
    WhileOpen([&] {
        EXPECT_EQ(d->size(), QSize(600, 500));
        Click(d->CancelButton());
    });
    Click(page->editButton);
}

TEST_F(EditDialogs, CaptionsComeFromTheMessageTableEachTimeADialogOpens) {
    Read(sim::FlashImage());
    gui::TForm2* d = w.form.ChannelDialog();
    WhileOpen([&] {
        EXPECT_EQ(d->OkButton()->text(), QStringLiteral("Ok"));
        EXPECT_EQ(d->CancelButton()->text(), QStringLiteral("Cancelar"));
        EXPECT_EQ(d->StatusBox(3)->text(), QStringLiteral("Radio Analógica"));
        EXPECT_EQ(d->StatusBox(4)->text(), QStringLiteral("Audio Mono"));
        Click(d->CancelButton());
    });
    Click(page->editButton);
    Messages().SetText(159, QStringLiteral("Channel information"));
    Messages().SetText(158, QStringLiteral("Cancel"));
    WhileOpen([&] {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Channel information"));
        EXPECT_EQ(d->CancelButton()->text(), QStringLiteral("Cancel"));
        Click(d->CancelButton());
    });
    Click(page->editButton);
    Messages().SetText(159, MessageTable::Spanish(159));
    Messages().SetText(158, MessageTable::Spanish(158));
}

TEST_F(EditDialogs, TheTransponderDialogKeepsTheFrequencyInTheBandAndWritesEveryField) {
    Read(sim::FlashImage());
    ClickTab(page->SubPages(), 1);
    gui::TForm3* d = w.form.TransponderDialog();
    WhileOpen([&] {
        WaitActive(d);
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Información de los Transpondedores"));
        EXPECT_EQ(d->TransponderFrequency(), QStringLiteral("11362000"));
        EXPECT_EQ(d->TransponderIdField()->text(), QStringLiteral("1000"));  // shown whole
        EXPECT_EQ(d->SatelliteList()->currentText(), QStringLiteral("A"));
        EXPECT_EQ(d->BandList()->currentText(), QStringLiteral("Ku"));
        EXPECT_EQ(d->SymbolRateList()->currentText(), QStringLiteral("27500"));
        EXPECT_EQ(d->List()->model()->rowCount(), 11);  // rows 1 to 11
        // 22 kHz off: LNB-low 9750; 1000000 kHz gives 10.75 GHz, raised to 11.7.
        ASSERT_EQ(QApplication::focusWidget(), d->FrequencyField());
        Type("1000000");
        Key(Qt::Key_Tab);
        EXPECT_EQ(d->FrequencyField()->text(), QStringLiteral("1950000"));
        EXPECT_EQ(d->TransponderFrequency(), QStringLiteral("11700000"));
        TypeInto(d->ChannelsField(), "300");
        Key(Qt::Key_Tab);
        EXPECT_EQ(d->ChannelsField()->text(), QStringLiteral("255"));
        Choose(d->SatelliteList(), QStringLiteral("C"));
        Choose(d->BandList(), QStringLiteral("C"));
        Choose(d->FecList(), QStringLiteral("7/8"));
        Click(d->OkButton());
    });
    DoubleClickRow(page->TransponderGrid(), 1);
    const QStringList row{"1", "1950000", "1000", "1", "7/8", "V", "27500", "Off", "255", "C", "C"};
    for (int c = 0; c < 11; ++c) EXPECT_EQ(TransponderCell(1, c), row[c]) << c;
    // The channels of the transponder went with it to satellite C.
    EXPECT_EQ(ChannelCell(1, cc::kSat), QStringLiteral("C"));
    EXPECT_EQ(ChannelCell(11, cc::kSat), QStringLiteral("C"));
    EXPECT_EQ(ChannelCell(12, cc::kSat), QStringLiteral("A"));
    EXPECT_EQ(page->TransponderValues(),
              (QStringList{"C", "11700000", "V", "7/8", "27500", "255", "C"}));
}

TEST_F(EditDialogs, TheRowsToneChoosesTheLnbNotTheList) {
    Read(sim::FlashImage());
    ClickTab(page->SubPages(), 1);
    gui::TForm3* d = w.form.TransponderDialog();
    // Row 5: 11836 MHz on the high band, 22 kHz on.
    WhileOpen([&] {
        WaitActive(d);
        EXPECT_EQ(d->TransponderFrequency(), QStringLiteral("11836000"));
        Type("2500000");
        Key(Qt::Key_Tab);
        EXPECT_EQ(d->FrequencyField()->text(), QStringLiteral("2100000"));
        EXPECT_EQ(d->TransponderFrequency(), QStringLiteral("12700000"));
        Choose(d->ToneList(), QStringLiteral("Off"));
        TypeInto(d->FrequencyField(), "1000000");
        Key(Qt::Key_Tab);
        EXPECT_EQ(d->FrequencyField()->text(), QStringLiteral("1100000"));  // still 10600
        Click(d->CancelButton());
    });
    DoubleClickRow(page->TransponderGrid(), 5);
    EXPECT_EQ(TransponderCell(5, tc::kFrec), QStringLiteral("1236000"));
    EXPECT_EQ(TransponderCell(5, tc::kTone), QStringLiteral("On"));

    // Enter in the transponder grid opens it; Enter in a field is "Ok", with
    // the field corrected first.
    WaitActive(&w.form);
    ClickRow(page->TransponderGrid(), 2);
    WhileOpen([&] {
        WaitActive(d);
        Type("99999999");
        Key(Qt::Key_Return);
    });
    Key(Qt::Key_Return);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(TransponderCell(2, tc::kFrec), QStringLiteral("2950000"));  // 12.7 GHz with 9750
}

// A transponder of the low band (10.76 GHz) is not moved when the dialog is
// opened and closed with "Ok" untouched: only a typed frequency is corrected.
TEST_F(EditDialogs, OkWithTheFrequencyUntouchedKeepsALowBandTransponder) {
    Read(sim::FlashImage());
    ClickTab(page->SubPages(), 1);
    gui::TForm3* d = w.form.TransponderDialog();
    const QString before = TransponderCell(3, tc::kFrec);
    ASSERT_EQ(before, QStringLiteral("994000"));  // 9750 + 994 MHz: 10.744 GHz
    ClickRow(page->TransponderGrid(), 3);
    WhileOpen([&] {
        WaitActive(d);
        ASSERT_EQ(QApplication::focusWidget(), d->FrequencyField());
        Key(Qt::Key_Tab);  // leaves the field as it was
        EXPECT_EQ(d->FrequencyField()->text(), before);
        Click(d->OkButton());
    });
    Key(Qt::Key_Return);
    EXPECT_EQ(TransponderCell(3, tc::kFrec), before);
}

TEST_F(EditDialogs, ATransponderWithoutChannelsListsOneEmptyRow) {
    Read(sim::FlashImage());
    ClickTab(page->SubPages(), 1);
    gui::TForm3* d = w.form.TransponderDialog();
    WhileOpen([&] {
        QAbstractItemModel* list = d->List()->model();
        EXPECT_EQ(list->rowCount(), 1);
        for (int c = 0; c < 10; ++c) EXPECT_EQ(list->index(0, c).data().toString(), QString());
        EXPECT_EQ(list->headerData(0, Qt::Vertical).toString(), QString());
        EXPECT_EQ(d->SatelliteList()->currentText(), QStringLiteral("A"));
        Click(d->CancelButton());
    });
    DoubleClickRow(page->TransponderGrid(), 40);
}

}  // namespace
}  // namespace velarix
