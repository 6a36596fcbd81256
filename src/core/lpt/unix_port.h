#pragma once

#include <cstdint>

#include "lpt/port_backend.h"

namespace velarix {

// The external port model on a Unix stream socket. Every access goes out as
// one ASCII line when the program makes it, in order, never held back or
// merged: "I PPPP" reads port PPPP and the model answers one line "VV";
// "O PPPP VV" writes byte VV (no answer). Upper-case hexadecimal, lines end
// with LF. A model that hangs up, or does not answer a read within
// `answerTimeoutMs`, stops the port with its reason.
PortOpening OpenUnixPort(const QString& path, std::uint16_t base, int answerTimeoutMs = 5000);

// The same on a stream already connected to a model; the port owns `fd`.
std::unique_ptr<ParallelPort> UnixPortOn(int fd, const QString& device);

}  // namespace velarix
