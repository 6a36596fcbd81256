#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "lpt/parallel_port.h"

namespace velarix {

// A port opened for the program, or why none could be.
struct PortOpening {
    std::unique_ptr<ParallelPort> port;
    QString device;          // what serves the port, for the log ("/dev/parport0", "sim"...)
    QString error;           // empty when the port is open; the person's message
    std::uint16_t base = 0;  // the register base the protocols are to use
};

// Makes the in-process simulated decoder's port; empty where none is wired in.
using SimPortMaker = std::function<std::unique_ptr<ParallelPort>()>;

// Opens the port an `--lpt` value names: a base address ("378": direct port
// I/O), "/dev/parportN" (Linux ppdev), "unix:PATH" (the external port model)
// or "sim". An empty value means the settings' I/O range at `base`: its ppdev
// device, else direct port I/O.
PortOpening OpenParallelPort(const QString& portName, std::uint16_t base, const SimPortMaker& sim);

// Whether `portName` is one of the values above (a base must be one of the five
// I/O ranges); the base it names goes to `base` when it names one.
bool IsPortSpec(const QString& portName, std::uint16_t* base = nullptr);

// A base as the messages show it: "378".
QString BaseText(std::uint16_t base);

}  // namespace velarix
