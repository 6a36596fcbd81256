#pragma once

#include <QProgressBar>
#include <QWidget>

#include "log_memo.h"
#include "status_panel.h"

namespace velarix::gui {

class BoxPresenter;

// The object names that tell the two firmware pages apart.
struct FirmwarePageNames {
    const char* page;
    StatusPanelNames status;
    LogMemoNames log;
    const char* progress;
};
extern const FirmwarePageNames kParallelFirmwareNames;  // "Firmware (Paralelo+Serie)"
extern const FirmwarePageNames kJtagFirmwareNames;      // "Firmware (JTag)"

// A firmware page: its log pane on the left, its controls and "Estado" panel
// in the column on the right, its progress bar along the bottom.
class FirmwarePage : public QWidget {
    Q_OBJECT
public:
    FirmwarePage(const FirmwarePageNames& names, FileDialogs& dialogs, BoxPresenter& boxes,
                 QWidget* parent = nullptr);

    LogMemo* Log() const { return log_; }
    StatusPanel* Status() const { return status_; }
    QProgressBar* Progress() const { return progress_; }
    // The column on the right where the page's own controls stand.
    QWidget* Controls() const { return controls_; }

private:
    void LayOut(QSize page);

    LogMemo* log_;
    StatusPanel* status_;
    QProgressBar* progress_;
    QWidget* controls_;
};

}  // namespace velarix::gui
