#include "about_page.h"

#include "credits_panel.h"
#include "layout_rules.h"
#include "shell/title.h"
#include "widgets.h"

namespace velarix::gui {

namespace {

constexpr QSize kCreditsSize{420, 220};

QLabel* MakeLine(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    return label;
}

}  // namespace

AboutPage::AboutPage(QWidget* parent)
    : QWidget(parent), version_(MakeLine(this, "Label13")), credits_(new CreditsPanel(this)) {
    setObjectName(QStringLiteral("TabSheet4"));
    QFont big = version_->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    version_->setFont(big);
    version_->setText(VersionText());
    auto* thanks = MakeLine(this, "Label11");
    auto* requests = MakeLine(this, "Label14");
    auto* forum = MakeLine(this, "Label8");
    credits_->resize(kCreditsSize);
    OnResize(this, [=, this](QSize page) {
        const QRect box = Centred(page, kCreditsSize);
        credits_->setGeometry(box);
        version_->setGeometry(0, box.top() - 90, page.width(), 40);
        thanks->setGeometry(0, box.top() - 40, page.width(), 36);
        requests->setGeometry(0, box.bottom() + 10, page.width(), 36);
        forum->setGeometry(0, box.bottom() + 46, page.width(), 22);
    });
}

void AboutPage::ColourVersion() {
    QPalette palette = version_->palette();
    palette.setColor(QPalette::WindowText, QColor(153, 51, 51));
    version_->setPalette(palette);
}

}  // namespace velarix::gui
