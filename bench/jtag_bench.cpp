#include <benchmark/benchmark.h>

#include <QElapsedTimer>

#include "jtag/jtag_driver.h"
#include "jtag/target_access.h"
#include "jtag_target.h"
#include "lpt/port_io.h"
#include "pc_parallel_port.h"
#include "shell/clock.h"
#include "shell/null_frame.h"
#include "sim_parallel_port.h"
#include "simulated_decoder.h"

namespace {

using namespace velarix;

// The program's clock and spin loop, counting the port accesses.
class CountingTiming : public PortTiming {
public:
    explicit CountingTiming(Clock& clock) : system_(clock) {}
    std::uint32_t Tick() override { return system_.Tick(); }
    void Spin(std::uint32_t n) override { system_.Spin(n); }
    void Accessed() override { ++accesses; }
    std::uint64_t accesses = 0;

private:
    SystemPortTiming system_;
};

// The JTAG cable to the in-process simulated decoder, at full speed
// (DuracionTCK 0), the link selected.
struct Bench {
    sim::SimulatedDecoder decoder;
    sim::JtagTarget target{decoder};
    sim::PcParallelPort pc;
    SimParallelPort port{pc};
    SystemClock clock;
    CountingTiming timing{clock};
    Lpt lpt{port, timing, 0x378};
    JtagDriver driver{lpt, JtagTiming{0, 1024}};
    NullFrame frame;
    TrapState trap;
    TargetAccess access{driver, frame, trap, {}};

    Bench() {
        pc.AttachJtag(&target);
        driver.SetDcuResetLine(true);
        driver.SelectLink();
    }
    void Report(benchmark::State& state, std::uint64_t accesses, std::uint64_t clocks,
                std::uint64_t bytes, double nanoseconds) {
        state.counters["accesses_per_clock"] = double(accesses) / double(clocks);
        if (bytes) state.counters["accesses_per_byte"] = double(accesses) / double(bytes);
        state.counters["ns_per_access"] = nanoseconds / double(accesses);
    }
};

// A byte to the target: 3 start clocks unsampled, 8 data clocks sampled,
// the closing 0; the acknowledge comes during the data bits.
void BM_JtagLinkSendByte(benchmark::State& state) {
    Bench b;
    QElapsedTimer elapsed;
    const std::uint64_t accesses = b.timing.accesses, clocks = b.target.clocks;
    std::uint8_t value = 0;
    elapsed.start();
    for (auto _ : state) benchmark::DoNotOptimize(b.driver.LinkSendByte(value++));
    b.Report(state, b.timing.accesses - accesses, b.target.clocks - clocks, state.iterations(),
             double(elapsed.nsecsElapsed()));
}
BENCHMARK(BM_JtagLinkSendByte);

// One block of 256 bytes read with ReadBlock: the drain (WStartBits idle
// clocks), the command, the length byte and the block.
void BM_JtagReadBlock(benchmark::State& state) {
    Bench b;
    TargetAccess::Block block{};
    QElapsedTimer elapsed;
    const std::uint64_t accesses = b.timing.accesses, clocks = b.target.clocks;
    elapsed.start();
    for (auto _ : state) benchmark::DoNotOptimize(b.access.ReadBlock(0x7FE00000, block));
    b.Report(state, b.timing.accesses - accesses, b.target.clocks - clocks,
             state.iterations() * 256, double(elapsed.nsecsElapsed()));
}
BENCHMARK(BM_JtagReadBlock);

// "Imagen capturada": 98000h bytes from C00D0000h with ReadMemory.
void BM_JtagPictureReadOut(benchmark::State& state) {
    Bench b;
    QByteArray buffer(0x98000 + 1, '\0');
    QElapsedTimer elapsed;
    const std::uint64_t accesses = b.timing.accesses, clocks = b.target.clocks;
    elapsed.start();
    for (auto _ : state) {
        if (b.access.ReadMemory(buffer, 0x98000, 0xC00D0000) < 0x98000)
            state.SkipWithError("the read fell short");
    }
    b.Report(state, b.timing.accesses - accesses, b.target.clocks - clocks,
             state.iterations() * 0x98000, double(elapsed.nsecsElapsed()));
    state.counters["clocks_per_byte"] =
        double(b.target.clocks - clocks) / double(state.iterations() * 0x98000);
}
BENCHMARK(BM_JtagPictureReadOut)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
