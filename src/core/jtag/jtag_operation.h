#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "jtag/jtag_driver.h"
#include "jtag/target_access.h"
#include "jtag/trap_routine.h"
#include "lpt/port_backend.h"

namespace velarix {

class OperationFrame;
class PortTiming;
struct Settings;

// What every JTAG operation works with: the person's frame, the settings as
// they stand when it starts, the port, and what lasts for the whole run.
struct JtagEnvironment {
    OperationFrame& frame;
    const Settings& settings;
    PortTiming& timing;
    // Opens the port for one operation: the simulator, ppdev, direct I/O...
    std::function<PortOpening()> openPort;
    TrapState& trap;
    TrapRoutineReader trapRoutine;
};

// DuracionTCK and WStartBits as the settings hold them now.
JtagTiming JtagTimingOf(const Settings& settings);

// One JTAG operation's hold on the port: Open logs "Abriendo LPT1" and opens
// the port and its I/O access; Close (or the end of the object) logs
// "Cerrando LPT1" and gives them back. The driver and the target access live
// in between.
class JtagOperation {
public:
    explicit JtagOperation(JtagEnvironment& environment);
    ~JtagOperation();
    JtagOperation(const JtagOperation&) = delete;
    JtagOperation& operator=(const JtagOperation&) = delete;

    // False when the port could not be opened; the person was told why.
    bool Open();
    void Close();
    bool IsOpen() const { return port_ != nullptr; }

    JtagDriver& Driver() { return *driver_; }
    TargetAccess& Access() { return *access_; }

private:
    JtagEnvironment& env_;
    std::uint16_t base_ = 0;
    std::unique_ptr<ParallelPort> port_;
    std::unique_ptr<Lpt> lpt_;
    std::unique_ptr<JtagDriver> driver_;
    std::unique_ptr<TargetAccess> access_;
};

}  // namespace velarix
