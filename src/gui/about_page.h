#pragma once

#include <QLabel>
#include <QWidget>

namespace velarix::gui {

class CreditsPanel;

// The "Acerca de..." page: the version text, the scrolling credits and the
// lines that point to the support forum.
class AboutPage : public QWidget {
    Q_OBJECT
public:
    explicit AboutPage(QWidget* parent = nullptr);

    QLabel* Version() const { return version_; }
    CreditsPanel* Credits() const { return credits_; }
    // Shows the version text in its colour (the window does it once it is up).
    void ColourVersion();

private:
    QLabel* version_;
    CreditsPanel* credits_;
};

}  // namespace velarix::gui
