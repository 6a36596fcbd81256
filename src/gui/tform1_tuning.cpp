// The window's "Sintonización" page: reading, merging and saving table files,
// the panels that follow the selected channel, the enabling that a load sets,
// and what the configuration page's tuning lists do to the tables.
#include <QFontInfo>
#include <QHeaderView>

#include "box_presenter.h"
#include "config_tuning.h"
#include "configuration_page.h"
#include "shell/message_table.h"
#include "shell/title.h"
#include "shell/whole_file.h"
#include "tform1.h"
#include "tuning/table_files.h"
#include "tuning/text_forms.h"
#include "tuning_page.h"

namespace velarix::gui {

void TForm1::ConnectTuningPage() {
    connect(tuning_->readButton, &QPushButton::clicked, this, [this] { ReadTableChosen(); });
    connect(tuning_->addButton, &QPushButton::clicked, this, [this] { MergeTableChosen(); });
    connect(tuning_->saveButton, &QPushButton::clicked, this, [this] { SaveTablesChosen(); });
    connect(&tables_, &ChannelTables::StateChanged, this, [this] {
        tuning_->ShowSectionLabels(tables_.ChannelSectionLabel(),
                                   tables_.TransponderSectionLabel());
    });
    connect(&tables_, &ChannelTables::PositionsChosen, this,
            [this] { configuration_->Tuning()->ShowPositions(); });
    // However a table came (a file, a JTAG read-out), the page follows it.
    connect(&tables_, &ChannelTables::TableLoaded, this,
            [this](TableKind kind) { ShowLoadedTable(kind); });
    connect(&tables_, &ChannelTables::TableReleased, this, [this] { ShowNoTable(); });
    QItemSelectionModel* selection = tuning_->ChannelGrid()->selectionModel();
    connect(selection, &QItemSelectionModel::currentRowChanged, this,
            [this] { RefreshTuningPanels(); });
    connect(selection, &QItemSelectionModel::selectionChanged, this,
            [this] { RefreshTuningPanels(); });
    ConnectTableEditing();
}

// The panels follow the channel grid's cursor row (the top row of the
// selection) while a table is loaded.
void TForm1::RefreshTuningPanels() {
    TableGrid* grid = tuning_->ChannelGrid();
    if (!tables_.HasTable() || grid->CurrentRow() < 1) return;
    tuning_->ShowPanels(tables_.PanelsFor(grid->SelectedRows().first));
}

void TForm1::ReadTableChosen() {
    const auto choice = dialogs_->AskOpen(Msg(133), 1);
    if (!choice) return;
    frame_->BeginBusy();
    FileRead file = ReadWholeFile(choice->path);
    if (!file.ok()) {
        boxes_->Show(BoxKind::Error, Msg(200) + QLatin1Char('\n') + file.error);
        frame_->EndBusy();
        return;
    }
    setWindowTitle(choice->path + QStringLiteral(" - ") + TitleText());
    const TableKind kind = choice->filterIndex == 2 ? TableKind::RamTable : TableKind::FlashImage;
    if (!tables_.LoadTable(std::move(file.bytes), kind, *frame_)) setWindowTitle(TitleText());
    frame_->EndBusy();
}

void TForm1::ShowLoadedTable(TableKind kind) {
    TuningPage& page = *tuning_;
    for (QWidget* control :
         std::initializer_list<QWidget*>{page.saveButton, page.copyButton, page.moveButton,
                                         page.moveField, page.deleteButton, page.editButton}) {
        control->setEnabled(true);
    }
    page.SetStatusEnabled(true);
    if (kind == TableKind::RamTable) {
        page.SubPages()->setCurrentWidget(page.ChannelSubPage());
        page.SetTransponderSubPageEnabled(false);
        page.findButton->setEnabled(true);
        page.addButton->setEnabled(false);  // a merge needs a flash image
    } else {
        page.addButton->setEnabled(true);
        page.cutButton->setEnabled(true);
        page.swapButton->setEnabled(true);
        page.SetTransponderSubPageEnabled(true);
        page.findButton->setEnabled(!page.TransponderGridOnShow());
    }
    page.ChannelGrid()->SetRowsDraggable(true);
    page.TransponderGrid()->SetRowsDraggable(kind == TableKind::FlashImage);
    UpdateEditingControls();
    TableGrid* grid = page.ChannelGrid();
    if (grid->CurrentRow() < 1) {
        grid->setCurrentIndex(grid->model()->index(0, 0));
    } else {
        RefreshTuningPanels();
    }
}

void TForm1::ShowNoTable() {
    TuningPage& page = *tuning_;
    for (QWidget* control : std::initializer_list<QWidget*>{
             page.findButton, page.saveButton, page.copyButton, page.moveButton, page.moveField,
             page.deleteButton, page.editButton, page.pasteButton, page.cutButton, page.swapButton,
             page.addButton}) {
        control->setEnabled(false);
    }
    page.SetStatusEnabled(false);
    page.ClearTransponderInfo();
    page.ChannelGrid()->SetRowsDraggable(false);
    page.TransponderGrid()->SetRowsDraggable(false);
    UpdateEditingControls();
}

void TForm1::MergeTableChosen() {
    const auto choice = dialogs_->AskOpen(Msg(243), 1);
    if (!choice) return;
    frame_->BeginBusy();
    const FileRead file = ReadWholeFile(choice->path);
    if (!file.ok()) {
        boxes_->Show(BoxKind::Error, Msg(200) + QLatin1Char('\n') + file.error);
    } else {
        EditTables([&] { tables_.MergeTable(file.bytes, *frame_); });
    }
    frame_->EndBusy();
}

void TForm1::SaveTablesChosen() {
    const auto choice = dialogs_->AskSave(Msg(15), 1);
    if (!choice) return;
    frame_->BeginBusy();
    const bool transponders = tuning_->TransponderGridOnShow();
    TableGrid* grid = transponders ? tuning_->TransponderGrid() : tuning_->ChannelGrid();
    const QFont heading = grid->horizontalHeader()->font();
    HtmlStyle style;
    style.headingPointSize = QFontInfo(heading).pointSize();
    style.bold = heading.bold();
    style.italic = heading.italic();
    style.strikeOut = heading.strikeOut();
    style.underline = heading.underline();
    const auto error =
        SaveTables(tables_, choice->path, SaveKindOfFilter(choice->filterIndex),
                   transponders ? tables_.Transponders() : tables_.Channels(), style);
    if (error) boxes_->Show(BoxKind::Error, *error);
    frame_->EndBusy();
}

// The channel count sets the grid's rows and the length of the "Mover a" row.
void TForm1::ApplyChannelCount() {
    tables_.ApplyChannelCount();
    tuning_->moveField->setMaxLength(tables_.ChannelRows() > 1000 ? 4 : 3);
    tuning_->moveField->setText(QStringLiteral("1"));
}

void TForm1::ApplyTransponderCount() {
    tables_.ApplyTransponderCount();
}

// Leaving the configuration page: a satellite whose name changed is renamed
// in the SAT column of both grids and in the satellite-name list.
void TForm1::RenameSatellites() {
    for (int i = 0; i < 4; ++i) {
        const QString name = settings_.satellites[i];
        const QString old = settings_.satelliteNames[i];
        if (name == old) continue;
        tables_.RenameSatellite(old, name);
        settings_.satelliteNames[i] = name;
    }
}

}  // namespace velarix::gui
