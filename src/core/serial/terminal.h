#pragma once

#include <QString>
#include <functional>

#include "serial/service_link.h"

namespace velarix {

class OperationFrame;

// The "Terminal" page: typed lines go out as they are (with the checksum
// appended when "Añadir checksum" is ticked, and nothing else), and every line
// no running operation claims is shown in the terminal log.
class Terminal : public ReplyOwner {
public:
    Terminal(ServiceLink& link, OperationFrame& frame);

    // The held value of "Añadir checksum"; on by default.
    bool addChecksum = true;

    // Enter in the input field. An empty line sends nothing; false then.
    bool Send(const QString& typed);

    // Told of each received line and of each time-out, besides the log.
    std::function<void(const QString& line)> received;
    std::function<void()> timedOut;

    void HandleReply(const QString& line) override;
    void HandleTimeout() override;
    void HandleLinkError(const QString& reason) override;
    bool HandleFailedReply(const QString& reason) override;

private:
    ServiceLink& link_;
    OperationFrame& frame_;
};

}  // namespace velarix
