#include "edit_dialog.h"

#include <QEvent>
#include <QWindow>

#include "layout_rules.h"
#include "shell/message_table.h"
#include "widgets.h"

namespace velarix::gui {

namespace {

constexpr int kGridLeft = 8;
constexpr int kLabelHeight = 16;

int CentredLeft(int width, int panelWidth) {
    return width / 2 - panelWidth / 2 - 4;
}

}  // namespace

EditDialogLayout LayOutEditDialog(const EditDialogShape& shape, QSize size) {
    const int w = size.width(), h = size.height();
    EditDialogLayout layout;
    layout.upper = {{CentredLeft(w, shape.upperPanel.width()), 4}, shape.upperPanel};
    layout.label = {kGridLeft, shape.gridTop - kLabelHeight - 2, w - 24, kLabelHeight};
    layout.grid = {kGridLeft, shape.gridTop, w - 24, h - shape.gridLess};
    layout.lower = {{CentredLeft(w, shape.lowerPanel.width()), h - shape.lowerFromBottom},
                    shape.lowerPanel};
    return layout;
}

EditDialog::EditDialog(const char* name, const EditDialogShape& shape, int& width, int& height,
                       QWidget* owner)
    : QDialog(nullptr),
      shape_(shape),
      width_(width),
      height_(height),
      owner_(owner),
      upper_(new QWidget(this)),
      lower_(new QWidget(this)) {
    setObjectName(QString::fromLatin1(name));
    // A window of its own: its controls keep their names apart from the main
    // window's, and it never keeps the program running.
    setAttribute(Qt::WA_QuitOnClose, false);
    upper_->setObjectName(QStringLiteral("Panel1"));
    lower_->setObjectName(QStringLiteral("Panel2"));
    listLabel_ = MakeLabel(this, "Label9", {});
    list_ = new TableGrid("StringGrid1", listRows_, true, this);
    list_->setSelectionMode(QAbstractItemView::NoSelection);
    ok_ = MakeButton(lower_, "Button1", {});
    cancel_ = MakeButton(lower_, "Button2", {});
    for (QPushButton* button : {ok_, cancel_}) button->setAutoDefault(false);
    ok_->setDefault(true);  // Enter in a field is "Ok"
    connect(ok_, &QPushButton::clicked, this, [this] {
        Confirm();
        accept();
    });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    setMinimumSize(shape.minimum);
}

void EditDialog::ShowList(const TableRow& headings, const std::vector<TableRow>& rows) {
    std::vector<TableRow> all;
    all.reserve(rows.size() + 1);
    all.push_back(headings);
    all.insert(all.end(), rows.begin(), rows.end());
    listRows_.SetRows(std::move(all));
}

bool EditDialog::ShowModal() {
    resize(std::max(width_, shape_.minimum.width()), std::max(height_, shape_.minimum.height()));
    if (owner_) {
        move(owner_->frameGeometry().center() - QPoint(width() / 2, height() / 2));
        if (!windowHandle()) create();
        if (windowHandle() && owner_->windowHandle())
            windowHandle()->setTransientParent(owner_->windowHandle());
    }
    const bool ok = exec() == QDialog::Accepted;
    if (owner_) owner_->activateWindow();  // the keys go back to the window
    return ok;
}

void EditDialog::showEvent(QShowEvent* event) {
    ApplyCaptions();
    ok_->setText(Msg(157));
    cancel_->setText(Msg(158));
    QDialog::showEvent(event);
    activateWindow();
    if (firstField_) {
        firstField_->setFocus();
        firstField_->selectAll();
    }
}

void EditDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        ApplyCaptions();
        ok_->setText(Msg(157));
        cancel_->setText(Msg(158));
    }
    QDialog::changeEvent(event);
}

void EditDialog::hideEvent(QHideEvent* event) {
    width_ = width();
    height_ = height();
    QDialog::hideEvent(event);
}

void EditDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const EditDialogLayout layout = LayOutEditDialog(shape_, size());
    upper_->setGeometry(layout.upper);
    listLabel_->setGeometry(layout.label);
    list_->setGeometry(layout.grid);
    lower_->setGeometry(layout.lower);
    list_->SetColumnWidths(ChannelGridColumnWidths(layout.grid.width()));
}

}  // namespace velarix::gui
