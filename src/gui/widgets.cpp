#include "widgets.h"

#include <QEvent>
#include <QSignalBlocker>
#include <functional>

namespace velarix::gui {

namespace {

class ResizeWatcher : public QObject {
public:
    ResizeWatcher(QWidget* widget, std::function<void(QSize)> layOut)
        : QObject(widget), widget_(widget), layOut_(std::move(layOut)) {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == widget_ && event->type() == QEvent::Resize) layOut_(widget_->size());
        return false;
    }

private:
    QWidget* widget_;
    std::function<void(QSize)> layOut_;
};

class FocusOutWatcher : public QObject {
public:
    FocusOutWatcher(QWidget* widget, std::function<void()> work)
        : QObject(widget), work_(std::move(work)) {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusOut) work_();
        return false;
    }

private:
    std::function<void()> work_;
};

}  // namespace

void OnFocusOut(QWidget* widget, std::function<void()> work) {
    new FocusOutWatcher(widget, std::move(work));
}

QPushButton* MakeButton(QWidget* parent, const char* name, QRect geometry) {
    auto* button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    return button;
}

QRadioButton* MakeRadio(QWidget* parent, const char* name, QRect geometry) {
    auto* radio = new QRadioButton(parent);
    radio->setObjectName(QString::fromLatin1(name));
    radio->setGeometry(geometry);
    return radio;
}

namespace {

template <typename W>
W* Make(QWidget* parent, const char* name, QRect geometry) {
    auto* widget = new W(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

}  // namespace

QLabel* MakeLabel(QWidget* parent, const char* name, QRect geometry) {
    return Make<QLabel>(parent, name, geometry);
}

QComboBox* MakeCombo(QWidget* parent, const char* name, QRect geometry, bool editable) {
    auto* list = Make<QComboBox>(parent, name, geometry);
    list->setEditable(editable);
    if (editable) list->setInsertPolicy(QComboBox::NoInsert);
    return list;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, QRect geometry) {
    return Make<QLineEdit>(parent, name, geometry);
}

QCheckBox* MakeCheck(QWidget* parent, const char* name, QRect geometry) {
    return Make<QCheckBox>(parent, name, geometry);
}

QGroupBox* MakeGroup(QWidget* parent, const char* name, QRect geometry) {
    return Make<QGroupBox>(parent, name, geometry);
}

void SetEntries(QComboBox* list, const QStringList& entries) {
    const QSignalBlocker quiet(list);
    const int selected = list->currentIndex();
    const QString text = list->currentText();
    list->clear();
    list->addItems(entries);
    list->setCurrentIndex(selected < entries.size() ? selected : -1);
    if (list->isEditable()) list->setEditText(text);
}

void Select(QComboBox* list, int position) {
    const QSignalBlocker quiet(list);
    list->setCurrentIndex(position >= 0 && position < list->count() ? position : -1);
}

QWidget* AddPage(QTabWidget* pages, const char* name) {
    auto* page = new QWidget;
    page->setObjectName(QString::fromLatin1(name));
    pages->addTab(page, QString());
    return page;
}

void OnResize(QWidget* widget, std::function<void(QSize)> layOut) {
    new ResizeWatcher(widget, std::move(layOut));
}

}  // namespace velarix::gui
