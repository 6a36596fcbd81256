#include "box_presenter.h"

#include <QMessageBox>

#include "section_chooser.h"
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
    // A warning asks before something that cannot be undone (erasing a
    // chip): Enter must not be the way to say yes.
    if (kind == BoxKind::Warning) box.setDefaultButton(QMessageBox::Cancel);
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

// The window's list choice is the section chooser, made for the one choice
// and gone with it.
int DialogBoxPresenter::ChooseFromList(const QString& caption, const QString& prompt,
                                       const QStringList& choices) {
    TForm4 chooser(owner_);
    return chooser.Choose(caption, prompt, choices);
}

}  // namespace velarix::gui
