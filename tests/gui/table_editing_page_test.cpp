// Editing the tables on the "Sintonización" page as a person does: rows
// clicked and shift-clicked, the buttons, keys typed into the grid that has
// the focus, the real clipboard, rows dragged by their numbers, undo and redo,
// the search and swap dialogs. Expected rows are named by hand from the
// simulator's sample tables.
#include <QCheckBox>

#include "channel_dialog.h"
#include "search_dialog.h"
#include "shell/message_table.h"
#include "swap_dialog.h"
#include "transponder_dialog.h"
#include "tuning/table_rows.h"
#include "tuning_steps.h"

namespace velarix {
namespace {

namespace cc = channel_column;
namespace tc = transponder_column;

using TableEditingPage = test::TuningSteps;

QStringList Names(const TableRows& channels, int first, int last) {
    QStringList names;
    for (int r = first; r <= last; ++r) names << channels.Cell(r, cc::kName);
    return names;
}

TEST_F(TableEditingPage, MoverAMovesTheSelectedRowsToTheRowOfTheField) {
    Read(sim::FlashImage());
    gui::TableGrid* grid = page->ChannelGrid();
    SelectRows(grid, 5, 9);
    TypeInto(page->moveField, "7");
    EXPECT_EQ(page->moveField->text(), QStringLiteral("7"));
    Click(page->moveButton);
    const TableRows& channels = w.form.Tables().Channels();
    EXPECT_EQ(Names(channels, 4, 12),
              (QStringList{"Cine Clásico", "Zoé Kids", "Müzik Türk", "Radio Señal", "Niños & Co",
                           "Café TV", "Über Kino", "Crónica 24", "España Directo"}));
    EXPECT_EQ(grid->SelectedRows(), (RowRange{5, 9}));  // the selection stays
    // The panels follow the cursor row, which now holds Zoé Kids.
    EXPECT_TRUE(page->statusBoxes[0]->isChecked());
    EXPECT_EQ(page->encryption->currentText(), QStringLiteral("Betacrypt"));

    // The last row: the block ends there; the field keeps what it holds.
    TypeInto(page->moveField, "999");
    Click(page->moveButton);
    EXPECT_EQ(Names(channels, 995, 999),
              (QStringList{"Zoé Kids", "Müzik Türk", "Radio Señal", "Niños & Co", "Café TV"}));
    EXPECT_EQ(page->moveField->text(), QStringLiteral("999"));
    // No row 0: "1", and the block goes to the top.
    TypeInto(page->moveField, "0");
    Click(page->moveButton);
    EXPECT_EQ(page->moveField->text(), QStringLiteral("1"));
    EXPECT_EQ(Names(channels, 1, 3), (QStringList{"Über Kino", "Crónica 24", "España Directo"}));
}

TEST_F(TableEditingPage, ThePositionFieldTakesDigitsAndForgetsRowsPastTheGrid) {
    Read(sim::FlashImage());
    TypeInto(page->moveField, "4x2");
    EXPECT_EQ(page->moveField->text(), QStringLiteral("42"));
    Key(Qt::Key_Backspace);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(page->moveField->text(), QStringLiteral("1"));  // emptied: "1" at once
    TypeInto(page->moveField, "1234");
    EXPECT_EQ(page->moveField->text(), QStringLiteral("123"));  // three digits
    Key(Qt::Key_Tab);
    EXPECT_EQ(page->moveField->text(), QStringLiteral("123"));  // a row of 999

    // 100 on the transponder grid of 100 rows is no row: "1" when left.
    ClickTab(page->SubPages(), 1);
    TypeInto(page->moveField, "100");
    Key(Qt::Key_Tab);
    EXPECT_EQ(page->moveField->text(), QStringLiteral("1"));
    TypeInto(page->moveField, "99");
    Key(Qt::Key_Tab);
    EXPECT_EQ(page->moveField->text(), QStringLiteral("99"));
}

TEST_F(TableEditingPage, KeysAndTheStatusPanelActOnEverySelectedChannel) {
    sim::FlashLayout layout;
    layout.channels = sim::ManyChannels(6, 2);
    const std::uint8_t status[] = {0x15, 0x15, 0x15, 0x04, 0x05, 0x15};
    for (int i = 0; i < 6; ++i) layout.channels[i].status = status[i];
    Read(sim::FlashImage(layout));
    gui::TableGrid* grid = page->ChannelGrid();

    SelectRows(grid, 1, 3);
    ASSERT_EQ(QApplication::focusWidget(), grid);
    Type("3");
    for (int r = 1; r <= 3; ++r) EXPECT_EQ(ChannelCell(r, cc::kSta), QStringLiteral("75")) << r;
    EXPECT_EQ(ChannelCell(6, cc::kSta), QStringLiteral("15"));
    EXPECT_EQ(page->encryption->currentText(), QStringLiteral("Betacrypt"));
    EXPECT_TRUE(page->statusBoxes[4]->isChecked());  // "Audio Mono" stays
    Type("8");
    EXPECT_EQ(ChannelCell(2, cc::kSta), QStringLiteral("15"));
    EXPECT_EQ(page->encryption->currentText(), QStringLiteral("No cambiar"));

    // "Activo" shows row 4 ticked; a click clears it in both rows.
    SelectRows(grid, 4, 5);
    ASSERT_TRUE(page->statusBoxes[0]->isChecked());
    Click(page->statusBoxes[0]);
    EXPECT_EQ(ChannelCell(4, cc::kSta), QStringLiteral("00"));
    EXPECT_EQ(ChannelCell(5, cc::kSta), QStringLiteral("01"));
    EXPECT_FALSE(page->statusBoxes[0]->isChecked());
    // The space key on a box does the same; the list sets the encryption.
    Key(Qt::Key_Tab);
    Key(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), page->statusBoxes[2]);  // "Favorito"
    Key(Qt::Key_Space);
    EXPECT_EQ(ChannelCell(4, cc::kSta), QStringLiteral("02"));
    EXPECT_EQ(ChannelCell(5, cc::kSta), QStringLiteral("03"));
    Choose(page->encryption, QStringLiteral("Cryptoworks"));
    EXPECT_EQ(ChannelCell(4, cc::kSta), QStringLiteral("E2"));
    EXPECT_EQ(ChannelCell(5, cc::kSta), QStringLiteral("E3"));
    EXPECT_EQ(ChannelCell(3, cc::kSta), QStringLiteral("15"));
}

TEST_F(TableEditingPage, CopyAndPasteGoThroughTheSystemClipboard) {
    QGuiApplication::clipboard()->setText(QStringLiteral("text from another program"));
    Read(sim::FlashImage());
    gui::TableGrid* grid = page->ChannelGrid();
    SelectRows(grid, 2, 3);
    EXPECT_FALSE(page->pasteButton->isEnabled());
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(Clipboard(),
              QStringLiteral("2\tCanal Acción\t1\t1001\t272\t273\t0\t0\t272\t04\tA\t\r\n"
                             "3\tFútbol Plus\t1\t1002\t288\t289\t0\t0\t288\t04\tA\t\r\n"));
    EXPECT_TRUE(page->pasteButton->isEnabled());
    // Channel rows cannot be pasted among the transponders.
    ClickTab(page->SubPages(), 1);
    EXPECT_FALSE(page->pasteButton->isEnabled());
    ClickTab(page->SubPages(), 0);
    EXPECT_TRUE(page->pasteButton->isEnabled());

    ClickRow(grid, 10);
    Key(Qt::Key_V, Qt::ControlModifier);
    const TableRows& channels = w.form.Tables().Channels();
    EXPECT_EQ(Names(channels, 9, 12),
              (QStringList{"Crónica 24", "Canal Acción", "Fútbol Plus", "Zoé Kids"}));
    EXPECT_EQ(ChannelCell(10, 0), QStringLiteral("10"));
    EXPECT_EQ(ChannelCell(320, cc::kName), QStringLiteral("Documentales 13"));  // was 318

    // Ctrl+X: copied, then deleted; "Pegar" puts them back.
    SelectRows(grid, 4, 5);
    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_TRUE(Clipboard().startsWith(QStringLiteral("4\tCine Clásico\t")));
    EXPECT_EQ(Names(channels, 3, 4), (QStringList{"Fútbol Plus", "Niños & Co"}));
    ClickRow(grid, 1);
    Click(page->pasteButton);
    EXPECT_EQ(Names(channels, 1, 3), (QStringList{"Cine Clásico", "Radio Señal", "Telé Música"}));

    // Text that is no rows leaves "Pegar" off when the sub-page is shown again.
    QGuiApplication::clipboard()->setText(QStringLiteral("a\tb\r\n"));
    ClickTab(page->SubPages(), 1);
    ClickTab(page->SubPages(), 0);
    EXPECT_FALSE(page->pasteButton->isEnabled());
}

TEST_F(TableEditingPage, TransponderRowsPushedPastTheEndLeaveTheirChannelsWithoutTransponder) {
    sim::FlashLayout layout;
    layout.transponders = sim::ManyTransponders(99);  // every row used
    layout.channels = sim::ManyChannels(198, 99);     // two channels on each
    Read(sim::FlashImage(layout));
    ClickTab(page->SubPages(), 1);
    gui::TableGrid* grid = page->TransponderGrid();
    ClickRow(grid, 1);
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(page->pasteButton->isEnabled());
    ClickRow(grid, 98);
    Key(Qt::Key_V, Qt::ControlModifier);
    // Rows 98 and 99 went to 99 and past the end: the channels of row 99 lost it.
    ASSERT_EQ(w.boxes.shown.size(), 1);
    EXPECT_EQ(w.boxes.shown[0].kind, BoxKind::Information);
    EXPECT_EQ(w.boxes.shown[0].text,
              QStringLiteral("Al pegar, 2 canales se han quedado sin transpondedor (TRSP 0): sus "
                             "transpondedores no cabían en la tabla."));
    EXPECT_EQ(TransponderCell(98, tc::kFrec), TransponderCell(1, tc::kFrec));
    EXPECT_EQ(ChannelCell(195, cc::kTrsp), QStringLiteral("99"));  // was on 98
    EXPECT_EQ(ChannelCell(197, cc::kTrsp), QStringLiteral("0"));
    EXPECT_EQ(ChannelCell(198, cc::kTrsp), QStringLiteral("0"));

    // Backspace deletes a transponder and its channels.
    ClickRow(grid, 1);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(ChannelCell(1, cc::kTrsp), QStringLiteral("1"));  // was on 2
    EXPECT_EQ(ChannelCell(1, cc::kSid), QStringLiteral("1002"));
    EXPECT_EQ(TransponderCell(99, tc::kFrec), QStringLiteral("0"));
}

TEST_F(TableEditingPage, UndoAndRedoGoOneEditAtATime) {
    const QByteArray image = sim::FlashImage();
    Read(image);
    const TableRows& channels = w.form.Tables().Channels();
    const auto loaded = channels.Rows();
    gui::TableGrid* grid = page->ChannelGrid();
    ClickRow(grid, 1);
    Key(Qt::Key_Backspace);
    SelectRows(grid, 3, 4);
    Type("5");
    const auto edited = channels.Rows();
    EXPECT_EQ(ChannelCell(1, cc::kName), QStringLiteral("Canal Acción"));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(ChannelCell(3, cc::kSta), QStringLiteral("34"));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(channels.Rows(), loaded);
    Key(Qt::Key_Z, Qt::ControlModifier);  // nothing more to undo
    EXPECT_EQ(channels.Rows(), loaded);
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(ChannelCell(1, cc::kName), QStringLiteral("Canal Acción"));
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(channels.Rows(), edited);
    // The panels show the row as it is now.
    EXPECT_EQ(page->encryption->currentText(), QStringLiteral("Viaccess"));

    // A load starts afresh: nothing to undo.
    Read(image);
    ClickRow(grid, 2);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(channels.Rows(), loaded);
}

TEST_F(TableEditingPage, ARowDraggedByItsNumberTakesItsNewPlace) {
    Read(sim::FlashImage());
    ClickTab(page->SubPages(), 1);
    gui::TableGrid* grid = page->TransponderGrid();
    QHeaderView* numbers = grid->verticalHeader();
    // Three quarters down a row's number is past its middle: the row goes there.
    const auto at = [numbers](int row) {
        return QPoint(numbers->width() / 2, numbers->sectionViewportPosition(row - 1) +
                                                numbers->sectionSize(row - 1) * 3 / 4);
    };
    QTest::mousePress(numbers->viewport(), Qt::LeftButton, {}, at(1));
    QTest::mouseMove(numbers->viewport(), at(2));
    QTest::mouseMove(numbers->viewport(), at(3));
    QTest::mouseRelease(numbers->viewport(), Qt::LeftButton, {}, at(3));
    QApplication::processEvents();
    EXPECT_EQ(TransponderCell(1, tc::kFrec), QStringLiteral("1612000,5"));
    EXPECT_EQ(TransponderCell(3, tc::kFrec), QStringLiteral("1612000"));
    EXPECT_EQ(numbers->visualIndex(0), 0);  // the grid shows table order
    // The channels followed: Telé Música was on 1, Eurosport 2 on 2.
    EXPECT_EQ(ChannelCell(1, cc::kTrsp), QStringLiteral("3"));
    EXPECT_EQ(ChannelCell(13, cc::kTrsp), QStringLiteral("1"));
    EXPECT_EQ(ChannelCell(23, cc::kTrsp), QStringLiteral("2"));
}

TEST_F(TableEditingPage, DuplicadosBringsOneGroupTogetherAtATime) {
    sim::FlashLayout unique;
    unique.channels = sim::ManyChannels(20, 2);
    Read(sim::FlashImage(unique));
    Click(page->duplicatesButton);
    ASSERT_EQ(BoxTexts(), QStringList{Msg(391)});

    sim::FlashLayout layout;
    layout.channels = sim::ManyChannels(10, 2);  // 1 to 5 on transponder 1, 6 to 10 on 2
    layout.channels[3].sid = layout.channels[1].sid;
    layout.channels[8].sid = layout.channels[6].sid;
    layout.channels[9].sid = layout.channels[1].sid;  // another transponder: no duplicate
    Read(sim::FlashImage(layout));
    gui::TableGrid* grid = page->ChannelGrid();
    ClickRow(grid, 1);
    Click(page->duplicatesButton);
    EXPECT_EQ(grid->SelectedRows(), (RowRange{2, 3}));
    const TableRows& channels = w.form.Tables().Channels();
    EXPECT_EQ(Names(channels, 2, 4), (QStringList{"Canal Acción", "Cine Clásico", "Fútbol Plus"}));
    Click(page->duplicatesButton);
    EXPECT_EQ(grid->SelectedRows(), (RowRange{7, 8}));
    EXPECT_EQ(Names(channels, 7, 8), (QStringList{"Café TV", "Crónica 24"}));
    Click(page->duplicatesButton);
    EXPECT_EQ(grid->SelectedRows(), (RowRange{2, 3}));  // from the top again
    // Deleted together; one undo brings them back.
    Click(page->deleteButton);
    EXPECT_EQ(Names(channels, 2, 3), (QStringList{"Fútbol Plus", "Radio Señal"}));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Names(channels, 2, 3), (QStringList{"Canal Acción", "Cine Clásico"}));
    EXPECT_EQ(BoxTexts().size(), 1);
}

