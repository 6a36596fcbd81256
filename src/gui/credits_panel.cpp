#include "credits_panel.h"

namespace velarix::gui {

namespace {

constexpr int kStepMs = 40;

// Credits are names and roles, not translatable texts.
const char kCredits[] =
    "Velarix\n\n"
    "Design and development\n"
    "the Velarix founders\n\n"
    "Protocol notes and testing\n"
    "the technicians who lent us\n"
    "their decoders and their time\n\n"
    "Built with\n"
    "Qt, libjpeg-turbo,\n"
    "GoogleTest and Google Benchmark\n\n"
    "Thank you for using Velarix";

}  // namespace

CreditsPanel::CreditsPanel(QWidget* parent) : QWidget(parent), text_(new QLabel(this)) {
    setObjectName(QStringLiteral("Panel1"));
    setAutoFillBackground(true);
    text_->setObjectName(QStringLiteral("Label10"));
    text_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    text_->setText(QString::fromUtf8(kCredits));
    timer_.setInterval(kStepMs);
    connect(&timer_, &QTimer::timeout, this, &CreditsPanel::Step);
}

void CreditsPanel::Step() {
    const int height = text_->sizeHint().height();
    offset_ = (offset_ + 1) % (height + this->height() + 1);
    PlaceText();
}

void CreditsPanel::PlaceText() {
    text_->setGeometry(0, this->height() - offset_, width(), text_->sizeHint().height());
}

void CreditsPanel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    timer_.start();
}

void CreditsPanel::hideEvent(QHideEvent* event) {
    timer_.stop();
    QWidget::hideEvent(event);
}

void CreditsPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceText();
}

}  // namespace velarix::gui
