#include "log_memo.h"

#include <QContextMenuEvent>
#include <QScrollBar>

#include "box_presenter.h"
#include "shell/file_dialogs.h"
#include "shell/message_table.h"
#include "shell/operation_frame.h"
#include "shell/whole_file.h"

namespace velarix::gui {

namespace {

QAction* MenuItem(QMenu* menu, const char* name) {
    auto* action = menu->addAction(QString());
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

}  // namespace

LogMemo::LogMemo(const LogMemoNames& names, FileDialogs& dialogs, BoxPresenter& boxes,
                 QWidget* parent)
    : QPlainTextEdit(parent), dialogs_(dialogs), boxes_(boxes), menu_(new QMenu(this)) {
    setObjectName(QString::fromLatin1(names.pane));
    setReadOnly(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    menu_->setObjectName(QString::fromLatin1(names.menu));
    save_ = MenuItem(menu_, names.saveItem);
    clear_ = MenuItem(menu_, names.clearItem);
    copy_ = MenuItem(menu_, names.copyItem);
    connect(save_, &QAction::triggered, this, &LogMemo::SaveAs);
    connect(clear_, &QAction::triggered, this, &QPlainTextEdit::clear);
    connect(copy_, &QAction::triggered, this, &QPlainTextEdit::copy);
}

// A reply is logged as received, carriage return included; the pane shows
// its carriage returns as line ends, the last one ending the line itself.
void LogMemo::AddLine(const QString& line) {
    QString shown = line;
    if (shown.endsWith(QLatin1Char('\r'))) shown.chop(1);
    appendPlainText(DisplayedText(shown));
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

QStringList LogMemo::Lines() const {
    if (document()->isEmpty()) return {};
    return toPlainText().split(QLatin1Char('\n'));
}

void LogMemo::PrepareMenu() {
    copy_->setEnabled(textCursor().hasSelection());
}

void LogMemo::contextMenuEvent(QContextMenuEvent* event) {
    PrepareMenu();
    menu_->exec(event->globalPos());
}

void LogMemo::SaveAs() {
    const auto choice = dialogs_.AskSave(Msg(113));
    if (!choice) return;
    QString text;
    for (const QString& line : Lines()) text += line + QLatin1Char('\n');
    if (const auto error = WriteWholeFile(choice->path, text.toUtf8())) {
        boxes_.Show(BoxKind::Error, *error);
    }
}

}  // namespace velarix::gui
