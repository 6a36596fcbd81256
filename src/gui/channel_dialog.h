#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <array>

#include "edit_dialog.h"
#include "tuning/edit_dialogs.h"

namespace velarix {
class ChannelTables;
struct Settings;
}  // namespace velarix

namespace velarix::gui {

// The channel dialog "Información del canal": the fields of one channel row,
// its status, the channels on its transponder and that transponder's
// frequency, polarisation and satellite.
class TForm2 : public EditDialog {
    Q_OBJECT
public:
    TForm2(ChannelTables& tables, Settings& settings, QWidget* owner = nullptr);

    // Fills the dialog for channel row `row` and shows it modally: the values
    // to write back on "Ok", none on "Cancelar".
    std::optional<ChannelDialogValues> Mostrar(int row);

    // `Edit1` (NOMBRE) to `Edit8` (PCR).
    QLineEdit* Field(int index) const { return fields_[index]; }
    // "Activo", "Bloqueo Parental", "Favorito", "Radio Analógica", "Audio Mono".
    QCheckBox* StatusBox(int index) const { return boxes_[index]; }
    QComboBox* Encryption() const { return encryption_; }
    // The values after "Frecuencia : ", "Polarización : " and "Satélite :".
    QStringList TransponderValues() const;

protected:
    void ApplyCaptions() override;
    void Confirm() override;

private:
    ChannelDialogValues Values() const;

    ChannelTables& tables_;
    std::array<QLabel*, 8> labels_{};
    std::array<QLineEdit*, 8> fields_{};
    QGroupBox* status_;
    std::array<QCheckBox*, 5> boxes_{};
    QLabel* encryptionLabel_;
    QComboBox* encryption_;
    QGroupBox* transponder_;
    std::array<QLabel*, 3> transponderCaptions_{};
    std::array<QLabel*, 3> transponderValues_{};
};

}  // namespace velarix::gui
