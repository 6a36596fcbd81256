#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace velarix::gui {

// The channel search "Buscar canal", shown beside the main window without
// being modal: "Buscar" searches and closes, Enter in the field searches and
// keeps it open for the next match, Esc or "Cancelar" closes it.
class TForm5 : public QDialog {
    Q_OBJECT
public:
    explicit TForm5(QWidget* owner = nullptr);

    // Shows the window (or brings it to the front) beside the main window.
    void Mostrar();

    QLineEdit* NameField() const { return name_; }
    QPushButton* SearchButton() const { return search_; }
    QPushButton* CancelButton() const { return cancel_; }

signals:
    // A search for `text` was asked for (never an empty text).
    void SearchAsked(const QString& text);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void ApplyCaptions();
    void Search(bool close);

    QWidget* owner_;
    QLabel* label_;
    QLineEdit* name_;
    QPushButton* search_;
    QPushButton* cancel_;
};

}  // namespace velarix::gui
