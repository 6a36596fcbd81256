#include "lpt/unix_port.h"

#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>
#include <QFile>
#include <cerrno>
#include <cstring>

#include "shell/message_table.h"

namespace velarix {

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

QString SystemText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

class UnixPort : public ParallelPort {
public:
    UnixPort(int fd, QString device) : fd_(fd), device_(std::move(device)) {}
    ~UnixPort() override { ::close(fd_); }

    std::uint8_t In(std::uint16_t address) override {
        char line[] = "I PPPP\n";
        PutPort(line + 2, address);
        if (!Send(line, sizeof line - 1)) return 0xFF;
        return Answer();
    }

    void Out(std::uint16_t address, std::uint8_t value) override {
        char line[] = "O PPPP VV\n";
        PutPort(line + 2, address);
        line[7] = kDigits[value >> 4];
        line[8] = kDigits[value & 15];
        Send(line, sizeof line - 1);
    }

    bool Failed() const override { return !fault_.isEmpty(); }
    QString FaultText() const override { return fault_; }

private:
    static void PutPort(char* at, std::uint16_t address) {
        for (int i = 0; i < 4; ++i) at[i] = kDigits[(address >> (12 - 4 * i)) & 15];
    }

    void Fail(const QString& reason) {
        if (fault_.isEmpty()) fault_ = Msg(388).arg(device_, reason);
    }

    bool Send(const char* bytes, std::size_t size) {
        if (!fault_.isEmpty()) return false;
        while (size > 0) {
            const ssize_t n = ::send(fd_, bytes, size, MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                Fail(SystemText(n < 0 ? errno : EPIPE));
                return false;
            }
            bytes += n;
            size -= static_cast<std::size_t>(n);
        }
        return true;
    }

    // One answer line: two hexadecimal digits.
    std::uint8_t Answer() {
        for (;;) {
            if (const char* end = static_cast<const char*>(std::memchr(buffer_, '\n', held_))) {
                const std::size_t length = static_cast<std::size_t>(end - buffer_);
                const int high = length == 2 ? HexDigit(buffer_[0]) : -1;
                const int low = length == 2 ? HexDigit(buffer_[1]) : -1;
                const QByteArray line(buffer_, static_cast<qsizetype>(length));
                held_ -= length + 1;
                std::memmove(buffer_, end + 1, held_);
                if (high < 0 || low < 0) {
                    Fail(QStringLiteral("\"") + QString::fromLatin1(line) + QLatin1Char('"'));
                    return 0xFF;
                }
                return static_cast<std::uint8_t>(high << 4 | low);
            }
            if (held_ == sizeof buffer_) {
                Fail(QStringLiteral("\"") + QString::fromLatin1(buffer_, 16) + QLatin1Char('"'));
                return 0xFF;
            }
            const ssize_t n = ::recv(fd_, buffer_ + held_, sizeof buffer_ - held_, 0);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                const bool late = n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
                Fail(SystemText(n == 0 ? ECONNRESET : late ? ETIMEDOUT : errno));
                return 0xFF;
            }
            held_ += static_cast<std::size_t>(n);
        }
    }

    int fd_;
    QString device_;
    QString fault_;
    char buffer_[64];
    std::size_t held_ = 0;
};

}  // namespace

PortOpening OpenUnixPort(const QString& path, std::uint16_t base, int answerTimeoutMs) {
    PortOpening opening;
    opening.base = base;
    opening.device = QStringLiteral("unix:") + path;
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (name.isEmpty() || static_cast<std::size_t>(name.size()) >= sizeof address.sun_path) {
        opening.error = Msg(387).arg(path, SystemText(ENAMETOOLONG));
        return opening;
    }
    std::memcpy(address.sun_path, name.constData(), static_cast<std::size_t>(name.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0 || ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) < 0) {
        opening.error = Msg(387).arg(path, SystemText(errno));
        if (fd >= 0) ::close(fd);
        return opening;
    }
    timeval limit{answerTimeoutMs / 1000, (answerTimeoutMs % 1000) * 1000};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    opening.port = UnixPortOn(fd, opening.device);
    return opening;
}

std::unique_ptr<ParallelPort> UnixPortOn(int fd, const QString& device) {
    return std::make_unique<UnixPort>(fd, device);
}

}  // namespace velarix
