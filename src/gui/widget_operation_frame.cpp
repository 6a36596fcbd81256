#include "widget_operation_frame.h"

#include "box_presenter.h"
#include "log_memo.h"
#include "status_panel.h"

namespace velarix::gui {

namespace {

int Index(auto value) {
    return static_cast<int>(value);
}

// The channel-table page stays reachable through its sub-page control so that
// "Tabla de Transpondedores" stays usable; its other controls stop reacting.
constexpr auto kTuningSubPages = "PageControl4";

}  // namespace

const QStringList& BusyPageNames() {
    static const QStringList names{"TabSheet1", "TabSheet2", "TabSheet3", "TabSheet4",
                                   "TabSheet5", "TabSheet6", "TabSheet7", "TabSheet8"};
    return names;
}

bool WidgetOperationFrame::IsKept(const QWidget* widget) const {
    for (const QWidget* panel : w_.status)
        if (widget == panel) return true;
    for (const QWidget* bar : w_.progress)
        if (widget == bar) return true;
    for (const QWidget* log : w_.logs)
        if (widget == log) return true;
    return widget->objectName() == QLatin1String(kTuningSubPages);
}

// A widget holding nothing kept is disabled whole, so that the controls in
// it keep their own enabled state; one that holds something kept is opened
// up and its other children are disabled.
void WidgetOperationFrame::DisableAround(QWidget* widget) {
    if (IsKept(widget)) return;
    bool holdsKept = false;
    for (const QWidget* kept : w_.status) holdsKept = holdsKept || widget->isAncestorOf(kept);
    for (const QWidget* kept : w_.progress) holdsKept = holdsKept || widget->isAncestorOf(kept);
    for (const QWidget* kept : w_.logs) holdsKept = holdsKept || widget->isAncestorOf(kept);
    if (auto* tuning = w_.root->findChild<QWidget*>(QLatin1String(kTuningSubPages)))
        holdsKept = holdsKept || widget->isAncestorOf(tuning);
    if (!holdsKept) {
        if (widget->testAttribute(Qt::WA_ForceDisabled)) return;  // disabled by its page
        widget->setEnabled(false);
        disabled_ << widget;
        return;
    }
    for (auto* child : widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        DisableAround(child);
}

// The pages stop reacting, but what the person watches keeps its look:
// the status panels, progress bars and log panes stay enabled, and
// "Sintonización" keeps its sub-page control so that "Tabla de
// Transpondedores" stays usable.
void WidgetOperationFrame::SetPagesEnabled(bool enabled) {
    if (enabled) {
        for (const QPointer<QWidget>& widget : std::as_const(disabled_))
            if (widget) widget->setEnabled(true);
        disabled_.clear();
        return;
    }
    for (const QString& name : BusyPageNames()) {
        if (auto* page = w_.root->findChild<QWidget*>(name)) DisableAround(page);
    }
}

void WidgetOperationFrame::SetStatusField(StatusPage page, StatusField field, const QString& text) {
    auto* panel = w_.status[Index(page)];
    panel->SetField(field, text);
    if (field == StatusField::Errors) panel->RepaintFields();
}

QString WidgetOperationFrame::StatusFieldText(StatusPage page, StatusField field) const {
    return w_.status[Index(page)]->Field(field);
}

void WidgetOperationFrame::SetProgress(StatusPage page, int position) {
    w_.progress[Index(page)]->setValue(position);
}

void WidgetOperationFrame::SetProgressMaximum(StatusPage page, int maximum) {
    w_.progress[Index(page)]->setMaximum(maximum);
}

void WidgetOperationFrame::AddLogLine(LogPane pane, const QString& line) {
    w_.logs[Index(pane)]->AddLine(line);
}

void WidgetOperationFrame::ShowMessage(BoxKind kind, const QString& text) {
    boxes_.Show(kind, text);
}

bool WidgetOperationFrame::AskOkCancel(BoxKind kind, const QString& text) {
    return boxes_.AskOkCancel(kind, text);
}

AbortRetryIgnore WidgetOperationFrame::AskAbortRetryIgnore(const QString& text) {
    return boxes_.AskAbortRetryIgnore(text);
}

int WidgetOperationFrame::ChooseFromList(const QString& caption, const QString& prompt,
                                         const QStringList& choices) {
    return boxes_.ChooseFromList(caption, prompt, choices);
}

void WidgetOperationFrame::Repaint() {
    for (auto* panel : w_.status) panel->RepaintFields();
    for (auto* bar : w_.progress) bar->repaint();
}

}  // namespace velarix::gui
