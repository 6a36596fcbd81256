#include "lpt/direct_port.h"

#include <cerrno>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <sys/io.h>
#define VELARIX_HAS_PORT_IO 1
#endif

#include "lpt/linux_driver_platform.h"
#include "shell/message_table.h"

namespace velarix {

namespace {

class ProcessorIo : public DirectIoSystem {
public:
#ifdef VELARIX_HAS_PORT_IO
    int Ioperm(std::uint32_t from, std::uint32_t count, bool on) override {
        return ::ioperm(from, count, on ? 1 : 0) < 0 ? -errno : 0;
    }
    std::uint8_t Inb(std::uint16_t port) override {
        return ::inb(port);
    }
    void Outb(std::uint16_t port, std::uint8_t value) override {
        ::outb(value, port);
    }
#else
    int Ioperm(std::uint32_t, std::uint32_t, bool) override {
        return -ENOSYS;
    }
    std::uint8_t Inb(std::uint16_t) override {
        return 0xFF;
    }
    void Outb(std::uint16_t, std::uint8_t) override {}
#endif
};

// "378-37A, 778-77A": the two ranges an operation opens.
QString RangesText(std::uint16_t base) {
    return BaseText(base) + QLatin1Char('-') + BaseText(base + kControlRegister) +
           QStringLiteral(", ") + BaseText(base + kSecondRange) + QLatin1Char('-') +
           BaseText(base + kSecondRange + kControlRegister);
}

QString DirectErrorText(std::uint16_t base, int error) {
    if (error == EPERM || error == EACCES) return Msg(386).arg(RangesText(base));
    // ENOSYS (no ioperm on this kernel or processor) and the like: root would not help.
    return Msg(441).arg(RangesText(base), QString::fromLocal8Bit(std::strerror(error)));
}

class DirectPort : public ParallelPort {
public:
    DirectPort(DirectIoSystem& system, std::uint16_t base)
        : system_(system),
          platform_({{},
                     {},
                     [this](std::uint32_t from, std::uint32_t count, bool on) {
                         return static_cast<std::uint32_t>(-system_.Ioperm(from, count, on));
                     },
                     [base](std::uint32_t code, bool) {
                         return DirectErrorText(base, static_cast<int>(code));
                     }}),
          driver_(platform_, QString()) {}

    std::uint8_t In(std::uint16_t address) override {
        return platform_.IsOpen(address) ? system_.Inb(address) : 0xFF;
    }
    void Out(std::uint16_t address, std::uint8_t value) override {
        if (platform_.IsOpen(address)) system_.Outb(address, value);
    }
    TGWIOPM_Driver* AccessDriver() override { return &driver_; }

private:
    DirectIoSystem& system_;
    LinuxDriverPlatform platform_;
    TGWIOPM_Driver driver_;
};

}  // namespace

DirectIoSystem& SystemDirectIo() {
    static ProcessorIo io;
    return io;
}

PortOpening OpenDirectPort(DirectIoSystem& system, std::uint16_t base) {
    PortOpening opening;
    opening.base = base;
    opening.device = RangesText(base);
    if (const int result = system.Ioperm(base, kControlRegister + 1, true); result < 0) {
        opening.error = DirectErrorText(base, -result);
        return opening;
    }
    system.Ioperm(base, kControlRegister + 1, false);
    opening.port = std::make_unique<DirectPort>(system, base);
    return opening;
}

}  // namespace velarix
