#pragma once

#include <QString>
#include <array>
#include <cstdint>

namespace velarix {

// Result codes of the driver's operations: 0, the system's error code of the
// failing call, or one of these.
inline constexpr std::uint32_t kDriverOk = 0;
inline constexpr std::uint32_t kNoDeviceHandle = 9997;    // a permission call with no device open
inline constexpr std::uint32_t kNoServiceManager = 9998;  // the service manager did not open
inline constexpr std::uint32_t kServiceExists = 1073;     // installing a service already there
inline constexpr std::uint32_t kServiceRunning = 1056;    // starting a service already running

// The device control requests of the port-I/O driver: (device type shl 16) or
// (access shl 14) or (function shl 2) or method, with device type F100h,
// access 0 and method 0.
inline constexpr std::uint32_t kWritePermissionByte = 0xF1002444;  // function 911h
inline constexpr std::uint32_t kReadPermissionByte = 0xF1002448;   // function 912h
inline constexpr std::uint32_t kApplyPermissionMap = 0xF1002480;   // function 920h

using RequestBuffer = std::array<std::uint8_t, 12>;

// What the driver's operations come down to on the system: the service
// manager, the driver's service, its device and the device's control
// requests. Each call returns 0 or the system's error code. The tests put a
// recording fake here; on Linux the port backend serves it (claim and release
// of the port, and ioperm).
class DriverPlatform {
public:
    virtual ~DriverPlatform() = default;
    virtual std::uint32_t OpenServiceManager(std::uint32_t access) = 0;
    virtual void CloseServiceManager() = 0;
    virtual std::uint32_t CreateService(const QString& name, const QString& displayName,
                                        std::uint32_t access, std::uint32_t type,
                                        std::uint32_t start, std::uint32_t errorControl,
                                        const QString& binaryPath) = 0;
    virtual std::uint32_t StartService(const QString& name) = 0;
    virtual std::uint32_t ControlService(const QString& name, std::uint32_t control) = 0;
    virtual std::uint32_t DeleteService(const QString& name) = 0;
    virtual std::uint32_t OpenDevice(const QString& path) = 0;
    virtual void CloseDevice() = 0;
    virtual std::uint32_t DeviceIoControl(std::uint32_t code, const RequestBuffer& in,
                                          RequestBuffer& out) = 0;
    // Why the last failing call failed, in the program's words for the
    // person; empty when the platform has nothing to add.
    virtual QString FailureText() const { return {}; }
};

// The port-I/O driver: installed as a kernel service for one operation,
// asked through its device to open port ranges to this process, and removed
// again.
class TGWIOPM_Driver {
public:
    // `homeFolder` is the program's folder, ending with its separator.
    TGWIOPM_Driver(DriverPlatform& platform, QString homeFolder);

    std::uint32_t OpenServiceManager();
    std::uint32_t CloseServiceManager();
    // An empty path installs "gwiopm.sys" from the home folder.
    std::uint32_t InstallDriver(const QString& path = QString());
    std::uint32_t StartDriver();
    std::uint32_t StopDriver();
    std::uint32_t RemoveDriver();
    std::uint32_t OpenDevice();
    std::uint32_t CloseDevice();
    std::uint32_t ReadPermissionByte(std::uint16_t index, std::uint8_t& value);
    std::uint32_t WritePermissionByte(std::uint16_t index, std::uint8_t value);
    std::uint32_t ApplyPermissionMap();
    // Opens (allow) or closes the ports first to last in the permission map,
    // reading and writing each map byte once.
    std::uint32_t SetPortRangeAccess(std::uint16_t first, std::uint16_t last, bool allow);

    DriverPlatform& Platform() { return platform_; }
    QString HomeFolder() const { return homeFolder_; }
    QString DriverFolder() const { return driverFolder_; }
    QString DriverName() const { return driverName_; }
    QString DriverFile() const { return driverFile_; }
    bool ServiceManagerOpen() const { return serviceManagerOpen_; }
    bool DeviceOpen() const { return deviceOpen_; }

private:
    std::uint32_t Request(std::uint32_t code, const RequestBuffer& in, RequestBuffer& out);

    DriverPlatform& platform_;
    QString homeFolder_;
    QString driverFolder_;
    QString driverName_ = QStringLiteral("gwiopm");
    QString driverFile_;
    bool serviceManagerOpen_ = false;
    bool deviceOpen_ = false;
};

}  // namespace velarix
