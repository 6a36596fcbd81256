#include "pty_service_port.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>
#include <QTimer>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace velarix::sim {

Scheduler RealTimeScheduler() {
    return [](int milliseconds, std::function<void()> work) {
        QTimer::singleShot(milliseconds, Qt::PreciseTimer, std::move(work));
    };
}

PtyServicePort::PtyServicePort(ServiceMode& service, Scheduler scheduler, QObject* parent)
    : QObject(parent), service_(service), scheduler_(std::move(scheduler)) {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        error_ = QString::fromLocal8Bit(std::strerror(errno));
        if (master_ >= 0) ::close(master_);
        master_ = -1;
        return;
    }
    path_ = QString::fromLocal8Bit(::ptsname(master_));
    // Holding the other end open keeps the master readable between the host's
    // opens, and raw mode keeps the line discipline from echoing or editing.
    slaveKeeper_ = ::open(path_.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    if (slaveKeeper_ >= 0) {
        termios tio{};
        ::tcgetattr(slaveKeeper_, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(slaveKeeper_, TCSANOW, &tio);
    }
    notifier_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &PtyServicePort::ReadHost);
}

PtyServicePort::~PtyServicePort() {
    *alive_ = false;
    notifier_.reset();
    if (slaveKeeper_ >= 0) ::close(slaveKeeper_);
    if (master_ >= 0) ::close(master_);
}

void PtyServicePort::ReadHost() {
    char buffer[512];
    const ssize_t n = ::read(master_, buffer, sizeof buffer);
    if (n <= 0) return;
    const QByteArray bytes(buffer, static_cast<qsizetype>(n));
    received_ += bytes;
    for (const QByteArray& reply : service_.Feed(bytes)) Send(reply);
    if (!service_.HasPartialLine()) return;
    const unsigned generation = ++quietGeneration_;
    auto alive = alive_;
    scheduler_(quietMs_, [this, alive, generation] {
        if (!*alive || generation != quietGeneration_) return;
        for (const QByteArray& reply : service_.Flush()) Send(reply);
    });
}

void PtyServicePort::Announce(const QByteArray& line) {
    QMetaObject::invokeMethod(
        this, [this, line] { Send(line); }, Qt::QueuedConnection);
}

void PtyServicePort::SetRandomFaults(std::uint32_t seed, int percent) {
    random_.emplace(seed);
    faultPercent_ = percent;
}

namespace {

// Takes one from a knob's count; whether it was set.
bool Take(int& count) {
    if (count <= 0) return false;
    --count;
    return true;
}

// A data character of a read reply ("$!C0" + 32 digits) turned into one that
// is no hexadecimal digit.
void SpoilDigit(QByteArray& reply, int at) {
    if (reply.size() > 4 + at) reply[4 + at] = 'G';
}

}  // namespace

void PtyServicePort::Send(QByteArray reply) {
    int pieces = pieces_;
    int delay = delayMs_;
    bool badDigit = Take(badDigits_);
    bool banner = Take(banners_);
    QByteArray noise = Take(noiseCount_) ? noise_ : QByteArray();
    int flood = Take(floods_) ? floodBytes_ : 0;
    if (random_ && static_cast<int>((*random_)() % 100) < faultPercent_) {
        switch ((*random_)() % 9) {
            case 0:
                reply = "$?C0\r";
                break;
            case 1:
                return;  // lost
            case 2:
                reply.chop(1);
                break;
            case 3:
                pieces = 3;
                break;
            case 4:
                delay += 20000;
                break;
            case 5:
                badDigit = true;
                break;
            case 6:
                banner = true;
                break;
            case 7:
                noise = QByteArray("\x01#~ \x7F!").left(1 + static_cast<int>((*random_)() % 6));
                break;
            default:
                flood = 6000;
                break;
        }
    }
    if (badDigit) SpoilDigit(reply, static_cast<int>(reply.size() / 2) % 32);
    if (banner) reply.prepend(Banner());
    if (flood > 0) reply = QByteArray(flood, 'U');
    if (dropCr_ && reply.endsWith('\r')) reply.chop(1);
    const int size = static_cast<int>(reply.size());
    const int pieceSize = std::max(1, (size + pieces - 1) / pieces);
    auto alive = alive_;
    // Noise goes ahead of the reply as an arrival of its own.
    if (!noise.isEmpty()) {
        scheduler_(delay, [this, alive, noise] {
            if (*alive) WriteNow(noise);
        });
        ++delay;
    }
    for (int at = 0, i = 0; at < size; at += pieceSize, ++i) {
        const QByteArray piece = reply.mid(at, pieceSize);
        // Pieces leave one event-loop pass apart, so the host sees them as
        // separate arrivals.
        scheduler_(delay + i, [this, alive, piece] {
            if (*alive) WriteNow(piece);
        });
    }
}

void PtyServicePort::WriteNow(const QByteArray& bytes) {
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.constData() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        written += n;
    }
}

}  // namespace velarix::sim
