#include "apply_texts.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabWidget>

#include "shell/fixed_captions.h"
#include "shell/message_keys.h"
#include "shell/message_table.h"

namespace velarix::gui {

namespace {

// A page's caption is its tab's text in the page control that holds it.
bool SetTabCaption(QWidget* page, const QString& text) {
    auto* stack = qobject_cast<QStackedWidget*>(page->parentWidget());
    auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
    if (!tabs) return false;
    tabs->setTabText(tabs->indexOf(page), text);
    return true;
}

void SetCaption(QObject* object, const QString& text) {
    if (auto* button = qobject_cast<QAbstractButton*>(object)) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(object)) {
        label->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(object)) {
        group->setTitle(text);
    } else if (auto* action = qobject_cast<QAction*>(object)) {
        action->setText(text);
    } else if (auto* widget = qobject_cast<QWidget*>(object)) {
        if (!SetTabCaption(widget, text)) widget->setWindowTitle(text);
    }
}

void SetListEntry(QObject* object, int index, const QString& text) {
    auto* list = qobject_cast<QComboBox*>(object);
    if (!list) return;
    const QSignalBlocker quiet(list);  // a list changed from code runs no change handler
    const int selected = list->currentIndex();
    if (index < list->count()) {
        list->setItemText(index, text);
    } else if (index == list->count()) {
        list->addItem(text);
    }
    list->setCurrentIndex(selected);
}

// Column 0 of a table grid is its row-number heading; data column c is the
// view's column c - 1.
void SetGridHeader(QObject* object, int column, const QString& text) {
    auto* view = qobject_cast<QAbstractItemView*>(object);
    if (!view || !view->model() || column < 1) return;
    view->model()->setHeaderData(column - 1, Qt::Horizontal, text);
}

QObject* Find(QObject* root, const char* object) {
    const QString name = QString::fromLatin1(object);
    return root->objectName() == name ? root : root->findChild<QObject*>(name);
}

void ApplyOtherCaptions(QObject* root, const MessageTable& table) {
    for (const auto& caption : MessageCaptions()) {
        if (QObject* object = Find(root, caption.object))
            SetCaption(object, table.Text(caption.key));
    }
    for (const auto& caption : FixedCaptions()) {
        if (QObject* object = Find(root, caption.object))
            SetCaption(object, QString::fromUtf8(caption.text));
    }
}

}  // namespace

void ApplyTexts(QObject* root, const MessageTable& table) {
    using Kind = TextTarget::Kind;
    ApplyOtherCaptions(root, table);
    for (const auto& target : TextTargets()) {
        if (target.kind == Kind::Message) continue;
        QObject* object = Find(root, target.object);
        if (!object) continue;
        const QString text = table.Text(target.key);
        switch (target.kind) {
            case Kind::Caption:
                SetCaption(object, text);
                break;
            case Kind::ListEntry:
                SetListEntry(object, target.index, text);
                break;
            case Kind::GridHeader:
                SetGridHeader(object, target.index, text);
                break;
            case Kind::Hint:
                if (auto* widget = qobject_cast<QWidget*>(object)) widget->setToolTip(text);
                break;
            case Kind::Message:
                break;
        }
    }
}

}  // namespace velarix::gui
