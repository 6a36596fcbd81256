#pragma once

#include <functional>

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <map>

#include "shell/operation_frame.h"

namespace velarix::test {

// An operation frame that remembers everything an operation showed, and
// answers questions from a script (Abort when the script runs dry).
class RecordingFrame : public OperationFrame {
public:
    struct Box {
        BoxKind kind;
        QString text;
    };

    void BeginBusy() override;
    void EndBusy() override;
    void SetStatusField(StatusPage page, StatusField field, const QString& text) override;
    QString StatusFieldText(StatusPage page, StatusField field) const override;
    void SetProgress(StatusPage page, int position) override;
    void SetProgressMaximum(StatusPage page, int maximum) override;
    void AddLogLine(LogPane pane, const QString& line) override;
    void ShowMessage(BoxKind kind, const QString& text) override;
    // What happens while a box is up: a modal box runs the event loop, so
    // the serial port may be read meanwhile.
    std::function<void(const QString& text)> whileShown;
    bool AskOkCancel(BoxKind kind, const QString& text) override;
    AbortRetryIgnore AskAbortRetryIgnore(const QString& text) override;
    int ChooseFromList(const QString& caption, const QString& prompt,
                       const QStringList& choices) override;
    void Repaint() override { ++repaints; }

    QStringList Log(LogPane pane) const { return logs.value(pane); }
    int Progress(StatusPage page) const { return progress.value(page); }
    int ProgressMaximum(StatusPage page) const { return maxima.value(page); }

    bool busy = false;
    int busyCount = 0;  // BeginBusy calls
    int endBusyCount = 0;
    int repaints = 0;
    QList<Box> boxes;
    QHash<LogPane, QStringList> logs;
    QHash<StatusPage, int> progress;
    QHash<StatusPage, int> maxima;
    std::map<std::pair<StatusPage, StatusField>, QString> fields;
    // Every text the errors field of a page showed, in order.
    QHash<StatusPage, QStringList> errorHistory;

    std::deque<bool> okCancelAnswers;
    std::deque<AbortRetryIgnore> abortRetryIgnoreAnswers;
    std::deque<int> listAnswers;
    // The entries of every list offered, in order.
    QList<QStringList> listsOffered;
};

}  // namespace velarix::test
