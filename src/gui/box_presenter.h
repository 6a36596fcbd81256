#pragma once

#include <QString>
#include <QStringList>

#include "shell/operation_frame.h"

class QWidget;

namespace velarix::gui {

// Message boxes and questions of the window. The window shows them as modal
// dialogs; the widget tests answer them without a dialog.
class BoxPresenter {
public:
    virtual ~BoxPresenter() = default;
    virtual void Show(BoxKind kind, const QString& text) = 0;
    virtual bool AskOkCancel(BoxKind kind, const QString& text) = 0;
    virtual AbortRetryIgnore AskAbortRetryIgnore(const QString& text) = 0;
    virtual int ChooseFromList(const QString& caption, const QString& prompt,
                               const QStringList& choices) = 0;
};

class DialogBoxPresenter : public BoxPresenter {
public:
    explicit DialogBoxPresenter(QWidget* owner) : owner_(owner) {}
    void Show(BoxKind kind, const QString& text) override;
    bool AskOkCancel(BoxKind kind, const QString& text) override;
    AbortRetryIgnore AskAbortRetryIgnore(const QString& text) override;
    int ChooseFromList(const QString& caption, const QString& prompt,
                       const QStringList& choices) override;

private:
    QWidget* owner_;
};

}  // namespace velarix::gui
