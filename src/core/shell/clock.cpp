#include "shell/clock.h"

#include <algorithm>

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

namespace velarix {

namespace {

class SystemTimer : public Timer {
public:
    // Precise: a coarse timer may fire up to 5 % early, half a second of a
    // 15-second reply time-out.
    SystemTimer() {
        timer_.setSingleShot(true);
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (onTimeout) onTimeout();
        });
    }
    void Start(int milliseconds) override { timer_.start(milliseconds); }
    void Stop() override { timer_.stop(); }
    bool IsActive() const override { return timer_.isActive(); }
    int RemainingMs() const override { return timer_.remainingTime(); }

private:
    QTimer timer_;
};

// One pass over whatever the event loop has ready; false when nothing was.
bool ProcessReadyEvents() {
    QCoreApplication::sendPostedEvents();
    auto* dispatcher = QAbstractEventDispatcher::instance();
    return dispatcher && dispatcher->processEvents(QEventLoop::AllEvents);
}

}  // namespace

struct SystemClock::Private {
    QElapsedTimer since;
};

SystemClock::SystemClock() : d_(std::make_shared<Private>()) {
    d_->since.start();
}

std::uint32_t SystemClock::Tick() const {
    return static_cast<std::uint32_t>(d_->since.elapsed());
}

std::unique_ptr<Timer> SystemClock::MakeTimer() {
    return std::make_unique<SystemTimer>();
}

// Sleeps in the event loop until something happens. processEvents with a
// time limit returns at once when nothing is ready, which spun a core for
// the whole of a 75-second wait; a timer wakes the blocking wait instead, at
// the limit or after 50 ms so that `done` is looked at now and then anyway.
bool SystemClock::RunUntil(const std::function<bool()>& done, int limitMs) {
    constexpr qint64 kLongestSleepMs = 50;
    const QDeadlineTimer limit(limitMs, Qt::PreciseTimer);
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    while (!done() && !limit.hasExpired()) {
        const qint64 left = limit.isForever() ? kLongestSleepMs : limit.remainingTime();
        wake.start(static_cast<int>(std::clamp<qint64>(left, 0, kLongestSleepMs)));
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return done();
}

class VirtualTimer : public Timer {
public:
    explicit VirtualTimer(VirtualClock& clock) : clock_(clock) {}
    ~VirtualTimer() override { Stop(); }

    void Start(int milliseconds) override {
        Stop();
        key_ = {clock_.elapsed_ + static_cast<std::uint64_t>(std::max(milliseconds, 0)),
                clock_.sequence_++};
        clock_.due_[key_] = this;
        active_ = true;
    }
    void Stop() override {
        if (active_) clock_.due_.erase(key_);
        active_ = false;
    }
    bool IsActive() const override { return active_; }
    int RemainingMs() const override {
        if (!active_) return -1;
        return key_.first <= clock_.elapsed_ ? 0 : static_cast<int>(key_.first - clock_.elapsed_);
    }

private:
    friend class VirtualClock;
    VirtualClock& clock_;
    std::pair<std::uint64_t, std::uint64_t> key_{};
    bool active_ = false;
};

std::unique_ptr<Timer> VirtualClock::MakeTimer() {
    return std::make_unique<VirtualTimer>(*this);
}

int VirtualClock::NextDue() const {
    if (due_.empty()) return -1;
    const std::uint64_t due = due_.begin()->first.first;
    return due <= elapsed_ ? 0 : static_cast<int>(due - elapsed_);
}

void VirtualClock::Nudge(std::uint64_t milliseconds) {
    now_ += static_cast<std::uint32_t>(milliseconds);
    elapsed_ += milliseconds;
}

void VirtualClock::Advance(int milliseconds) {
    const std::uint64_t end = elapsed_ + static_cast<std::uint64_t>(std::max(milliseconds, 0));
    while (!due_.empty() && due_.begin()->first.first <= end) {
        auto it = due_.begin();
        VirtualTimer* timer = it->second;
        // A timer that fell due during a Nudge fires late, at the present.
        if (it->first.first > elapsed_) {
            now_ += static_cast<std::uint32_t>(it->first.first - elapsed_);
            elapsed_ = it->first.first;
        }
        due_.erase(it);
        timer->active_ = false;
        if (timer->onTimeout) timer->onTimeout();
    }
    now_ += static_cast<std::uint32_t>(end - elapsed_);
    elapsed_ = end;
}

// Real events (a pseudo-terminal's bytes, posted calls) run first; only when
// the loop has stood idle for a moment does virtual time jump to the next due
// timer. With no timer due, the loop waits for real events, under a
// wall-clock guard so that a test waiting for bytes that never come ends.
bool VirtualClock::RunUntil(const std::function<bool()>& done, int limitMs) {
    const std::uint64_t end = elapsed_ + static_cast<std::uint64_t>(std::max(limitMs, 0));
    QDeadlineTimer guard(30000);
    int idlePasses = 0;
    while (!done()) {
        if (ProcessReadyEvents()) {
            idlePasses = 0;
            continue;
        }
        if (++idlePasses < 3) {
            QThread::usleep(200);
            continue;
        }
        idlePasses = 0;
        if (guard.hasExpired()) return false;
        const int next = NextDue();
        if (next >= 0 && elapsed_ + next <= end) {
            Advance(next);
        } else if (next >= 0) {
            Advance(static_cast<int>(end - elapsed_));
            return done();
        } else {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        }
    }
    return true;
}

}  // namespace velarix
