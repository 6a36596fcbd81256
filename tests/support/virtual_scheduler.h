#pragma once

#include <memory>
#include <vector>

#include "pty_service_port.h"
#include "service_mode.h"
#include "shell/clock.h"
#include "simulated_decoder.h"

namespace velarix::test {

// Lets the simulated decoder's delays run on a test's virtual clock.
inline sim::Scheduler VirtualScheduler(VirtualClock& clock) {
    auto timers = std::make_shared<std::vector<std::unique_ptr<Timer>>>();
    return [&clock, timers](int milliseconds, std::function<void()> work) {
        auto timer = clock.MakeTimer();
        timer->onTimeout = std::move(work);
        timer->Start(milliseconds);
        timers->push_back(std::move(timer));
    };
}

// A simulated decoder serving its service port on a pseudo-terminal, on a
// virtual clock.
struct PtyDecoder {
    explicit PtyDecoder(VirtualClock& clock) : port(service, VirtualScheduler(clock)) {}
    QString Path() const { return port.Path(); }

    sim::SimulatedDecoder decoder;
    sim::ServiceMode service{decoder};
    sim::PtyServicePort port;
};

}  // namespace velarix::test
