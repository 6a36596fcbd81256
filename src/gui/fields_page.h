#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QWidget>
#include <array>

#include "eeprom/interpreted_fields.h"

namespace velarix::gui {

// The "Datos Interpretados" sub-page: the decoder settings held in the EEPROM
// image as named fields. It shows what InterpretedFields reads and hands it
// every edit; it holds nothing of its own.
class FieldsPage : public QObject {
    Q_OBJECT
public:
    FieldsPage(QWidget* page, InterpretedFields& fields);

    // Reads every field from the image (RefreshInterpretedFields).
    void Refresh();

    QComboBox* ChoiceList(Field field) const { return lists_[static_cast<int>(field)]; }
    QLineEdit* RawView(Field field) const { return edits_[static_cast<int>(field)]; }
    QLineEdit* NumberBox(Field field) const { return edits_[static_cast<int>(field)]; }
    QLineEdit* DisplayBox(Field field) const { return displays_[static_cast<int>(field)]; }
    QComboBox* SatelliteList(int record, SatelliteField field) const;
    QLineEdit* SatelliteBox(int record, SatelliteField field) const;

private:
    void BuildChoice(QWidget* area, Field field, int row);
    void BuildNumber(QWidget* area, Field field, int row);
    QWidget* BuildSatellite(QWidget* parent, int record);
    void ShowChoice(Field field, const ChoiceView& view);

    InterpretedFields& fields_;
    std::array<QComboBox*, kFieldCount> lists_{};
    std::array<QLineEdit*, kFieldCount> edits_{};     // raw views and number boxes
    std::array<QLineEdit*, kFieldCount> displays_{};  // hexadecimal boxes of the numbers
    std::array<std::array<QWidget*, kSatelliteFieldCount>, 2> satellites_{};
};

}  // namespace velarix::gui