TEST_F(TableEditingPage, TheSearchFindsTheNextNameWithEnterAndStaysOpen) {
    Read(sim::FlashImage());
    gui::TForm5* search = w.form.SearchDialog();
    gui::TableGrid* grid = page->ChannelGrid();
    Click(page->findButton);
    ASSERT_TRUE(search->isVisible());
    WaitActive(search);
    EXPECT_EQ(search->windowTitle(), QStringLiteral("Buscar canal"));
    EXPECT_FALSE(search->isModal());
    ASSERT_EQ(QApplication::focusWidget(), search->NameField());
    Type("sport");
    Key(Qt::Key_Return);
    EXPECT_EQ(grid->SelectedRows(), (RowRange{13, 13}));
    EXPECT_EQ(page->TransponderValues()[1], QStringLiteral("11362000,5"));
    Key(Qt::Key_Return);
    EXPECT_EQ(grid->SelectedRows(), (RowRange{38, 38}));  // "Eurosport 2 2"
    EXPECT_TRUE(search->isVisible());

    // Back in the window, a row further down; the search goes on from there.
    w.form.activateWindow();
    WaitActive(&w.form);
    ClickRow(grid, 300);
    Click(page->findButton);
    WaitActive(search);
    Key(Qt::Key_Return);
    EXPECT_EQ(grid->SelectedRows(), (RowRange{313, 313}));
    Key(Qt::Key_Return);
    EXPECT_EQ(BoxTexts(), QStringList{QStringLiteral("¡ No hay ningún canal con ese nombre !")});
    EXPECT_EQ(grid->SelectedRows(), (RowRange{313, 313}));
    Key(Qt::Key_Escape);
    EXPECT_FALSE(search->isVisible());

    // "Buscar" searches from the cursor row and closes the window.
    ClickRow(grid, 1);
    Click(page->findButton);
    Click(search->SearchButton());
    EXPECT_EQ(grid->SelectedRows(), (RowRange{13, 13}));
    EXPECT_FALSE(search->isVisible());
}

