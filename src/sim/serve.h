#pragma once

#include <QStringList>
#include <QTextStream>

namespace velarix::sim {

// Runs the simulated decoder on a pseudo-terminal: prints the path of its
// service port on the first line of `out` and serves until interrupted.
// Options: --eeprom FILE (2048 bytes), and the fault knobs --refuse N,
// --silent, --split N, --no-cr, --delay MS. With --save-frame FILE [--width W]
// it writes the colour bars of its frame memory into FILE instead, and with
// --save-trap FILE its stand-in trap routine, and with --save-tables DIR a
// sample flash image and RAM table ("sample-flash.bin", "sample-ram.bin").
// Returns the exit status.
int Serve(QStringList args, QTextStream& out, QTextStream& err);

}  // namespace velarix::sim
