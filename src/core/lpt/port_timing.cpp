#include "lpt/port_timing.h"

#include "shell/clock.h"

namespace velarix {

std::uint32_t SystemPortTiming::Tick() {
    return clock_.Tick();
}

void SystemPortTiming::Spin(std::uint32_t n) {
    // The empty asm tells the compiler the loop has effects it cannot see, so
    // it neither removes nor shortens it.
    for (std::uint64_t i = 0; i <= n; ++i) asm volatile("" ::: "memory");
}

std::unique_ptr<PortTiming> MakePortTiming(Clock& clock) {
    if (auto* virtualClock = dynamic_cast<VirtualClock*>(&clock)) {
        return std::make_unique<VirtualPortTiming>(*virtualClock);
    }
    return std::make_unique<SystemPortTiming>(clock);
}

void VirtualPortTiming::Cost(std::uint64_t nanoseconds) {
    constexpr std::uint64_t kMillisecond = 1000000;
    nanoseconds_ += nanoseconds;
    if (nanoseconds_ >= kMillisecond) {
        clock_.Nudge(nanoseconds_ / kMillisecond);
        nanoseconds_ %= kMillisecond;
    }
}

std::uint32_t VirtualPortTiming::Tick() {
    Cost(tickNanoseconds);
    return clock_.Tick();
}

void VirtualPortTiming::Spin(std::uint32_t n) {
    ++spinCalls;
    spinIterations += std::uint64_t(n) + 1;
    ++spinsOfCount[n];
    Cost(std::uint64_t(n) + 1);
}

void VirtualPortTiming::Accessed() {
    ++accesses;
    Cost(accessNanoseconds);
}

}  // namespace velarix