TEST_F(TableEditingPage, SwappingTwoSatellitesTwiceRestoresEverySat) {
    Read(sim::FlashImage());
    const auto channels = w.form.Tables().Channels().Rows();
    const auto transponders = w.form.Tables().Transponders().Rows();
    gui::TForm6* swap = w.form.SwapDialog();
    const auto swapAWithC = [&] {
        WhileOpen([&] {
            EXPECT_EQ(swap->windowTitle(), QStringLiteral("Intercambia satélites"));
            ASSERT_EQ(swap->FirstList()->count(), 4);
            EXPECT_EQ(swap->FirstList()->currentText(), QStringLiteral("A"));
            EXPECT_EQ(swap->SecondList()->currentText(), QStringLiteral("B"));
            // Both on "A": back to the first two names.
            Choose(swap->SecondList(), QStringLiteral("A"), false);
            EXPECT_EQ(swap->FirstList()->currentIndex(), 0);
            EXPECT_EQ(swap->SecondList()->currentIndex(), 1);
            Choose(swap->SecondList(), QStringLiteral("C"));
            Click(swap->OkButton());
        });
        Click(page->swapButton);
    };
    swapAWithC();
    EXPECT_EQ(ChannelCell(1, cc::kSat), QStringLiteral("C"));
    EXPECT_EQ(TransponderCell(1, tc::kSat), QStringLiteral("C"));
    EXPECT_EQ(TransponderCell(27, tc::kSat), QStringLiteral("A"));  // was on C
    EXPECT_EQ(TransponderCell(22, tc::kSat), QStringLiteral("B"));
    EXPECT_EQ(page->TransponderValues()[0], QStringLiteral("C"));
    swapAWithC();
    EXPECT_EQ(w.form.Tables().Channels().Rows(), channels);
    EXPECT_EQ(w.form.Tables().Transponders().Rows(), transponders);

    WhileOpen([&] { Click(swap->CancelButton()); });
    Click(page->swapButton);
    EXPECT_EQ(w.form.Tables().Channels().Rows(), channels);
}

