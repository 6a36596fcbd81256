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
constexpr auto kTuningPage = "TabSheet7";
constexpr auto kTuningSubPages = "PageControl4";

}  // namespace

const QStringList& BusyPageNames() {
    static const QStringList names{"TabSheet1", "TabSheet2", "TabSheet3", "TabSheet4",
                                   "TabSheet5", "TabSheet6", "TabSheet7", "TabSheet8"};
    return names;
}

void WidgetOperationFrame::SetPagesEnabled(bool enabled) {
    for (const QString& name : BusyPageNames()) {
        auto* page = w_.root->findChild<QWidget*>(name);
        if (!page) continue;
        if (name == QLatin1String(kTuningPage)) {
            for (auto* child : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (child->objectName() != QLatin1String(kTuningSubPages))
                    child->setEnabled(enabled);
            }
        } else {
            page->setEnabled(enabled);
        }
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
