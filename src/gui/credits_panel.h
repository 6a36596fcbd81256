#pragma once

#include <QLabel>
#include <QTimer>
#include <QWidget>

namespace velarix::gui {

// The credits of the "Acerca de..." page, scrolling upwards in a loop while
// the page is on screen and standing still while it is hidden.
class CreditsPanel : public QWidget {
    Q_OBJECT
public:
    explicit CreditsPanel(QWidget* parent);
    bool IsScrolling() const { return timer_.isActive(); }
    int Offset() const { return offset_; }
    // One step of the scrolling.
    void Step();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceText();

    QLabel* text_;
    QTimer timer_;
    int offset_ = 0;
};

}  // namespace velarix::gui
