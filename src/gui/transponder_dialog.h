#pragma once

#include <QComboBox>
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

// The transponder dialog "Información de los Transpondedores": the fields of
// one transponder row and the channels on it. The tuner frequency keeps the
// transponder frequency within 11.7 GHz to 12.7 GHz with the row's LNB.
class TForm3 : public EditDialog {
    Q_OBJECT
public:
    TForm3(ChannelTables& tables, Settings& settings, QWidget* owner = nullptr);

    // Fills the dialog for transponder row `row` and shows it modally: the
    // values to write back on "Ok", none on "Cancelar".
    std::optional<TransponderDialogValues> Mostrar(int row);

    QLineEdit* FrequencyField() const { return frequency_; }  // `Edit9`
    QLineEdit* TransponderIdField() const { return tsid_; }   // `Edit2`
    QLineEdit* NetworkIdField() const { return nid_; }        // `Edit3`
    QLineEdit* ChannelsField() const { return channels_; }    // `Edit4`
    QComboBox* PolarityList() const { return lists_[0]; }     // `ComboBox1`
    QComboBox* ToneList() const { return lists_[1]; }         // `ComboBox2`
    QComboBox* FecList() const { return lists_[2]; }          // `ComboBox3`
    QComboBox* SymbolRateList() const { return lists_[3]; }   // `ComboBox4`
    QComboBox* SatelliteList() const { return lists_[4]; }    // `ComboBox5`
    QComboBox* BandList() const { return lists_[5]; }         // `ComboBox6`
    // The value after "Frecuencia del Transpondedor : ".
    QString TransponderFrequency() const { return transponderFrequency_->text(); }

protected:
    void ApplyCaptions() override;
    void Confirm() override;

private:
    TransponderDialogValues Values() const;

    ChannelTables& tables_;
    double lnb_ = 0;  // MHz, from the row's 22 kHz tone
    std::array<QLabel*, 11> labels_{};
    QLabel* transponderFrequency_;
    QLineEdit* frequency_;
    bool frequencyEdited_ = false;  // typed into since the dialog opened
    QLineEdit* tsid_;
    QLineEdit* nid_;
    QLineEdit* channels_;
    std::array<QComboBox*, 6> lists_{};
};

}  // namespace velarix::gui
