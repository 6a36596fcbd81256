#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <array>

#include "tuning_grid.h"

namespace velarix {
class ChannelTables;
struct ChannelPanels;
}  // namespace velarix

namespace velarix::gui {

// Room on the right of the "Sintonización" page for its buttons.
inline constexpr int kTuningSideColumn = 158;

// The "Sintonización" page: the sub-pages "Tabla de Canales" and "Tabla de
// Transpondedores" with their grids over the core's tables, and on the right
// the buttons, the " Transpondedor " and " Status " panels of the selected
// channel and the " Secciones Activas " group.
class TuningPage : public QWidget {
    Q_OBJECT
public:
    explicit TuningPage(ChannelTables& tables, QWidget* parent = nullptr);

    QTabWidget* SubPages() const { return subPages_; }
    QWidget* ChannelSubPage() const { return channelPage_; }
    QWidget* TransponderSubPage() const { return transponderPage_; }
    TableGrid* ChannelGrid() const { return channels_; }
    TableGrid* TransponderGrid() const { return transponders_; }
    bool TransponderGridOnShow() const { return subPages_->currentWidget() == transponderPage_; }
    void SetTransponderSubPageEnabled(bool enabled);

    // The transponder and status panels for a channel; an empty transponder
    // panel when the channel has none to show.
    void ShowPanels(const ChannelPanels& panels);
    void ClearTransponderInfo();
    void ShowSectionLabels(const QString& channels, const QString& transponders);
    // The values of the " Transpondedor " panel, in the order of its captions.
    QStringList TransponderValues() const;
    QString ChannelSectionText() const { return sectionValues_[0]->text(); }
    QString TransponderSectionText() const { return sectionValues_[1]->text(); }

    // The status boxes and the encryption list, enabled together.
    void SetStatusEnabled(bool enabled);

    QPushButton* readButton;        // "Leer Archivo..."
    QPushButton* addButton;         // "Añadir archivo..."
    QPushButton* saveButton;        // "Guardar como..."
    QPushButton* editButton;        // "Editar"
    QPushButton* findButton;        // "Encontrar..."
    QPushButton* copyButton;        // "Copiar"
    QPushButton* cutButton;         // "Cortar"
    QPushButton* pasteButton;       // "Pegar"
    QPushButton* deleteButton;      // "Borrar"
    QPushButton* moveButton;        // "Mover a"
    QLineEdit* moveField;           // its row
    QPushButton* swapButton;        // "Intercambiar..."
    QPushButton* duplicatesButton;  // "Duplicados"
    // "Activo", "Bloqueo Parental", "Favorito", "Radio Analógica", "Audio Mono".
    std::array<QCheckBox*, 5> statusBoxes{};
    QComboBox* encryption;  // "Encriptación :"

private:
    void LayOut(QSize page);

    QTabWidget* subPages_;
    QWidget* channelPage_;
    QWidget* transponderPage_;
    TableGrid* channels_;
    TableGrid* transponders_;
    QWidget* side_;
    QGroupBox* transponderPanel_;
    QGroupBox* statusPanel_;
    QGroupBox* sections_;
    std::array<QLabel*, 7> transponderValues_{};
    std::array<QLabel*, 2> sectionValues_{};
};

}  // namespace velarix::gui
