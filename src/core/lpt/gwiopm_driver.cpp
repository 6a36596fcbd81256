#include "lpt/gwiopm_driver.h"

namespace velarix {

namespace {

constexpr std::uint32_t kManagerAllAccess = 0xF003F;
constexpr std::uint32_t kServiceAllAccess = 0xF01FF;
constexpr std::uint32_t kKernelDriver = 1;
constexpr std::uint32_t kDemandStart = 3;
constexpr std::uint32_t kErrorNormal = 1;
constexpr std::uint32_t kStopControl = 1;

void PutWord(RequestBuffer& buffer, int word, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) buffer[word * 4 + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

TGWIOPM_Driver::TGWIOPM_Driver(DriverPlatform& platform, QString homeFolder)
    : platform_(platform), homeFolder_(std::move(homeFolder)) {}

std::uint32_t TGWIOPM_Driver::OpenServiceManager() {
    if (platform_.OpenServiceManager(kManagerAllAccess) != kDriverOk) return kNoServiceManager;
    serviceManagerOpen_ = true;
    return kDriverOk;
}

std::uint32_t TGWIOPM_Driver::CloseServiceManager() {
    if (serviceManagerOpen_) platform_.CloseServiceManager();
    serviceManagerOpen_ = false;
    return kDriverOk;
}

// The folder keeps everything up to and including the last separator; the
// name is what stands after it, less its extension.
std::uint32_t TGWIOPM_Driver::InstallDriver(const QString& path) {
    if (path.isEmpty()) {
        driverFolder_ = homeFolder_;
        driverName_ = QStringLiteral("gwiopm");
    } else {
        const qsizetype cut =
            std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
        driverFolder_ = path.left(cut + 1);
        driverName_ = path.mid(cut + 1);
        const qsizetype dot = driverName_.lastIndexOf(QLatin1Char('.'));
        if (dot > 0) driverName_.truncate(dot);
    }
    driverFile_ = driverFolder_ + driverName_ + QStringLiteral(".sys");
    return platform_.CreateService(driverName_, driverName_, kServiceAllAccess, kKernelDriver,
                                   kDemandStart, kErrorNormal, driverFile_);
}

std::uint32_t TGWIOPM_Driver::StartDriver() {
    return platform_.StartService(driverName_);
}

std::uint32_t TGWIOPM_Driver::StopDriver() {
    return platform_.ControlService(driverName_, kStopControl);
}

std::uint32_t TGWIOPM_Driver::RemoveDriver() {
    StopDriver();
    return platform_.DeleteService(driverName_);
}

std::uint32_t TGWIOPM_Driver::OpenDevice() {
    CloseDevice();
    const std::uint32_t result = platform_.OpenDevice(QStringLiteral("\\\\.\\") + driverName_);
    deviceOpen_ = result == kDriverOk;
    return result;
}

std::uint32_t TGWIOPM_Driver::CloseDevice() {
    if (deviceOpen_) platform_.CloseDevice();
    deviceOpen_ = false;
    return kDriverOk;
}

std::uint32_t TGWIOPM_Driver::Request(std::uint32_t code, const RequestBuffer& in,
                                      RequestBuffer& out) {
    if (!deviceOpen_) return kNoDeviceHandle;
    return platform_.DeviceIoControl(code, in, out);
}

std::uint32_t TGWIOPM_Driver::ReadPermissionByte(std::uint16_t index, std::uint8_t& value) {
    RequestBuffer in{}, out{};
    PutWord(in, 0, index);
    const std::uint32_t result = Request(kReadPermissionByte, in, out);
    if (result == kDriverOk) value = out[4];
    return result;
}

std::uint32_t TGWIOPM_Driver::WritePermissionByte(std::uint16_t index, std::uint8_t value) {
    RequestBuffer in{}, out{};
    PutWord(in, 0, index);
    PutWord(in, 1, value);
    return Request(kWritePermissionByte, in, out);
}

std::uint32_t TGWIOPM_Driver::ApplyPermissionMap() {
    RequestBuffer in{}, out{};
    return Request(kApplyPermissionMap, in, out);
}

// Port p is bit (p and 7) of map byte (p shr 3); a clear bit opens the port.
std::uint32_t TGWIOPM_Driver::SetPortRangeAccess(std::uint16_t first, std::uint16_t last,
                                                 bool allow) {
    if (last < first) return kDriverOk;
    std::uint8_t working = 0xFF;
    for (std::uint32_t p = first; p <= last; ++p) {
        const auto index = static_cast<std::uint16_t>(p >> 3);
        const int bit = static_cast<int>(p & 7);
        if (p == first || bit == 0) {
            if (const std::uint32_t r = ReadPermissionByte(index, working)) return r;
        }
        if (allow) {
            working = static_cast<std::uint8_t>(working & ~(1u << bit));
        } else {
            working = static_cast<std::uint8_t>(working | (1u << bit));
        }
        if (p == last || bit == 7) {
            if (const std::uint32_t r = WritePermissionByte(index, working)) return r;
        }
    }
    return kDriverOk;
}

}  // namespace velarix
