#pragma once

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <random>

#include "service_mode.h"

namespace velarix::sim {

// Runs something after `milliseconds`; the simulator's only notion of time,
// so that tests can drive it from a virtual clock.
using Scheduler = std::function<void(int milliseconds, std::function<void()>)>;
Scheduler RealTimeScheduler();

// The decoder's service port on a pseudo-terminal: the host opens the path
// this gives as if it were a serial port.
class PtyServicePort : public QObject {
    Q_OBJECT
public:
    explicit PtyServicePort(ServiceMode& service, Scheduler scheduler = RealTimeScheduler(),
                            QObject* parent = nullptr);
    ~PtyServicePort() override;

    bool IsOpen() const { return master_ >= 0; }
    QString ErrorText() const { return error_; }
    // The path the host opens, such as /dev/pts/7.
    QString Path() const { return path_; }

    // Fault knobs.
    void SetSplitReplies(int pieces) { pieces_ = std::max(pieces, 1); }
    void SetDropCarriageReturn(bool drop) { dropCr_ = drop; }
    void SetReplyDelay(int milliseconds) { delayMs_ = milliseconds; }
    // How long the host may stay quiet before a partial line is taken as is.
    void SetQuietTime(int milliseconds) { quietMs_ = milliseconds; }
    // Corrupting knobs, each for the next `count` replies: a data character
    // of a read reply that is not a hexadecimal digit; a status line nobody
    // asked for, sent in the same write just before the reply; line noise
    // (bytes without a carriage return) that reaches the host between its
    // command and the reply, as an arrival of its own; a flood of `bytes`
    // bytes without a carriage return instead of the reply.
    void SetBadDigits(int count) { badDigits_ = count; }
    void SetBanners(int count) { banners_ = count; }
    void SetNoise(int count, QByteArray noise = "#~") {
        noiseCount_ = count;
        noise_ = std::move(noise);
    }
    void SetFloods(int count, int bytes) {
        floods_ = count;
        floodBytes_ = bytes;
    }
    // Seeded random faults: each reply, with the given chance in percent, is
    // refused, lost, sent without its carriage return, split, sent 20 s late,
    // given a bad digit, preceded by a status line, followed by noise, or
    // replaced by a flood. The same seed gives the same faults.
    void SetRandomFaults(std::uint32_t seed, int percent);

    // The status line of the banner knob.
    static QByteArray Banner() { return "SERVICE MODE READY\r"; }

    QByteArray Received() const { return received_; }  // everything the host sent

    // Sends a line the decoder says of its own accord (not an answer), with
    // the same faults as an answer. Safe from any thread: the line leaves
    // from the port's own thread when its event loop runs next.
    void Announce(const QByteArray& line);

private:
    void ReadHost();
    void Send(QByteArray reply);
    void WriteNow(const QByteArray& bytes);

    ServiceMode& service_;
    Scheduler scheduler_;
    int master_ = -1;
    int slaveKeeper_ = -1;
    QString path_;
    QString error_;
    std::unique_ptr<QSocketNotifier> notifier_;
    QByteArray received_;
    int pieces_ = 1;
    bool dropCr_ = false;
    int delayMs_ = 0;
    int quietMs_ = 100;
    std::optional<std::mt19937> random_;
    int faultPercent_ = 0;
    int badDigits_ = 0;
    int banners_ = 0;
    int noiseCount_ = 0;
    QByteArray noise_;
    int floods_ = 0;
    int floodBytes_ = 0;
    unsigned quietGeneration_ = 0;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace velarix::sim
