#include "widgets.h"

#include <QEvent>
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

}  // namespace

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
