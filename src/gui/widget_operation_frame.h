#pragma once

#include <QPointer>
#include <QProgressBar>
#include <QWidget>
#include <array>

#include "shell/operation_frame.h"

namespace velarix::gui {

class BoxPresenter;
class LogMemo;
class StatusPanel;

// What the operation frame drives on the window.
struct FrameWidgets {
    std::array<StatusPanel*, 3> status;     // by StatusPage
    std::array<QProgressBar*, 3> progress;  // by StatusPage
    std::array<LogMemo*, 4> logs;           // by LogPane
    QWidget* root;                          // the window holding the pages
};

// The names of the pages that a running task disables: every page but
// "Imagen" and "Tabla de Transpondedores".
const QStringList& BusyPageNames();

// The operation frame on the window's widgets.
class WidgetOperationFrame : public OperationFrame {
public:
    WidgetOperationFrame(const FrameWidgets& widgets, BoxPresenter& boxes)
        : w_(widgets), boxes_(boxes) {}

    void BeginBusy() override { SetPagesEnabled(false); }
    void EndBusy() override { SetPagesEnabled(true); }
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

private:
    void SetPagesEnabled(bool enabled);
    // Whether the person watches the widget while a task runs (a status
    // panel, a progress bar, a log pane), or it must stay reachable.
    bool IsKept(const QWidget* widget) const;
    // Disables what of `widget` is not kept, as high up as it can.
    void DisableAround(QWidget* widget);

    FrameWidgets w_;
    BoxPresenter& boxes_;
    // What BeginBusy disabled, to enable again; nothing else is touched, so
    // a control disabled by its page before stays disabled after.
    QList<QPointer<QWidget>> disabled_;
};

}  // namespace velarix::gui
