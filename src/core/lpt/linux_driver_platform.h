#pragma once

#include <functional>
#include <vector>

#include "lpt/gwiopm_driver.h"

namespace velarix {

// The driver's steps as Linux serves them. There is no service to install or
// remove: starting the driver claims the port for the operation (ppdev) and
// stopping it releases it; the permission map is kept here and, where the
// program reaches the registers itself, applied with ioperm.
class LinuxDriverPlatform : public DriverPlatform {
public:
    struct Hooks {
        // Claims the port: 0 or the errno. Empty: there is nothing to claim.
        std::function<std::uint32_t()> claim;
        std::function<void()> release;
        // ioperm(from, count, on): 0 or the errno. Empty: the map is kept only.
        std::function<std::uint32_t(std::uint32_t from, std::uint32_t count, bool on)> ioperm;
        // The person's message for a failing claim (true) or ioperm (false).
        std::function<QString(std::uint32_t code, bool claiming)> describe;
    };

    explicit LinuxDriverPlatform(Hooks hooks);

    // Opening the service manager begins an operation: its first failure is
    // the one told.
    std::uint32_t OpenServiceManager(std::uint32_t) override {
        failure_.clear();
        return kDriverOk;
    }
    void CloseServiceManager() override {}
    std::uint32_t CreateService(const QString&, const QString&, std::uint32_t, std::uint32_t,
                                std::uint32_t, std::uint32_t, const QString&) override {
        return kDriverOk;
    }
    std::uint32_t StartService(const QString& name) override;
    std::uint32_t ControlService(const QString& name, std::uint32_t control) override;
    std::uint32_t DeleteService(const QString&) override { return kDriverOk; }
    std::uint32_t OpenDevice(const QString&) override { return kDriverOk; }
    void CloseDevice() override {}
    std::uint32_t DeviceIoControl(std::uint32_t code, const RequestBuffer& in,
                                  RequestBuffer& out) override;
    QString FailureText() const override { return failure_; }

    // Whether the last applied map opens `port` to the process.
    bool IsOpen(std::uint16_t port) const;
    bool Claimed() const { return claimed_; }

private:
    std::uint32_t Apply();
    void Note(std::uint32_t code, bool claiming);

    Hooks hooks_;
    std::vector<std::uint8_t> map_;
    std::vector<std::uint8_t> applied_;
    bool claimed_ = false;
    QString failure_;
};

}  // namespace velarix
