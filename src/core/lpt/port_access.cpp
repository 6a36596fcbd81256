#include "lpt/port_access.h"

namespace velarix {

namespace {

constexpr std::uint16_t kRangeEnd = 2;  // each range opened is its first three ports

}  // namespace

bool OpenPortAccess(TGWIOPM_Driver& driver, std::uint16_t base, std::uint16_t second) {
    bool ok = driver.OpenServiceManager() == kDriverOk;
    const std::uint32_t installed = driver.InstallDriver();
    ok = (installed == kDriverOk || installed == kServiceExists) && ok;
    const std::uint32_t started = driver.StartDriver();
    ok = (started == kDriverOk || started == kServiceRunning) && ok;
    ok = driver.OpenDevice() == kDriverOk && ok;
    ok = driver.SetPortRangeAccess(base, base + kRangeEnd, true) == kDriverOk && ok;
    ok = driver.SetPortRangeAccess(second, second + kRangeEnd, true) == kDriverOk && ok;
    ok = driver.ApplyPermissionMap() == kDriverOk && ok;
    return ok;
}

bool ClosePortAccess(TGWIOPM_Driver& driver, std::uint16_t base, std::uint16_t second) {
    bool ok = driver.SetPortRangeAccess(second, second + kRangeEnd, false) == kDriverOk;
    ok = driver.SetPortRangeAccess(base, base + kRangeEnd, false) == kDriverOk && ok;
    ok = driver.ApplyPermissionMap() == kDriverOk && ok;
    ok = driver.CloseDevice() == kDriverOk && ok;
    ok = driver.StopDriver() == kDriverOk && ok;
    ok = driver.RemoveDriver() == kDriverOk && ok;
    ok = driver.CloseServiceManager() == kDriverOk && ok;
    return ok;
}

bool OpenPortAccess(ParallelPort& port, std::uint16_t base, std::uint16_t second) {
    TGWIOPM_Driver* driver = port.AccessDriver();
    return !driver || OpenPortAccess(*driver, base, second);
}

bool ClosePortAccess(ParallelPort& port, std::uint16_t base, std::uint16_t second) {
    TGWIOPM_Driver* driver = port.AccessDriver();
    return !driver || ClosePortAccess(*driver, base, second);
}

QString PortAccessFailure(ParallelPort& port) {
    TGWIOPM_Driver* driver = port.AccessDriver();
    return driver ? driver->Platform().FailureText() : QString();
}

}  // namespace velarix
