#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QTemporaryDir>

#include "jtag/flash_programming.h"
#include "jtag/jtag_operation.h"
#include "jtag_target.h"
#include "pc_parallel_port.h"
#include "shell/clock.h"
#include "shell/null_frame.h"
#include "shell/settings.h"
#include "sim_parallel_port.h"
#include "simulated_decoder.h"
#include "trap_routine.h"

namespace {

using namespace velarix;

constexpr int kMiB = 0x100000;

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

// "Enviar" of a file into chip 1 of the in-process simulated decoder, at full
// speed (DuracionTCK 0), with the settings of a new installation: 16-Mbit
// bottom-boot chips, verification on. The backups go to a folder of their own.
struct FlashBench {
    sim::SimulatedDecoder decoder;
    sim::JtagTarget target{decoder};
    sim::PcParallelPort pc;
    SystemClock clock;
    CountingTiming timing{clock};
    NullFrame frame;
    Settings settings;
    TrapState trap;
    QTemporaryDir folder;
    JtagEnvironment env{frame,
                        settings,
                        timing,
                        [this] {
                            PortOpening opening;
                            opening.port = std::make_unique<SimParallelPort>(pc);
                            return opening;
                        },
                        trap,
                        [] {
                            return FileRead{sim::StandInTrapRoutine(), {}};
                        }};

    FlashBench() {
        pc.AttachJtag(&target);
        settings.folder = folder.path() + QLatin1Char('/');
        settings.sliders[kDuracionTCK] = 0;
        FlashChip& chip = settings.chips[0];
        chip.numBlocks = 35;
        const std::uint32_t first[] = {0, 0x4000, 0x6000, 0x8000, 0x10000};
        for (int i = 0; i < 5; ++i) chip.boundaries[i] = first[i];
        for (int i = 5; i <= 35; ++i) chip.boundaries[i] = 0x10000 * std::uint32_t(i - 3);
    }
    static QByteArray Image(std::uint32_t seed) {
        QByteArray bytes(kMiB, '\0');
        for (char& b : bytes) {
            seed = seed * 1664525u + 1013904223u;
            b = char(seed >> 24);
        }
        return bytes;
    }
    void Report(benchmark::State& state, std::uint64_t accesses, double nanoseconds) {
        const double bytes = double(state.iterations()) * kMiB;
        state.counters["accesses_per_byte"] = double(accesses) / bytes;
        state.counters["bytes_per_second"] = bytes / (nanoseconds / 1e9);
        state.SetBytesProcessed(std::int64_t(bytes));
    }
};

// Every block differs from what the chip holds: each is read once before
// anything is erased (compare and backup), then erased, sent to the staging
// area, programmed and read back.
void BM_JtagFlashWrite1MiB(benchmark::State& state) {
    FlashBench b;
    const QByteArray images[] = {FlashBench::Image(1), FlashBench::Image(2)};
    int next = 0;
    QElapsedTimer elapsed;
    const std::uint64_t accesses = b.timing.accesses;
    elapsed.start();
    for (auto _ : state) {
        if (WriteImageToTarget(b.env, QStringLiteral("7FE00000"), images[next]).outcome !=
            SendOutcome::Done)
            state.SkipWithError("the write failed");
        next ^= 1;
    }
    b.Report(state, b.timing.accesses - accesses, double(elapsed.nsecsElapsed()));
}
BENCHMARK(BM_JtagFlashWrite1MiB)->Unit(benchmark::kMillisecond)->Iterations(2);

// The same MiB a second time: every block is read, found identical and skipped.
void BM_JtagFlashRewriteIdentical1MiB(benchmark::State& state) {
    FlashBench b;
    const QByteArray image = FlashBench::Image(3);
    WriteImageToTarget(b.env, QStringLiteral("7FE00000"), image);
    QElapsedTimer elapsed;
    const std::uint64_t accesses = b.timing.accesses;
    elapsed.start();
    for (auto _ : state) {
        if (WriteImageToTarget(b.env, QStringLiteral("7FE00000"), image).outcome !=
            SendOutcome::Done)
            state.SkipWithError("the write failed");
    }
    b.Report(state, b.timing.accesses - accesses, double(elapsed.nsecsElapsed()));
}
BENCHMARK(BM_JtagFlashRewriteIdentical1MiB)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
