#include "serial/terminal.h"

#include "serial/checksum.h"
#include "shell/cp1252.h"
#include "shell/message_table.h"
#include "shell/operation_frame.h"

namespace velarix {

Terminal::Terminal(ServiceLink& link, OperationFrame& frame) : link_(link), frame_(frame) {
    link_.SetOwner(OwnerKind::Terminal, this);
}

bool Terminal::Send(const QString& typed) {
    if (typed.isEmpty()) return false;
    link_.BeginOperation(kTerminal);
    // Encoded once: the checksum is that of the bytes that go out.
    const QByteArray line = ToCp1252(typed);
    return link_.SendBytes(addChecksum ? AddChecksumToBytes(line) : line);
}

void Terminal::HandleReply(const QString& line) {
    frame_.AddLogLine(LogPane::Terminal, line);
    if (received) received(line);
}

void Terminal::HandleTimeout() {
    frame_.AddLogLine(LogPane::Terminal, Msg(43));
    if (timedOut) timedOut();
}

// A dropped reply is only logged: the terminal waits for nothing.
bool Terminal::HandleFailedReply(const QString& reason) {
    frame_.AddLogLine(LogPane::Terminal, reason);
    return true;
}

void Terminal::HandleLinkError(const QString& reason) {
    frame_.AddLogLine(LogPane::Terminal, reason);
    frame_.ShowMessage(BoxKind::Error, reason);
}

}  // namespace velarix
