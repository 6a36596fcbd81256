#include "shell/operation_frame.h"

namespace velarix {

void OperationFrame::ClearStatus(StatusPage page) {
    SetProgress(page, 0);
    for (auto field : {StatusField::Task, StatusField::Address, StatusField::Errors,
                       StatusField::Speed, StatusField::TimeLeft}) {
        SetStatusField(page, field, QString());
    }
}

QString DisplayedText(QString text) {
    return text.replace(QStringLiteral("\n\r"), QStringLiteral("\n"))
        .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

}  // namespace velarix
