#pragma once

#include <cstdint>

namespace velarix::sim {

// The electrical levels on the 25-pin connector that the PC drives; true is
// high. The port's registers invert some of them; that is undone here, once.
struct HostLines {
    std::uint8_t data = 0;  // pins 2 to 9
    bool nStrobe = true;    // pin 1
    bool nAutoFd = true;    // pin 14
    bool nInit = true;      // pin 16
    bool nSelectIn = true;  // pin 17
    bool dataOutputs = true;
};

// The levels the decoder drives back.
struct PeripheralLines {
    bool busy = false;    // pin 11
    bool nAck = true;     // pin 10
    bool pError = false;  // pin 12
    bool select = true;   // pin 13; the JTAG cable's TDO
    bool nFault = true;   // pin 15
};

// What hangs on the PC's port: a cable into the decoder.
class CableEnd {
public:
    virtual ~CableEnd() = default;
    // The PC changed a line (or wrote a register without changing one).
    virtual void OnHostLines(const HostLines& lines) = 0;
    // The levels the decoder drives now; asked at every status read.
    virtual PeripheralLines Lines() = 0;
};

// The PC's parallel port with the decoder's cables on it, seen as its
// registers: data (offset 0), status (1), control (2) and the extended
// control register (0x402). Two cables may hang on it: the parallel-port
// cable to the decoder's loader and the JTAG cable. With the automatic
// choice the port behaves as if the technician had plugged in the cable the
// host is using: a write to the control register means the parallel-port
// cable (the handshake drives its strobes there; the JTAG cable never touches
// it), two data writes in a row mean the JTAG cable (the handshake writes
// each data byte once and strobes it). Only the cable in use sees the lines.
class PcParallelPort {
public:
    enum class Cable { Automatic, Parallel, Jtag };

    void AttachParallel(CableEnd* end) { parallel_ = end; }
    void AttachJtag(CableEnd* end) { jtag_ = end; }
    void SetCable(Cable cable) { choice_ = cable; }
    // The cable the host is using now.
    Cable InUse() const;

    std::uint8_t Read(std::uint16_t offset);
    void Write(std::uint16_t offset, std::uint8_t value);

    // The register value the host last wrote, as it would read it back.
    std::uint8_t Control() const { return control_; }
    std::uint8_t ExtendedControl() const { return ecr_; }
    HostLines Lines() const;

    // Maps a real I/O address of one of the five PC port ranges (278h, 378h,
    // 3BCh, A068h, 2000h) onto a register offset; -1 for anything else.
    static int OffsetOf(std::uint16_t address);

private:
    CableEnd* Active() const;
    void Tell();

    CableEnd* parallel_ = nullptr;
    CableEnd* jtag_ = nullptr;
    Cable choice_ = Cable::Automatic;
    Cable automatic_ = Cable::Parallel;
    int dataWritesInARow_ = 0;
    std::uint8_t data_ = 0;
    std::uint8_t control_ = 0xC4;  // nInit high, the rest idle; bits 6 and 7 read as 1
    std::uint8_t ecr_ = 0;
};

}  // namespace velarix::sim
