// Editing the tables on the "Sintonización" page: the buttons, the keys and
// double clicks of the two grids, rows dragged by their numbers, the status
// panel, the edit dialogs, the channel search, the satellite swap, the
// duplicate groups, undo and redo, and the rules that enable the editing
// controls for the sub-page on show and the kind of rows on the clipboard.
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QShortcut>

#include "box_presenter.h"
#include "channel_dialog.h"
#include "number_field.h"
#include "search_dialog.h"
#include "shell/message_table.h"
#include "swap_dialog.h"
#include "tform1.h"
#include "transponder_dialog.h"
#include "tuning/edit_dialogs.h"
#include "tuning/table_editing.h"
#include "tuning/text_forms.h"
#include "tuning_page.h"

namespace velarix::gui {

namespace {

// The status bits of "Activo", "Bloqueo Parental", "Favorito", "Radio
// Analógica" and "Audio Mono", in the order of the page's boxes.
constexpr int kBoxBits[5] = {status_bit::kActive, status_bit::kParental, status_bit::kFavourite,
                             status_bit::kRadio, status_bit::kMono};

QString ClipboardText() {
    return QGuiApplication::clipboard()->text();
}

bool IsControl(const QKeyEvent* event, Qt::Key key) {
    return event->key() == key && (event->modifiers() & Qt::ControlModifier);
}

bool IsEnter(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

}  // namespace

void TForm1::ConnectTableEditing() {
    channelDialog_ = std::make_unique<TForm2>(tables_, settings_, this);
    transponderDialog_ = std::make_unique<TForm3>(tables_, settings_, this);
    searchDialog_ = std::make_unique<TForm5>(this);
    swapDialog_ = std::make_unique<TForm6>(settings_, this);

    TuningPage& page = *tuning_;
    connect(page.moveButton, &QPushButton::clicked, this, [this] { MoveChosen(); });
    connect(page.deleteButton, &QPushButton::clicked, this, [this] { DeleteChosen(); });
    connect(page.copyButton, &QPushButton::clicked, this, [this] { CopyChosen(); });
    connect(page.cutButton, &QPushButton::clicked, this, [this] { CutChosen(); });
    connect(page.pasteButton, &QPushButton::clicked, this, [this] { PasteChosen(); });
    connect(page.editButton, &QPushButton::clicked, this, [this] { EditChosen(); });
    connect(page.findButton, &QPushButton::clicked, this, [this] { searchDialog_->Mostrar(); });
    connect(page.swapButton, &QPushButton::clicked, this, [this] { SwapChosen(); });
    connect(page.duplicatesButton, &QPushButton::clicked, this, [this] { DuplicatesChosen(); });
    connect(searchDialog_.get(), &TForm5::SearchAsked, this,
            [this](const QString& text) { SearchFor(text); });

    TableGrid* channels = page.ChannelGrid();
    TableGrid* transponders = page.TransponderGrid();
    channels->keyTyped = [this](QKeyEvent* event) { return ChannelKeyTyped(event); };
    transponders->keyTyped = [this](QKeyEvent* event) { return TransponderKeyTyped(event); };
    connect(channels, &QAbstractItemView::doubleClicked, this, [this, channels] {
        if (tables_.HasTable()) ShowChannelDialog(channels->SelectedRows().first);
    });
    connect(transponders, &QAbstractItemView::doubleClicked, this, [this, transponders] {
        if (tables_.HasTable() && !tables_.RamMode())
            ShowTransponderDialog(transponders->SelectedRows().first);
    });
    connect(channels, &TableGrid::RowDragged, this,
            [this](int from, int to) { EditTables([&] { DragChannelRow(tables_, from, to); }); });
    connect(transponders, &TableGrid::RowDragged, this, [this](int from, int to) {
        EditTables([&] { DragTransponderRow(tables_, from, to); });
    });

    // The status boxes and the encryption list act on every selected channel.
    for (int i = 0; i < 5; ++i) {
        connect(page.statusBoxes[i], &QCheckBox::clicked, this, [this, i](bool ticked) {
            const RowRange rows = tuning_->ChannelGrid()->SelectedRows();
            EditTables([&] { SetStatusBit(tables_, rows, kBoxBits[i], ticked); });
        });
    }
    connect(page.encryption, &QComboBox::activated, this, [this](int code) {
        const RowRange rows = tuning_->ChannelGrid()->SelectedRows();
        EditTables([&] { SetEncryption(tables_, rows, code); });
    });

    MakeNumberField(page.moveField, [this] {
        const bool transponders = tuning_->TransponderGridOnShow();
        return PositionFieldRule(tables_.ChannelRows(),
                                 transponders ? tables_.TransponderRows() : tables_.ChannelRows());
    });

    // The enabling follows the sub-page on show, and the clipboard each time
    // the program comes to the front.
    connect(page.SubPages(), &QTabWidget::currentChanged, this,
            [this] { UpdateEditingControls(); });
    connect(pages_, &QTabWidget::currentChanged, this, [this] {
        if (pages_->currentWidget() == tuning_) UpdateEditingControls();
    });
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive) UpdateEditingControls();
            });

    // Undo and redo anywhere on the page.
    const std::pair<QKeySequence, bool> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_Z), false},
        {QKeySequence(Qt::CTRL | Qt::Key_Y), true},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), true}};
    for (const auto& [sequence, redo] : keys) {
        auto* shortcut = new QShortcut(sequence, tuning_);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, redo = redo] { UndoEdit(redo); });
    }
}

