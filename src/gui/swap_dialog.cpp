#include "swap_dialog.h"

#include <QWindow>

#include "shell/message_table.h"
#include "shell/settings.h"
#include "widgets.h"

namespace velarix::gui {

TForm6::TForm6(const Settings& settings, QWidget* owner)
    : QDialog(nullptr), settings_(settings), owner_(owner) {
    setObjectName(QStringLiteral("TForm6"));
    setAttribute(Qt::WA_QuitOnClose, false);
    labels_[0] = MakeLabel(this, "Label1", {10, 12, 170, 22});
    lists_[0] = MakeCombo(this, "ComboBox1", {182, 12, 130, 22});
    labels_[1] = MakeLabel(this, "Label2", {10, 42, 170, 22});
    lists_[1] = MakeCombo(this, "ComboBox2", {182, 42, 130, 22});
    for (QLabel* label : labels_) label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ok_ = MakeButton(this, "Button1", {74, 78, 85, 25});
    cancel_ = MakeButton(this, "Button2", {167, 78, 85, 25});
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    for (QComboBox* list : lists_) connect(list, &QComboBox::activated, this, [this] { Chosen(); });
    setFixedSize(326, 114);
}

// Both lists on the same satellite: back to names 1 and 2.
void TForm6::Chosen() {
    if (lists_[0]->currentIndex() != lists_[1]->currentIndex()) return;
    lists_[0]->setCurrentIndex(0);
    lists_[1]->setCurrentIndex(1);
}

void TForm6::showEvent(QShowEvent* event) {
    setWindowTitle(Msg(365));
    labels_[0]->setText(Msg(366));
    labels_[1]->setText(Msg(367));
    ok_->setText(Msg(157));
    cancel_->setText(Msg(158));
    const QStringList names(settings_.satellites.begin(), settings_.satellites.end());
    for (QComboBox* list : lists_) {
        list->clear();
        list->addItems(names);
    }
    lists_[0]->setCurrentIndex(0);
    lists_[1]->setCurrentIndex(1);
    QDialog::showEvent(event);
    activateWindow();
}

std::optional<std::pair<QString, QString>> TForm6::Mostrar() {
    if (owner_) {
        move(owner_->frameGeometry().center() - QPoint(width() / 2, height() / 2));
        if (!windowHandle()) create();
        if (windowHandle() && owner_->windowHandle())
            windowHandle()->setTransientParent(owner_->windowHandle());
    }
    const bool ok = exec() == QDialog::Accepted;
    if (owner_) owner_->activateWindow();  // the keys go back to the window
    if (!ok) return std::nullopt;
    return std::pair{lists_[0]->currentText(), lists_[1]->currentText()};
}

}  // namespace velarix::gui
