#include "search_dialog.h"

#include <QEvent>
#include <QScreen>
#include <QWindow>

#include "shell/message_table.h"
#include "widgets.h"

namespace velarix::gui {

TForm5::TForm5(QWidget* owner) : QDialog(nullptr), owner_(owner) {
    setObjectName(QStringLiteral("TForm5"));
    setAttribute(Qt::WA_QuitOnClose, false);
    setModal(false);
    label_ = MakeLabel(this, "Label1", {10, 12, 130, 22});
    name_ = MakeEdit(this, "Edit1", {140, 12, 150, 22});
    name_->setMaxLength(16);
    search_ = MakeButton(this, "Button1", {60, 46, 85, 25});
    cancel_ = MakeButton(this, "Button2", {155, 46, 85, 25});
    // Enter belongs to the field (the next match), never to a button.
    for (QPushButton* button : {search_, cancel_}) button->setAutoDefault(false);
    connect(name_, &QLineEdit::returnPressed, this, [this] { Search(false); });
    connect(search_, &QPushButton::clicked, this, [this] { Search(true); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(300, 82);
}

void TForm5::Mostrar() {
    if (!isVisible() && owner_) {
        // Beside the window when the screen has room there, else over the
        // grid's left side, clear of the page's buttons.
        const QRect window = owner_->frameGeometry();
        const QRect screen = owner_->screen()->availableGeometry();
        const bool room = window.right() + 8 + frameGeometry().width() <= screen.right();
        move(room ? window.right() + 8 : window.left() + 40, window.top() + 80);
        if (!windowHandle()) create();
        if (windowHandle() && owner_->windowHandle())
            windowHandle()->setTransientParent(owner_->windowHandle());
    }
    show();
    raise();
    activateWindow();
    name_->setFocus();
    name_->selectAll();
}

void TForm5::Search(bool close) {
    const QString text = name_->text();
    if (!text.isEmpty()) emit SearchAsked(text);
    if (close) hide();
}

void TForm5::ApplyCaptions() {
    setWindowTitle(Msg(203));
    label_->setText(Msg(204));
    search_->setText(Msg(205));
    cancel_->setText(Msg(158));
}

void TForm5::showEvent(QShowEvent* event) {
    ApplyCaptions();
    QDialog::showEvent(event);
}

void TForm5::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) ApplyCaptions();
    QDialog::changeEvent(event);
}

}  // namespace velarix::gui
