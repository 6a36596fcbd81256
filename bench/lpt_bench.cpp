#include <benchmark/benchmark.h>

#include "ieee1284_peripheral.h"
#include "lpt/parallel_handshake.h"
#include "lpt/port_io.h"
#include "pc_parallel_port.h"
#include "shell/clock.h"
#include "shell/null_frame.h"
#include "sim_parallel_port.h"

namespace {

using namespace velarix;

// A port with nothing behind it but a ready peripheral: Busy low, nAck high.
// It costs only the call, so what is measured is the program's own share.
class NullPort : public ParallelPort {
public:
    std::uint8_t In(std::uint16_t) override { return 0xD8; }
    void Out(std::uint16_t, std::uint8_t value) override { benchmark::DoNotOptimize(value); }
};

// Counts the accesses on the program's clock.
class CountingTiming : public SystemPortTiming {
public:
    using SystemPortTiming::SystemPortTiming;
    void Accessed() override { ++accesses; }
    std::uint64_t accesses = 0;
};

struct Sink : sim::ByteSink {
    std::uint64_t taken = 0;
    void Take(std::uint8_t) override { ++taken; }
};

// One byte of the transfer (Busy test, data, strobe pulse, nAck test) per
// iteration. accesses_per_byte is what the handshake itself asks of the port;
// ns_per_access the host's time per access, strobe spin included.
void SendBytes(benchmark::State& state, ParallelPort& port) {
    SystemClock clock;
    CountingTiming timing(clock);
    Lpt lpt{port, timing, 0x378};
    NullFrame frame;
    PortStateWord word;
    HandshakeDelays delays;
    ParallelHandshake handshake(lpt, delays, word, frame);
    std::uint8_t value = 0;
    for (auto _ : state) {
        if (handshake.SendByte(value++) != 0) state.SkipWithError("a byte failed");
    }
    state.counters["accesses_per_byte"] =
        benchmark::Counter(static_cast<double>(timing.accesses) / state.iterations());
    state.counters["ns_per_access"] = benchmark::Counter(
        static_cast<double>(timing.accesses), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_SendByteNullPort(benchmark::State& state) {
    NullPort port;
    SendBytes(state, port);
}
BENCHMARK(BM_SendByteNullPort);

// The same against the simulated decoder's parallel side, in process: the
// port model, the IEEE 1284 peripheral and its Busy and nAck sequence.
void BM_SendByteSimulator(benchmark::State& state) {
    Sink sink;
    sim::Ieee1284Peripheral peripheral(sink);
    sim::PcParallelPort pc;
    pc.AttachParallel(&peripheral);
    SimParallelPort port(pc);
    SendBytes(state, port);
}
BENCHMARK(BM_SendByteSimulator);

// A bare access through the port layer (the status register of a null
// port): the program's overhead per access.
void BM_PortInNullPort(benchmark::State& state) {
    SystemClock clock;
    CountingTiming timing(clock);
    NullPort port;
    Lpt lpt{port, timing, 0x378};
    for (auto _ : state) benchmark::DoNotOptimize(IsBusy(lpt));
    state.counters["ns_per_access"] = benchmark::Counter(
        static_cast<double>(timing.accesses), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PortInNullPort);

// A whole transfer run of 64 KiB on the simulator, on the virtual clock (its
// waits cost no time): every access of the run, opening, negotiations and
// closing included, per byte of the image.
void BM_SendImage64KiBSimulator(benchmark::State& state) {
    const QByteArray image(0x10000, '\x5A');
    std::uint64_t accesses = 0, bytes = 0;
    for (auto _ : state) {
        VirtualClock clock;
        VirtualPortTiming timing(clock);
        Sink sink;
        sim::Ieee1284Peripheral peripheral(sink);
        sim::PcParallelPort pc;
        pc.AttachParallel(&peripheral);
        SimParallelPort port(pc);
        Lpt lpt{port, timing, 0x378};
        NullFrame frame;
        PortStateWord word;
        HandshakeDelays delays;
        delays.start = 0;  // no pause to spin through on the virtual clock
        ParallelHandshake handshake(lpt, delays, word, frame);
        std::int32_t errors = 0;
        if (handshake.SendImage(image, "7FE00000", true, errors) != TransferEnd::Complete)
            state.SkipWithError("the transfer failed");
        accesses += timing.accesses;
        bytes += sink.taken;
    }
    state.counters["accesses_per_byte"] =
        benchmark::Counter(static_cast<double>(accesses) / static_cast<double>(bytes));
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_SendImage64KiBSimulator)->Unit(benchmark::kMillisecond);

}  // namespace
