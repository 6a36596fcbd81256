#include "lpt/ppdev_port.h"

#include <fcntl.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <cerrno>
#include <cstring>
#include <utility>

#include "eeprom/hex.h"
#include "lpt/linux_driver_platform.h"
#include "shell/message_table.h"

namespace velarix {

namespace {

const QString kProcFolder = QStringLiteral("/proc/sys/dev/parport/");

class KernelPpdev : public PpdevSystem {
public:
    int Open(const QString& path) override {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
        return fd < 0 ? -errno : fd;
    }
    int Ioctl(int fd, unsigned long request, void* argument) override {
        int result;
        do {
            result = ::ioctl(fd, request, argument);
        } while (result < 0 && errno == EINTR);
        return result < 0 ? -errno : 0;
    }
    void Close(int fd) override { ::close(fd); }
    QStringList PortNames() override {
        return QDir(kProcFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    }
    QByteArray BaseAddressLine(const QString& name) override {
        QFile file(kProcFolder + name + QStringLiteral("/base-addr"));
        return file.open(QIODevice::ReadOnly) ? file.readLine() : QByteArray();
    }
};

QString SystemText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// The ppdev device of one port. The control register is served in two
// parts: the four line bits go to the kernel, the data direction (bit 5) by
// its own request; the interrupt bit and bits 6 and 7 are kept here so that
// the program reads back what it wrote. The kernel keeps the extended
// control register itself.
class PpdevPort : public ParallelPort {
public:
    PpdevPort(PpdevSystem& system, int fd, QString device, std::uint16_t base)
        : system_(system),
          fd_(fd),
          device_(std::move(device)),
          base_(base),
          platform_({[this] { return Claim(); },
                     [this] { Release(); },
                     {},
                     [this](std::uint32_t code, bool) {
                         return PpdevErrorText(device_, static_cast<int>(code), true);
                     }}),
          driver_(platform_, QString()) {}
    ~PpdevPort() override {
        if (platform_.Claimed()) Release();
        system_.Close(fd_);
    }

    std::uint8_t In(std::uint16_t address) override {
        if (!Usable()) return 0xFF;
        switch (static_cast<std::uint16_t>(address - base_)) {
            case kDataRegister:
                return Read(PPRDATA);
            case kStatusRegister:
                return Read(PPRSTATUS);
            case kControlRegister:
                return static_cast<std::uint8_t>((Read(PPRCONTROL) & 0x0F) | high_);
            case kExtendedControlRegister:
                return ecr_;
            default:
                return 0xFF;
        }
    }

    void Out(std::uint16_t address, std::uint8_t value) override {
        if (!Usable()) return;
        switch (static_cast<std::uint16_t>(address - base_)) {
            case kDataRegister:
                Write(PPWDATA, value);
                return;
            case kControlRegister: {
                if ((value ^ high_) & 0x20) {
                    int reverse = (value >> 5) & 1;
                    Request(PPDATADIR, &reverse);
                }
                high_ = value & 0xF0;
                Write(PPWCONTROL, value & 0x0F);
                return;
            }
            case kExtendedControlRegister:
                ecr_ = value;
                notes_ << Msg(389).arg(device_, HexText(value, 2));
                return;
            default:
                return;
        }
    }

    TGWIOPM_Driver* AccessDriver() override { return &driver_; }
    bool Failed() const override { return !fault_.isEmpty(); }
    QString FaultText() const override { return fault_; }
    QStringList TakeNotes() override { return std::exchange(notes_, {}); }

private:
    bool Usable() const { return platform_.Claimed() && fault_.isEmpty(); }

    std::uint32_t Claim() {
        for (unsigned long request :
             {static_cast<unsigned long>(PPEXCL), static_cast<unsigned long>(PPCLAIM)}) {
            if (const int result = system_.Ioctl(fd_, request, nullptr); result < 0) {
                return static_cast<std::uint32_t>(-result);
            }
        }
        return kDriverOk;
    }
    void Release() { system_.Ioctl(fd_, PPRELEASE, nullptr); }

    void Request(unsigned long request, void* argument) {
        if (const int result = system_.Ioctl(fd_, request, argument); result < 0) {
            fault_ = Msg(388).arg(device_, SystemText(-result));
        }
    }
    std::uint8_t Read(unsigned long request) {
        unsigned char value = 0xFF;
        Request(request, &value);
        return fault_.isEmpty() ? value : 0xFF;
    }
    void Write(unsigned long request, std::uint8_t value) {
        unsigned char byte = value;
        Request(request, &byte);
    }

    PpdevSystem& system_;
    int fd_;
    QString device_;
    std::uint16_t base_;
    LinuxDriverPlatform platform_;
    TGWIOPM_Driver driver_;
    std::uint8_t high_ = 0xC0;  // bits 4 to 7 of the control register as last written
    std::uint8_t ecr_ = 0;
    QString fault_;
    QStringList notes_;
};

}  // namespace

PpdevSystem& SystemPpdev() {
    static KernelPpdev kernel;
    return kernel;
}

// The base-addr line holds the base and the high base in decimal.
QString PpdevDeviceAt(PpdevSystem& system, std::uint16_t base) {
    static const QRegularExpression name(QStringLiteral("^parport(\\d+)$"));
    for (const QString& port : system.PortNames()) {
        const auto match = name.match(port);
        if (!match.hasMatch()) continue;
        const QList<QByteArray> fields = system.BaseAddressLine(port).simplified().split(' ');
        bool ok = false;
        const unsigned value = fields.value(0).toUInt(&ok, 0);
        if (ok && value == base) return QStringLiteral("/dev/parport") + match.captured(1);
    }
    return QString();
}

PortOpening OpenPpdevPort(PpdevSystem& system, const QString& device, std::uint16_t base) {
    PortOpening opening;
    opening.device = device;
    opening.base = base;
    const int fd = system.Open(device);
    if (fd < 0) {
        opening.error = PpdevErrorText(device, -fd, false);
        return opening;
    }
    opening.port = std::make_unique<PpdevPort>(system, fd, device, base);
    return opening;
}

// An exclusive claim fails with ENXIO while another driver holds the port;
// the device itself gives ENXIO when no port stands behind it.
QString PpdevErrorText(const QString& device, int error, bool claiming) {
    switch (error) {
        case ENOENT:
        case ENODEV:
            return Msg(383).arg(device);
        case EACCES:
        case EPERM:
            return Msg(384).arg(device);
        case ENXIO:
            return Msg(claiming ? 385 : 383).arg(device);
        case EBUSY:
            return Msg(385).arg(device);
        default:
            return device + QStringLiteral(": ") + SystemText(error);
    }
}

}  // namespace velarix
