#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace velarix::gui {

// The "Imagen" page: the captured picture, centred, with "Leer archivo..." and
// "Guardar como..." under it.
class PicturePage : public QWidget {
    Q_OBJECT
public:
    explicit PicturePage(QWidget* parent = nullptr);

    QLabel* Picture() const { return picture_; }
    QPushButton* readButton;  // "Leer archivo..."
    QPushButton* saveButton;  // "Guardar como..."

    // Re-centres the picture after its size changed.
    void LayOut();

private:
    QLabel* picture_;
};

}  // namespace velarix::gui
