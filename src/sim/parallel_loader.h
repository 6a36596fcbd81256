#pragma once

#include <QByteArray>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>

#include "ieee1284_peripheral.h"

namespace velarix::sim {

class SimulatedDecoder;

// The decoder's firmware loader. On the service port it agrees to a load
// ("%DL=", "%PL=", "%FL=" with address, size and data sum) and later answers
// whether the load succeeded ("%DL?"...); in between it takes the bytes from
// the parallel port. A load is done when the host ends the transfer with
// its size in: the bytes are summed (modulo 65536) against the sum agreed,
// and written into the flash chip at the load address when one is there
// (its sectors erased first). A DL load then reports on its own, with the
// verification's answer. A byte more than agreed fails the load.
//
// The bytes arrive on whatever thread serves the parallel port; the service
// port asks from its own. The loader's state is locked.
class ParallelLoader : public ByteSink {
public:
    enum class Command { DL, PL, FL };
    static std::optional<Command> CommandOf(const QByteArray& word);

    explicit ParallelLoader(SimulatedDecoder& decoder) : decoder_(decoder) {}

    // Whether the decoder agrees to load `size` bytes at `address`: the range
    // must fit the flash chip it starts in, or 16 MiB elsewhere.
    bool Agree(Command command, std::uint32_t address, std::uint32_t size, std::uint16_t sum);
    // Whether the last load was of `command`, arrived whole with the right
    // sum and was written as sent.
    bool Verified(Command command) const;

    void Take(std::uint8_t byte) override;
    void TransferOver() override;

    // Fault knobs.
    void SetRefuseLoads(bool refuse);
    void SetWrongSum(bool wrong);  // sums one off, as if a byte had changed on the way

    // A DL load's own report once it is done; called on the parallel side's thread.
    std::function<void(const QByteArray&)> report;
    // A load was agreed.
    std::function<void()> loadAgreed;

    QByteArray Received() const;  // the bytes of the last load as they came
    int BytesReceived() const;
    int Loads() const;

private:
    enum class State { Idle, Loading, Done };
    // Checks and writes a load whose bytes have all come; the report to send.
    QByteArray Finish();

    SimulatedDecoder& decoder_;
    mutable std::mutex mutex_;
    State state_ = State::Idle;
    Command command_ = Command::DL;
    std::uint32_t address_ = 0;
    std::uint32_t size_ = 0;
    std::uint16_t sum_ = 0;
    QByteArray received_;
    bool verified_ = false;
    bool overrun_ = false;
    bool refuse_ = false;
    bool wrongSum_ = false;
    int loads_ = 0;
};

}  // namespace velarix::sim
