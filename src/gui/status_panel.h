#pragma once

#include <QGroupBox>
#include <QLabel>
#include <array>

#include "shell/operation_frame.h"

namespace velarix::gui {

// The object names of one "Estado" panel: the group, its five captions and its
// five value fields, in the order task, address, errors, speed, time left.
struct StatusPanelNames {
    const char* group;
    std::array<const char*, 5> captions;
    std::array<const char*, 5> values;
};

// An "Estado" panel: five captioned value fields, right-aligned in a
// fixed-pitch font.
class StatusPanel : public QGroupBox {
    Q_OBJECT
public:
    StatusPanel(const StatusPanelNames& names, QWidget* parent);

    void SetField(StatusField field, const QString& text);
    QString Field(StatusField field) const;
    // Draws the fields now, while a task keeps the event loop from running.
    void RepaintFields();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    // Each caption at its own width, its value in the room to its right.
    void LayOutRows();
    // The value in the fixed-pitch font, made smaller as far as needed for
    // the whole text to fit its room.
    void FitValue(int row);

    std::array<QLabel*, 5> captions_{};
    std::array<QLabel*, 5> values_{};
};

}  // namespace velarix::gui