// The editing controls for the sub-page on show: nothing to edit without a
// table, no search among transponders, no transponders in a RAM table, and
// "Pegar" only when the clipboard holds rows of the grid on show.
void TForm1::UpdateEditingControls() {
    TuningPage& page = *tuning_;
    const bool loaded = tables_.HasTable();
    const bool transponders = page.TransponderGridOnShow();
    const bool editable = loaded && !(transponders && tables_.RamMode());
    const ClipboardKind wanted =
        transponders ? ClipboardKind::TransponderRows : ClipboardKind::ChannelRows;
    page.findButton->setEnabled(loaded && !transponders);
    page.duplicatesButton->setEnabled(loaded && !transponders);
    page.saveButton->setEnabled(loaded);
    for (QWidget* control :
         std::initializer_list<QWidget*>{page.copyButton, page.moveButton, page.moveField,
                                         page.deleteButton, page.editButton}) {
        control->setEnabled(editable);
    }
    page.pasteButton->setEnabled(editable && KindOfClipboard(ClipboardText()) == wanted);
}

// One edit of the tables: one step to undo; the panels follow.
void TForm1::EditTables(const std::function<void()>& edit) {
    {
        const EditHistory::Step step(history_);
        edit();
    }
    RefreshTuningPanels();
}

void TForm1::UndoEdit(bool redo) {
    if (redo ? history_.Redo() : history_.Undo()) RefreshTuningPanels();
}

void TForm1::MoveChosen() {
    const bool transponders = tuning_->TransponderGridOnShow();
    TableGrid* grid = transponders ? tuning_->TransponderGrid() : tuning_->ChannelGrid();
    const RowRange rows = grid->SelectedRows();
    const int target = tuning_->moveField->text().toInt();
    MoveResult moved;
    EditTables([&] {
        moved = transponders ? MoveTransponders(tables_, rows, target)
                             : MoveChannels(tables_, rows, target);
    });
    if (moved.fieldReset) tuning_->moveField->setText(QStringLiteral("1"));
}

void TForm1::DeleteChosen() {
    const bool transponders = tuning_->TransponderGridOnShow();
    if (transponders) {
        const RowRange rows = tuning_->TransponderGrid()->SelectedRows();
        EditTables([&] { DeleteTransponders(tables_, rows); });
    } else {
        const RowRange rows = tuning_->ChannelGrid()->SelectedRows();
        EditTables([&] { DeleteChannels(tables_, rows); });
    }
}

void TForm1::CopyChosen() {
    const bool transponders = tuning_->TransponderGridOnShow();
    TableGrid* grid = transponders ? tuning_->TransponderGrid() : tuning_->ChannelGrid();
    const TableRows& rows = transponders ? tables_.Transponders() : tables_.Channels();
    QGuiApplication::clipboard()->setText(CopyRows(rows, grid->SelectedRows()));
    UpdateEditingControls();
}

