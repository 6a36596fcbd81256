// Any bytes from the host into the simulated decoder's service mode, in
// arrivals cut by the byte 0x00 (0x01: the host falls quiet): every reply
// ends with a carriage return, and the EEPROM stays 2048 bytes.
#include <cstddef>
#include <cstdint>

#include "service_mode.h"
#include "simulated_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    velarix::sim::SimulatedDecoder decoder;
    velarix::sim::ServiceMode service(decoder);
    QByteArray chunk;
    auto check = [&](const QList<QByteArray>& replies) {
        for (const QByteArray& reply : replies)
            if (!reply.endsWith('\r')) __builtin_trap();
    };
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0x00 || data[i] == 0x01) {
            check(service.Feed(chunk));
            chunk.clear();
            if (data[i] == 0x01) check(service.Flush());
            continue;
        }
        chunk.append(static_cast<char>(data[i]));
    }
    check(service.Feed(chunk));
    check(service.Flush());
    if (decoder.Eeprom().size() != velarix::sim::SimulatedDecoder::kEepromSize) __builtin_trap();
    return 0;
}
