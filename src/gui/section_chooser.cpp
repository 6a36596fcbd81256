#include "section_chooser.h"

#include <QHeaderView>
#include <QVBoxLayout>

#include "shell/message_table.h"

namespace velarix::gui {

TForm4::TForm4(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      prompt_(new QLabel(this)),
      grid_(new QTableWidget(this)),
      ok_(new QPushButton(this)) {
    setObjectName(QStringLiteral("TForm4"));
    prompt_->setObjectName(QStringLiteral("Label1"));
    grid_->setObjectName(QStringLiteral("StringGrid1"));
    ok_->setObjectName(QStringLiteral("Button1"));
    grid_->setColumnCount(2);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();
    grid_->horizontalHeader()->setStretchLastSection(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt_);
    layout->addWidget(grid_);
    layout->addWidget(ok_, 0, Qt::AlignHCenter);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    resize(300, 220);
}

int TForm4::Choose(const QString& caption, const QString& prompt, const QStringList& rows) {
    setWindowTitle(caption);
    prompt_->setText(prompt);
    ok_->setText(Msg(157));
    grid_->setHorizontalHeaderLabels({Msg(182), Msg(183)});
    grid_->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const QStringList columns = rows[r].split(QLatin1Char('\t'));
        for (int c = 0; c < 2; ++c) grid_->setItem(r, c, new QTableWidgetItem(columns.value(c)));
    }
    if (!rows.isEmpty()) grid_->selectRow(0);
    ok_->setFocus();
    exec();
    const int chosen = grid_->currentRow();
    return chosen < 0 ? 0 : chosen;
}

}  // namespace velarix::gui