TEST_F(TableEditingPage, TheEnablingFollowsTheSubPageTheTableAndTheClipboard) {
    const std::vector<QWidget*> editing{page->copyButton, page->moveButton, page->moveField,
                                        page->deleteButton, page->editButton};
    for (QWidget* control : editing) EXPECT_FALSE(control->isEnabled());
    EXPECT_FALSE(page->duplicatesButton->isEnabled());
    Read(sim::FlashImage());
    for (QWidget* control : editing) EXPECT_TRUE(control->isEnabled());
    EXPECT_TRUE(page->findButton->isEnabled());
    EXPECT_TRUE(page->duplicatesButton->isEnabled());
    ClickTab(page->SubPages(), 1);
    EXPECT_FALSE(page->findButton->isEnabled());
    EXPECT_FALSE(page->duplicatesButton->isEnabled());
    for (QWidget* control : editing) EXPECT_TRUE(control->isEnabled());
    ClickRow(page->TransponderGrid(), 2);
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(page->pasteButton->isEnabled());
    ClickTab(page->SubPages(), 0);
    EXPECT_FALSE(page->pasteButton->isEnabled());

    // A RAM table has no transponders; its channels are edited as ever.
    Read(sim::RamTable(), 2);
    EXPECT_FALSE(page->SubPages()->isTabEnabled(1));
    for (QWidget* control : editing) EXPECT_TRUE(control->isEnabled());
    EXPECT_FALSE(page->pasteButton->isEnabled());
    ClickRow(page->ChannelGrid(), 2);
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(page->pasteButton->isEnabled());
    Key(Qt::Key_Backspace);
    EXPECT_EQ(ChannelCell(2, cc::kName), QStringLiteral("Fútbol Plus"));
}

