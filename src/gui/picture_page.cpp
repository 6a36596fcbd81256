#include "picture_page.h"

#include "layout_rules.h"
#include "widgets.h"

namespace velarix::gui {

namespace {

constexpr QSize kPictureSize{720, 576};
constexpr QSize kButtonSize{120, 22};

}  // namespace

PicturePage::PicturePage(QWidget* parent) : QWidget(parent), picture_(new QLabel(this)) {
    setObjectName(QStringLiteral("TabSheet10"));
    picture_->setObjectName(QStringLiteral("Image1"));
    picture_->resize(kPictureSize);
    readButton = MakeButton(this, "Button22", {{0, 0}, kButtonSize});
    saveButton = MakeButton(this, "Button21", {{0, 0}, kButtonSize});
    saveButton->setEnabled(false);
    OnResize(this, [this](QSize) { LayOut(); });
}

void PicturePage::LayOut() {
    const auto layout = LayOutPicturePage(size(), picture_->size(), kButtonSize);
    picture_->setGeometry(layout.picture);
    readButton->setGeometry(layout.readButton);
    saveButton->setGeometry(layout.saveButton);
}

}  // namespace velarix::gui
