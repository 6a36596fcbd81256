#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

namespace velarix::gui {

// The section chooser "Secciones activas": the sections found, one per row
// ("Sección", "Contenido"), whole rows selected, and "Ok". It has no close
// box and no Cancel: it closes only by "Ok".
class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);

    // Lists `rows` (the columns of each separated by a TAB), selects the first
    // and waits for "Ok"; the row chosen, counted from 0.
    int Choose(const QString& caption, const QString& prompt, const QStringList& rows);

    QTableWidget* Grid() const { return grid_; }
    QPushButton* OkButton() const { return ok_; }

protected:
    void reject() override {}  // Escape does not close it

private:
    QLabel* prompt_;
    QTableWidget* grid_;
    QPushButton* ok_;
};

}  // namespace velarix::gui
