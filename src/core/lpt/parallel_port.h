#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace velarix {

class TGWIOPM_Driver;

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

    // The driver that must prepare access to the registers before each
    // operation (OpenPortAccess), or none when they are reached as they are.
    virtual TGWIOPM_Driver* AccessDriver() { return nullptr; }
    // True once the port stopped answering (a device gone, a model that hung
    // up); from then on reads give FFh and writes go nowhere.
    virtual bool Failed() const { return false; }
    // Why it stopped, in the program's words.
    virtual QString FaultText() const { return {}; }
    // What the backend had to do differently from the register the program
    // wrote (a register it serves only in part), for the log; each line is
    // given once.
    virtual QStringList TakeNotes() { return {}; }
};

// The register offsets from the port base.
inline constexpr std::uint16_t kDataRegister = 0;
inline constexpr std::uint16_t kStatusRegister = 1;
inline constexpr std::uint16_t kControlRegister = 2;
inline constexpr std::uint16_t kExtendedControlRegister = 0x402;
// The second I/O range of every port lies this far above the base.
inline constexpr std::uint16_t kSecondRange = 0x400;

}  // namespace velarix
