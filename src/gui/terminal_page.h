#pragma once

#include <QLineEdit>
#include <QWidget>

#include "log_memo.h"

namespace velarix::gui {

class BoxPresenter;

// The "Terminal" page: the terminal log pane over the one-line input field.
class TerminalPage : public QWidget {
    Q_OBJECT
public:
    TerminalPage(FileDialogs& dialogs, BoxPresenter& boxes, QWidget* parent = nullptr);

    LogMemo* Log() const { return log_; }
    QLineEdit* Input() const { return input_; }

private:
    LogMemo* log_;
    QLineEdit* input_;
};

}  // namespace velarix::gui
