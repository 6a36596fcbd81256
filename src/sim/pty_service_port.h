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
    // Seeded random faults: each reply, with the given chance in percent, is
    // refused, lost, sent without its carriage return, split, or sent 20 s
    // late. The same seed gives the same faults.
    void SetRandomFaults(std::uint32_t seed, int percent);

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
    unsigned quietGeneration_ = 0;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace velarix::sim
