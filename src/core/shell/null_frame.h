#pragma once

#include "shell/operation_frame.h"

namespace velarix {

// An operation frame that shows nothing and answers every question with the
// safe answer; for measuring and fuzzing the operations on their own.
class NullFrame : public OperationFrame {
public:
    void BeginBusy() override {}
    void EndBusy() override {}
    void SetStatusField(StatusPage, StatusField, const QString&) override {}
    QString StatusFieldText(StatusPage, StatusField) const override { return {}; }
    void SetProgress(StatusPage, int) override {}
    void SetProgressMaximum(StatusPage, int) override {}
    void AddLogLine(LogPane, const QString&) override {}
    void ShowMessage(BoxKind, const QString&) override {}
    bool AskOkCancel(BoxKind, const QString&) override { return false; }
    AbortRetryIgnore AskAbortRetryIgnore(const QString&) override {
        return AbortRetryIgnore::Abort;
    }
    int ChooseFromList(const QString&, const QString&, const QStringList&) override { return -1; }
    void Repaint() override {}
};

}  // namespace velarix