// Another program puts rows on the clipboard: the page looks at it again when
// the program comes back to the front. (The offscreen platform has no other
// program to switch to; the test reports the switch as the platform would.)
TEST_F(TableEditingPage, ThePageLooksAtTheClipboardWhenTheProgramComesToTheFront) {
    QGuiApplication::clipboard()->setText(QStringLiteral("nothing to paste"));
    Read(sim::FlashImage());
    EXPECT_FALSE(page->pasteButton->isEnabled());
    emit qGuiApp->applicationStateChanged(Qt::ApplicationInactive);
    QGuiApplication::clipboard()->setText(
        QStringLiteral("7\tFrom elsewhere\t1\t7000\t100\t101\t0\t0\t100\t04\tA\t\r\n"));
    EXPECT_FALSE(page->pasteButton->isEnabled());
    emit qGuiApp->applicationStateChanged(Qt::ApplicationActive);
    EXPECT_TRUE(page->pasteButton->isEnabled());
    ClickRow(page->ChannelGrid(), 2);
    Click(page->pasteButton);
    EXPECT_EQ(ChannelCell(2, cc::kName), QStringLiteral("From elsewhere"));
    EXPECT_EQ(ChannelCell(2, 0), QStringLiteral("2"));
    EXPECT_EQ(ChannelCell(3, cc::kName), QStringLiteral("Canal Acción"));
}

}  // namespace
}  // namespace velarix
