#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <vector>

#include "tuning/table_rows.h"
#include "tuning_grid.h"

namespace velarix::gui {

// Where the parts of an edit dialog go for its size: the channel list is
// W - 24 wide and H less a fixed amount high; the upper panel and the lower
// (button) panel are centred, left edge W / 2 - panel width / 2 - 4 (each half
// rounded towards zero); the lower panel's top is a fixed amount above the
// bottom.
struct EditDialogShape {
    QSize minimum;
    QSize upperPanel;
    QSize lowerPanel;
    int gridTop;          // the list's top
    int gridLess;         // the list's height is H less this
    int lowerFromBottom;  // the lower panel's top is H less this
};
struct EditDialogLayout {
    QRect upper, label, grid, lower;
};
EditDialogLayout LayOutEditDialog(const EditDialogShape& shape, QSize size);

// What the channel and the transponder dialog share: an upper panel of
// fields, the list "Canales en ese transpondedor : " of the channels on the
// transponder, a lower panel with "Ok" and "Cancelar", the size kept in the
// settings, and the captions taken from the message table each time the
// dialog is activated.
class EditDialog : public QDialog {
    Q_OBJECT
public:
    TableGrid* List() const { return list_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }
    QWidget* UpperPanel() const { return upper_; }
    QWidget* LowerPanel() const { return lower_; }

protected:
    // `width` and `height` are the settings the size is read from and kept in.
    EditDialog(const char* name, const EditDialogShape& shape, int& width, int& height,
               QWidget* owner);

    // The list's rows under the headings of the channel grid.
    void ShowList(const TableRow& headings, const std::vector<TableRow>& rows);
    // Shows the dialog modally at its kept size, over the window; true for "Ok".
    bool ShowModal();
    // The captions of the dialog's own controls, from the message table.
    virtual void ApplyCaptions() = 0;
    // "Ok" was pressed: the field that has the focus makes its correction.
    virtual void Confirm() {}

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

    QLabel* listLabel_;
    // The field that has the focus, its text selected, when the dialog shows.
    QLineEdit* firstField_ = nullptr;

private:
    EditDialogShape shape_;
    int& width_;
    int& height_;
    QWidget* owner_;
    QWidget* upper_;
    QWidget* lower_;
    TableRows listRows_{1};
    TableGrid* list_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

}  // namespace velarix::gui
