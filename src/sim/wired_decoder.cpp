#include "wired_decoder.h"

namespace velarix::sim {

WiredDecoder::WiredDecoder(Scheduler scheduler) : servicePort(service, std::move(scheduler)) {
    service.AttachLoader(&loader, [this] { return ParallelPortSound(); });
    loader.report = [this](const QByteArray& line) { servicePort.Announce(line); };
    loader.loadAgreed = [this] {
        std::lock_guard lock(parallelLock);
        peripheral.NewLoad();
    };
    pcPort.AttachParallel(&peripheral);
    pcPort.AttachJtag(&jtag);
}

bool WiredDecoder::ParallelPortSound() const {
    return !peripheral.faults.ackStuckLow && !peripheral.faults.paperEndStuckHigh &&
           peripheral.faults.busyStuckAt < 0;
}

}  // namespace velarix::sim
