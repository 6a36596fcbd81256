#pragma once

#include <cstdint>

namespace velarix {

// A PC parallel port as the protocols see it: one byte read from, or written
// to, an I/O address. The address is the real one (base, base + 1, base + 2,
// base + 0x402); a backend maps it onto whatever serves the port. Line
// inversions are the port hardware's and are left to the protocols, which
// read and write the registers exactly as they stand.
class ParallelPort {
public:
    virtual ~ParallelPort() = default;
    virtual std::uint8_t In(std::uint16_t address) = 0;
    virtual void Out(std::uint16_t address, std::uint8_t value) = 0;
};

// The register offsets from the port base.
inline constexpr std::uint16_t kDataRegister = 0;
inline constexpr std::uint16_t kStatusRegister = 1;
inline constexpr std::uint16_t kControlRegister = 2;
inline constexpr std::uint16_t kExtendedControlRegister = 0x402;
// The second I/O range of every port lies this far above the base.
inline constexpr std::uint16_t kSecondRange = 0x400;

}  // namespace velarix
