#include "status_panel.h"

#include <QFontDatabase>
#include <QResizeEvent>

namespace velarix::gui {

namespace {

constexpr int kRowHeight = 19;
constexpr int kTop = 18;
constexpr int kMargin = 6;

}  // namespace

StatusPanel::StatusPanel(const StatusPanelNames& names, QWidget* parent) : QGroupBox(parent) {
    setObjectName(QString::fromLatin1(names.group));
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (int i = 0; i < 5; ++i) {
        auto* caption = new QLabel(this);
        caption->setObjectName(QString::fromLatin1(names.captions[i]));
        caption->move(kMargin, kTop + i * kRowHeight);
        auto* value = new QLabel(this);
        value->setObjectName(QString::fromLatin1(names.values[i]));
        value->setFont(fixed);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        values_[i] = value;
    }
}

// The value fields span the panel, right-aligned, so a long value may run
// under its caption rather than be cut.
void StatusPanel::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    for (int i = 0; i < 5; ++i) {
        values_[i]->setGeometry(kMargin, kTop + i * kRowHeight, width() - 2 * kMargin, kRowHeight);
    }
}

void StatusPanel::SetField(StatusField field, const QString& text) {
    values_[static_cast<int>(field)]->setText(text);
}

QString StatusPanel::Field(StatusField field) const {
    return values_[static_cast<int>(field)]->text();
}

void StatusPanel::RepaintFields() {
    for (auto* value : values_) value->repaint();
}

}  // namespace velarix::gui
