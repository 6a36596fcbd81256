#pragma once

#include <QSet>
#include <QTextStream>
#include <map>

#include "shell/operation_frame.h"

namespace velarix::cli {

// The operation frame of the command line: log lines of the panes a command
// shows and message boxes go to standard error as their text; a question is
// answered with the answer its flag chose, or the safe one; progress is drawn
// on standard error when it is a terminal.
class TextFrame : public OperationFrame {
public:
    TextFrame(QTextStream& err, QSet<LogPane> panes, bool showProgress)
        : err_(err), panes_(std::move(panes)), showProgress_(showProgress) {}

    void BeginBusy() override {}
    void EndBusy() override;
    void SetStatusField(StatusPage page, StatusField field, const QString& text) override;
    QString StatusFieldText(StatusPage page, StatusField field) const override;
    void SetProgress(StatusPage page, int position) override;
    void SetProgressMaximum(StatusPage page, int maximum) override;
    void AddLogLine(LogPane pane, const QString& line) override;
    void ShowMessage(BoxKind kind, const QString& text) override;
    bool AskOkCancel(BoxKind kind, const QString& text) override;
    AbortRetryIgnore AskAbortRetryIgnore(const QString& text) override;
    int ChooseFromList(const QString& caption, const QString& prompt,
                       const QStringList& choices) override;
    void Repaint() override;

    // Answers for the questions, set from the command's flags.
    bool okAnswer = false;
    AbortRetryIgnore abortRetryIgnoreAnswer = AbortRetryIgnore::Abort;
    int listAnswer = -1;

private:
    void Write(const QString& text);
    void DrawProgress();
    void ClearProgress();

    QTextStream& err_;
    QSet<LogPane> panes_;
    bool showProgress_;
    bool progressShown_ = false;
    std::map<std::pair<StatusPage, StatusField>, QString> fields_;
    std::map<StatusPage, std::pair<int, int>> progress_;  // position, maximum
    StatusPage lastPage_ = StatusPage::Eeprom;
};

}  // namespace velarix::cli
