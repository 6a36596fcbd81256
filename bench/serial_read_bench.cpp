#include <benchmark/benchmark.h>

#include <QElapsedTimer>

#include <QCoreApplication>

#include "eeprom/eeprom_image.h"
#include "eeprom/hex_editing.h"
#include "pty_service_port.h"
#include "serial/serial_tasks.h"
#include "service_mode.h"
#include "shell/null_frame.h"
#include "simulated_decoder.h"

namespace {

// "Recibir" of the whole EEPROM, 128 round trips over a pseudo-terminal to a
// simulated decoder that answers at once. The time per round trip is the
// host's (and the simulator's) share of each row; at 9600 baud the wire alone
// takes about 50 ms a row.
void BM_FullEepromReadOverPty(benchmark::State& state) {
    velarix::sim::SimulatedDecoder decoder;
    velarix::sim::ServiceMode service(decoder);
    velarix::sim::PtyServicePort simulator(service);
    velarix::SystemClock clock;
    velarix::NullFrame frame;
    velarix::QtLinkPort port;
    velarix::EepromImage image;
    velarix::HexEditing editing(image);
    velarix::SerialTasks tasks(port, clock, frame, image, editing);
    if (tasks.OpenPort(simulator.Path(), {})) {
        state.SkipWithError("the pseudo-terminal could not be opened");
        return;
    }
    bool done = false;
    tasks.transfer.finished = [&](velarix::TransferOutcome) { done = true; };
    constexpr int kRoundTrips = 128;
    QElapsedTimer elapsed;
    elapsed.start();
    for (auto _ : state) {
        done = false;
        tasks.transfer.Start(velarix::EepromOperation::Read, velarix::EepromLength::Whole);
        clock.RunUntil([&] { return done; }, 60000);
    }
    const double roundTrips = static_cast<double>(state.iterations()) * kRoundTrips;
    state.counters["round_trips_per_s"] = roundTrips / (elapsed.nsecsElapsed() / 1e9);
    state.counters["us_per_round_trip"] = elapsed.nsecsElapsed() / 1e3 / roundTrips;
}
BENCHMARK(BM_FullEepromReadOverPty)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

namespace {

// Waiting for a reply that does not come. The CPU column is what the wait
// costs the machine; a wait that polled the event loop took a whole core.
void BM_IdleWaitForAReply(benchmark::State& state) {
    velarix::SystemClock clock;
    for (auto _ : state) clock.RunUntil([] { return false; }, 100);
}
BENCHMARK(BM_IdleWaitForAReply)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace
