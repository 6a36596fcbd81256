#include "lpt/linux_driver_platform.h"

#include <cerrno>

namespace velarix {

namespace {

constexpr std::size_t kMapBytes = 65536 / 8;

std::uint32_t Word(const RequestBuffer& buffer, int word) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | buffer[word * 4 + i];
    return value;
}

bool Closed(const std::vector<std::uint8_t>& map, std::uint32_t port) {
    return (map[port >> 3] >> (port & 7)) & 1;
}

}  // namespace

LinuxDriverPlatform::LinuxDriverPlatform(Hooks hooks)
    : hooks_(std::move(hooks)), map_(kMapBytes, 0xFF), applied_(kMapBytes, 0xFF) {}

std::uint32_t LinuxDriverPlatform::StartService(const QString&) {
    if (claimed_ || !hooks_.claim) return kDriverOk;
    const std::uint32_t result = hooks_.claim();
    claimed_ = result == kDriverOk;
    if (!claimed_) Note(result, true);
    return result;
}

std::uint32_t LinuxDriverPlatform::ControlService(const QString&, std::uint32_t) {
    if (claimed_ && hooks_.release) hooks_.release();
    claimed_ = false;
    return kDriverOk;
}

std::uint32_t LinuxDriverPlatform::DeviceIoControl(std::uint32_t code, const RequestBuffer& in,
                                                   RequestBuffer& out) {
    const std::uint32_t index = Word(in, 0);
    switch (code) {
        case kReadPermissionByte:
            if (index >= kMapBytes) return EINVAL;
            out = {};
            out[4] = map_[index];
            return kDriverOk;
        case kWritePermissionByte:
            if (index >= kMapBytes) return EINVAL;
            map_[index] = static_cast<std::uint8_t>(Word(in, 1));
            return kDriverOk;
        case kApplyPermissionMap:
            return Apply();
        default:
            return EINVAL;
    }
}

// Each run of ports whose bit changed since the last application is opened
// or closed with one call.
std::uint32_t LinuxDriverPlatform::Apply() {
    if (!hooks_.ioperm) {
        applied_ = map_;
        return kDriverOk;
    }
    std::uint32_t port = 0;
    while (port < 65536) {
        if (Closed(map_, port) == Closed(applied_, port)) {
            ++port;
            continue;
        }
        const bool closing = Closed(map_, port);
        std::uint32_t end = port + 1;
        while (end < 65536 && Closed(map_, end) != Closed(applied_, end) &&
               Closed(map_, end) == closing) {
            ++end;
        }
        if (const std::uint32_t result = hooks_.ioperm(port, end - port, !closing)) {
            Note(result, false);
            return result;
        }
        for (std::uint32_t p = port; p < end; ++p) {
            auto& byte = applied_[p >> 3];
            const auto bit = static_cast<std::uint8_t>(1u << (p & 7));
            byte = closing ? (byte | bit) : static_cast<std::uint8_t>(byte & ~bit);
        }
        port = end;
    }
    return kDriverOk;
}

void LinuxDriverPlatform::Note(std::uint32_t code, bool claiming) {
    if (failure_.isEmpty() && hooks_.describe) failure_ = hooks_.describe(code, claiming);
}

bool LinuxDriverPlatform::IsOpen(std::uint16_t port) const {
    return !Closed(applied_, port);
}

}  // namespace velarix
