#include "terminal_page.h"

#include <QFontDatabase>

#include "layout_rules.h"
#include "widgets.h"

namespace velarix::gui {

namespace {

const LogMemoNames kLogNames{"Memo2", "PopupMenu2", "GuardarComo3", "Borrar3", "Copiar3"};

}  // namespace

TerminalPage::TerminalPage(FileDialogs& dialogs, BoxPresenter& boxes, QWidget* parent)
    : QWidget(parent),
      log_(new LogMemo(kLogNames, dialogs, boxes, this)),
      input_(new QLineEdit(this)) {
    setObjectName(QStringLiteral("TabSheet6"));
    input_->setObjectName(QStringLiteral("Edit1"));
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    log_->setFont(fixed);
    input_->setFont(fixed);
    OnResize(this, [this](QSize page) {
        const auto layout = LayOutTerminalPage(page);
        log_->setGeometry(layout.log);
        input_->setGeometry(layout.input);
    });
}

}  // namespace velarix::gui
