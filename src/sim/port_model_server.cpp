#include "port_model_server.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <QFile>
#include <cerrno>
#include <cstring>

#include "pc_parallel_port.h"

namespace velarix::sim {

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

int Hex(const char* text, int digits) {
    int value = 0;
    for (int i = 0; i < digits; ++i) {
        const char c = text[i];
        int d;
        if (c >= '0' && c <= '9') {
            d = c - '0';
        } else if (c >= 'A' && c <= 'F') {
            d = c - 'A' + 10;
        } else {
            return -1;
        }
        value = value * 16 + d;
    }
    return value;
}

bool WriteAll(int fd, const char* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::send(fd, bytes, size, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

PortModelServer::~PortModelServer() {
    if (thread_.joinable()) {
        const char stop = 'x';
        [[maybe_unused]] const ssize_t n = ::write(wake_[1], &stop, 1);
        thread_.join();
    }
    for (int fd : {listener_, wake_[0], wake_[1]}) {
        if (fd >= 0) ::close(fd);
    }
    if (!path_.isEmpty()) QFile::remove(path_);
}

bool PortModelServer::Listen(const QString& path, QString* error) {
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (name.isEmpty() || static_cast<std::size_t>(name.size()) >= sizeof address.sun_path) {
        if (error) *error = path + QStringLiteral(": the path is too long for a socket");
        return false;
    }
    std::memcpy(address.sun_path, name.constData(), static_cast<std::size_t>(name.size()));
    ::unlink(name.constData());
    listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener_ < 0 ||
        ::bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address) < 0 ||
        ::listen(listener_, 1) < 0 || ::pipe2(wake_, O_CLOEXEC) < 0) {
        if (error) *error = path + QStringLiteral(": ") + QString::fromLocal8Bit(strerror(errno));
        return false;
    }
    path_ = path;
    thread_ = std::thread([this] { Serve(); });
    return true;
}

int PortModelServer::Handle(const char* line, std::size_t length, char* answer) {
    const int address = length >= 6 && line[1] == ' ' ? Hex(line + 2, 4) : -1;
    if (address < 0) return 0;
    const int offset = PcParallelPort::OffsetOf(static_cast<std::uint16_t>(address));
    if (line[0] == 'I' && length == 6) {
        std::uint8_t value = 0xFF;
        if (offset >= 0) {
            std::lock_guard guard(lock_);
            value = port_.Read(static_cast<std::uint16_t>(offset));
        }
        ++accesses_;
        answer[0] = kDigits[value >> 4];
        answer[1] = kDigits[value & 15];
        answer[2] = '\n';
        return 3;
    }
    const int value = length == 9 && line[6] == ' ' ? Hex(line + 7, 2) : -1;
    if (line[0] == 'O' && value >= 0) {
        if (offset >= 0) {
            std::lock_guard guard(lock_);
            port_.Write(static_cast<std::uint16_t>(offset), static_cast<std::uint8_t>(value));
        }
        ++accesses_;
    }
    return 0;
}

void PortModelServer::Serve() {
    int client = -1;
    char buffer[4096];
    std::size_t held = 0;
    for (;;) {
        pollfd fds[2] = {{wake_[0], POLLIN, 0}, {client >= 0 ? client : listener_, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (fds[0].revents) break;
        if (!fds[1].revents) continue;
        if (client < 0) {
            client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            held = 0;
            continue;
        }
        const ssize_t n = ::recv(client, buffer + held, sizeof buffer - held, 0);
        if (n <= 0) {
            if (n < 0 && errno == EINTR) continue;
            ::close(client);
            client = -1;
            continue;
        }
        held += static_cast<std::size_t>(n);
        std::size_t start = 0;
        for (std::size_t i = 0; i < held; ++i) {
            if (buffer[i] != '\n') continue;
            char answer[3];
            const int size = Handle(buffer + start, i - start, answer);
            if (size > 0) WriteAll(client, answer, static_cast<std::size_t>(size));
            start = i + 1;
        }
        std::memmove(buffer, buffer + start, held - start);
        held -= start;
        if (held == sizeof buffer) held = 0;  // a line far too long: dropped
    }
    if (client >= 0) ::close(client);
}

}  // namespace velarix::sim
