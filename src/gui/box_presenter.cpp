#include "box_presenter.h"

#include <QInputDialog>
#include <QMessageBox>

#include "shell/title.h"

namespace velarix::gui {

namespace {

QMessageBox::Icon IconOf(BoxKind kind) {
    switch (kind) {
        case BoxKind::Information:
            return QMessageBox::Information;
        case BoxKind::Warning:
            return QMessageBox::Warning;
        case BoxKind::Error:
            return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void DialogBoxPresenter::Show(BoxKind kind, const QString& text) {
    QMessageBox box(IconOf(kind), TitleText(), DisplayedText(text), QMessageBox::Ok, owner_);
    box.exec();
}

bool DialogBoxPresenter::AskOkCancel(BoxKind kind, const QString& text) {
    QMessageBox box(IconOf(kind), TitleText(), DisplayedText(text),
                    QMessageBox::Ok | QMessageBox::Cancel, owner_);
    return box.exec() == QMessageBox::Ok;
}

AbortRetryIgnore DialogBoxPresenter::AskAbortRetryIgnore(const QString& text) {
    QMessageBox box(QMessageBox::Critical, TitleText(), DisplayedText(text),
                    QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore, owner_);
    switch (box.exec()) {
        case QMessageBox::Retry:
            return AbortRetryIgnore::Retry;
        case QMessageBox::Ignore:
            return AbortRetryIgnore::Ignore;
        default:
            return AbortRetryIgnore::Abort;
    }
}

int DialogBoxPresenter::ChooseFromList(const QString& caption, const QString& prompt,
                                       const QStringList& choices) {
    bool ok = false;
    const QString chosen = QInputDialog::getItem(owner_, caption, prompt, choices, 0, false, &ok);
    return ok ? static_cast<int>(choices.indexOf(chosen)) : -1;
}

}  // namespace velarix::gui
