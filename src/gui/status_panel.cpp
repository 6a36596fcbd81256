#include "status_panel.h"

#include <QEvent>
#include <QFontDatabase>
#include <QResizeEvent>
#include <algorithm>

namespace velarix::gui {

namespace {

constexpr int kRowHeight = 19;
constexpr int kTop = 18;
constexpr int kMargin = 6;
constexpr int kGap = 3;
constexpr qreal kSmallestPoints = 5.5;

QFont FixedFont() {
    return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}

}  // namespace

StatusPanel::StatusPanel(const StatusPanelNames& names, QWidget* parent) : QGroupBox(parent) {
    setObjectName(QString::fromLatin1(names.group));
    for (int i = 0; i < 5; ++i) {
        auto* caption = new QLabel(this);
        caption->setObjectName(QString::fromLatin1(names.captions[i]));
        captions_[i] = caption;
        auto* value = new QLabel(this);
        value->setObjectName(QString::fromLatin1(names.values[i]));
        value->setFont(FixedFont());
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        values_[i] = value;
    }
    LayOutRows();
}

// A value never runs under its caption: it has the room right of it.
void StatusPanel::LayOutRows() {
    for (int i = 0; i < 5; ++i) {
        const int top = kTop + i * kRowHeight;
        const int captionWidth =
            std::min(captions_[i]->sizeHint().width(), std::max(width() - 2 * kMargin, 0));
        captions_[i]->setGeometry(kMargin, top, captionWidth, kRowHeight);
        const int left = kMargin + captionWidth + kGap;
        values_[i]->setGeometry(left, top, std::max(width() - kMargin - left, 0), kRowHeight);
        FitValue(i);
    }
}

void StatusPanel::FitValue(int row) {
    QLabel* value = values_[row];
    const int room = value->contentsRect().width();
    QFont font = FixedFont();
    while (font.pointSizeF() > kSmallestPoints &&
           QFontMetrics(font).horizontalAdvance(value->text()) > room) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    if (font != value->font()) value->setFont(font);
}

void StatusPanel::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    LayOutRows();
}

// A caption that takes another text (another language) asks its panel to lay
// out again.
bool StatusPanel::event(QEvent* event) {
    const bool done = QGroupBox::event(event);
    if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Show) LayOutRows();
    return done;
}

void StatusPanel::SetField(StatusField field, const QString& text) {
    const int row = static_cast<int>(field);
    values_[row]->setText(text);
    FitValue(row);
}

QString StatusPanel::Field(StatusField field) const {
    return values_[static_cast<int>(field)]->text();
}

void StatusPanel::RepaintFields() {
    for (auto* value : values_) value->repaint();
}

}  // namespace velarix::gui
