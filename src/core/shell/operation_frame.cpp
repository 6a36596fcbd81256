#include "shell/operation_frame.h"

namespace velarix {

void OperationFrame::ClearStatus(StatusPage page) {
    SetProgress(page, 0);
    for (auto field : {StatusField::Task, StatusField::Address, StatusField::Errors,
                       StatusField::Speed, StatusField::TimeLeft}) {
        SetStatusField(page, field, QString());
    }
}

}  // namespace velarix
