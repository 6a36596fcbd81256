#include "configuration_page.h"

#include "layout_rules.h"
#include "widgets.h"

namespace velarix::gui {

namespace {

constexpr QSize kButtonSize{160, 22};

// "Puerto Serie", "Puerto Paralelo", "Sintonización", "Terminal", "Idioma",
// " JTag ", "Imagen".
constexpr const char* kSubPages[] = {"TabSheet13", "TabSheet14", "TabSheet15", "TabSheet16",
                                     "TabSheet17", "TabSheet18", "TabSheet19"};
constexpr int kShownFirst = 5;  // " JTag "

}  // namespace

ConfigurationPage::ConfigurationPage(QWidget* parent)
    : QWidget(parent), subPages_(new QTabWidget(this)) {
    setObjectName(QStringLiteral("TabSheet5"));
    subPages_->setObjectName(QStringLiteral("PageControl3"));
    for (const char* name : kSubPages) AddPage(subPages_, name);
    subPages_->setCurrentIndex(kShownFirst);
    defaultsButton = MakeButton(this, "Button5", {{0, 0}, kButtonSize});
    OnResize(this, [this](QSize page) {
        const auto layout = LayOutConfigurationPage(page, kButtonSize);
        subPages_->setGeometry(layout.subPages);
        defaultsButton->setGeometry(layout.defaultsButton);
    });
}

QWidget* ConfigurationPage::SubPage(const char* name) const {
    return findChild<QWidget*>(QString::fromLatin1(name));
}

}  // namespace velarix::gui
