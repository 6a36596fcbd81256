#include "scripted_port.h"

namespace velarix::test {

bool ScriptedPort::Open(QString* error) {
    if (failOpen) {
        if (error) *error = name + QStringLiteral(": Permission denied");
        return false;
    }
    open = true;
    return true;
}

bool ScriptedPort::Write(const QByteArray& bytes, QString* error) {
    if (failWrite) {
        if (error) *error = name + QStringLiteral(": Input/output error");
        return false;
    }
    written.append(bytes);
    return true;
}

bool ScriptedPort::AnswerLast() {
    if (answered_ >= written.size() || !responder) return false;
    answered_ = static_cast<int>(written.size());
    Deliver(responder(written.last()));
    return true;
}

}  // namespace velarix::test
