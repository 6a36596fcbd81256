#pragma once

#include <QStringList>
#include <QTextStream>

namespace velarix::sim {

// Runs the simulated decoder: prints the path of its service port (a
// pseudo-terminal) on the first line of `out`, the path of its parallel port
// (a Unix socket speaking the external port model) on the second, and serves
// both until interrupted. Options: --eeprom FILE (2048 bytes), --flash1 FILE,
// --flash2 FILE and --ram FILE (what the two flash chips and the RAM hold
// from their start), --lpt-socket
// PATH (default: velarix-sim-PID.lpt in the temporary folder), and the fault
// knobs: of the service port --refuse N, --silent, --split N, --no-cr,
// --delay MS; of the loader --refuse-load, --wrong-sum; of the parallel port
// --lpt-no-negotiation, --lpt-ack-stuck-low, --lpt-select-high,
// --lpt-paper-end-high, --lpt-busy-at K, --lpt-ack-low-at K, and
// --lpt-random SEED[:PERMILLE]. With --save-frame FILE [--width W]
// it writes the colour bars of its frame memory into FILE instead, with
// --save-trap FILE its stand-in trap routine, and with --save-tables DIR a
// sample flash image and RAM table ("sample-flash.bin", "sample-ram.bin").
// Returns the exit status.
int Serve(QStringList args, QTextStream& out, QTextStream& err);

}  // namespace velarix::sim
