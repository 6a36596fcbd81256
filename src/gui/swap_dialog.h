#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <optional>
#include <utility>

namespace velarix {
struct Settings;
}

namespace velarix::gui {

// The satellite swap "Intercambia satélites": two lists of the four
// satellite names, never both on the same one.
class TForm6 : public QDialog {
    Q_OBJECT
public:
    TForm6(const Settings& settings, QWidget* owner = nullptr);

    // Shows the dialog modally: the two names to swap on "Ok", none on
    // "Cancelar".
    std::optional<std::pair<QString, QString>> Mostrar();

    QComboBox* FirstList() const { return lists_[0]; }
    QComboBox* SecondList() const { return lists_[1]; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Chosen();

    const Settings& settings_;
    QWidget* owner_;
    QLabel* labels_[2];
    QComboBox* lists_[2];
    QPushButton* ok_;
    QPushButton* cancel_;
};

}  // namespace velarix::gui