void TForm1::CutChosen() {
    const EditHistory::Step step(history_);  // the copy and the delete: one edit
    CopyChosen();
    DeleteChosen();
}

void TForm1::PasteChosen() {
    const QString clipboard = ClipboardText();
    if (tuning_->TransponderGridOnShow()) {
        const int row = tuning_->TransponderGrid()->SelectedRows().first;
        TransponderPaste pasted;
        EditTables([&] { pasted = PasteTransponders(tables_, row, clipboard); });
        if (pasted.detached > 0) boxes_->Show(BoxKind::Information, Msg(392).arg(pasted.detached));
    } else {
        const int row = tuning_->ChannelGrid()->SelectedRows().first;
        EditTables([&] { PasteChannels(tables_, row, clipboard); });
    }
}

void TForm1::EditChosen() {
    if (tuning_->TransponderGridOnShow()) {
        ShowTransponderDialog(tuning_->TransponderGrid()->SelectedRows().first);
    } else {
        ShowChannelDialog(tuning_->ChannelGrid()->SelectedRows().first);
    }
}

void TForm1::ShowChannelDialog(int row) {
    const auto values = channelDialog_->Mostrar(row);
    if (values) EditTables([&] { ApplyChannelDialog(tables_, row, *values); });
}

void TForm1::ShowTransponderDialog(int row) {
    const auto values = transponderDialog_->Mostrar(row);
    if (values) EditTables([&] { ApplyTransponderDialog(tables_, row, *values); });
}

void TForm1::SwapChosen() {
    const auto names = swapDialog_->Mostrar();
    if (names) EditTables([&] { SwapSatellites(tables_, names->first, names->second); });
}

// The next group of duplicates is brought together and selected. A selection
// of several rows is the group shown last: the search goes on after it.
void TForm1::DuplicatesChosen() {
    TableGrid* grid = tuning_->ChannelGrid();
    const RowRange selected = grid->SelectedRows();
    const auto group =
        NextDuplicates(tables_, selected.Count() > 1 ? selected.first + 1 : selected.first);
    if (!group) {
        boxes_->Show(BoxKind::Information, Msg(391));
        return;
    }
    RowRange gathered;
    EditTables([&] { gathered = GatherChannels(tables_, *group); });
    grid->SelectRows(gathered);
    RefreshTuningPanels();
}

void TForm1::SearchFor(const QString& text) {
    TableGrid* grid = tuning_->ChannelGrid();
    const auto found = FindChannel(tables_.Channels(), grid->SelectedRows().first, text);
    if (found) {
        grid->SelectRows({*found, *found});
    } else {
        boxes_->Show(BoxKind::Error, Msg(202));
    }
    RefreshTuningPanels();
}

// The keys of the grids, while a table is loaded (for the transponder grid,
// a flash table): Ctrl+C, Backspace, Enter, Ctrl+V, Ctrl+X; in the channel
// grid also "1" to "8" for the encryption system of the selected channels.
// A grid takes keys only while its sub-page is on show.
bool TForm1::ChannelKeyTyped(QKeyEvent* event) {
    if (!tables_.HasTable()) return false;
    const bool plain = !(event->modifiers() & Qt::ControlModifier) && event->text().size() == 1;
    const auto code = plain ? EncryptionOfKey(event->text()[0]) : std::nullopt;
    if (code) {
        const RowRange rows = tuning_->ChannelGrid()->SelectedRows();
        EditTables([&] { SetEncryption(tables_, rows, *code); });
        return true;
    }
    return TransponderKeyTyped(event);
}

bool TForm1::TransponderKeyTyped(QKeyEvent* event) {
    if (!tables_.HasTable() || (tuning_->TransponderGridOnShow() && tables_.RamMode()))
        return false;
    if (IsControl(event, Qt::Key_C)) {
        CopyChosen();
    } else if (IsControl(event, Qt::Key_V)) {
        PasteChosen();
    } else if (IsControl(event, Qt::Key_X)) {
        CutChosen();
    } else if (event->key() == Qt::Key_Backspace) {
        DeleteChosen();
    } else if (IsEnter(event)) {
        EditChosen();
    } else {
        return false;
    }
    RefreshTuningPanels();
    return true;
}

}  // namespace velarix::gui
