#pragma once

#include <optional>

#include "serial/eeprom_transfer.h"
#include "serial/service_link.h"
#include "serial/terminal.h"

namespace velarix {

// The operations of the serial link, wired to one port: the link itself, the
// EEPROM transfer and the terminal. The window and the command line each
// hold one.
struct SerialTasks {
    SerialTasks(LinkPort& port, Clock& clock, OperationFrame& frame, EepromImage& image,
                HexEditing& editing)
        : link(port, clock, frame), transfer(link, image, editing, frame), terminal(link, frame) {}

    // Names the port, applies the settings and opens it; the system's reason
    // when it cannot be opened.
    std::optional<QString> OpenPort(const QString& name, const SerialSettings& settings);

    ServiceLink link;
    EepromTransfer transfer;
    Terminal terminal;
};

}  // namespace velarix
