#pragma once

#include <QByteArray>

namespace velarix::sim {

// A firmware image of `size` bytes as chip 1 holds it: code-like bytes over
// the first 1.25 MiB, erased (FF) after that.
QByteArray SampleFirmware(int size);

// The working channel table as the decoder keeps it in RAM: 999 channel
// records of 30 bytes, a handful of channels and then free (zero) records.
QByteArray SampleRamChannelTable();

// The start of chip 2: the channel section ("TCS") at its first 64 KiB block
// and the transponder section ("TPT") at its second, then erased flash.
QByteArray SampleFlashChannelList();

}  // namespace velarix::sim
