#pragma once

#include <QString>
#include <atomic>
#include <mutex>
#include <thread>

namespace velarix::sim {

class PcParallelPort;

// Serves a PC parallel port on a Unix stream socket with the external port
// model: each line "I PPPP" reads port PPPP and is answered with one line
// "VV"; each line "O PPPP VV" writes byte VV to port PPPP. Upper-case
// hexadecimal, lines end with LF; lines of any other form are ignored. One
// client at a time; the next one is taken when it hangs up. The port is
// served from a thread of the server's own, holding `lock` for each access.
class PortModelServer {
public:
    PortModelServer(PcParallelPort& port, std::mutex& lock) : port_(port), lock_(lock) {}
    ~PortModelServer();

    // Listens at `path` (an old socket file there is replaced); false with
    // the system's reason when it cannot.
    bool Listen(const QString& path, QString* error);
    QString Path() const { return path_; }
    // Accesses served so far.
    long Accesses() const { return accesses_; }

private:
    void Serve();
    // Handles one line; the answer to write back, if any.
    int Handle(const char* line, std::size_t length, char* answer);

    PcParallelPort& port_;
    std::mutex& lock_;
    QString path_;
    int listener_ = -1;
    int wake_[2] = {-1, -1};
    std::thread thread_;
    std::atomic<long> accesses_{0};
};

}  // namespace velarix::sim
