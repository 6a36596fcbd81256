#include <gtest/gtest.h>

#include <cstring>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <map>
#include <thread>

#include "lpt/direct_port.h"
#include "lpt/port_access.h"
#include "lpt/port_backend.h"
#include "lpt/ppdev_port.h"
#include "lpt/unix_port.h"
#include "shell/message_table.h"

namespace velarix {
namespace {

// The kernel's side of ppdev as a test sees it: two ports known under /proc,
// device nodes that open or not, and requests recorded by name and answered
// as a parallel port would.
struct FakePpdev : PpdevSystem {
    std::map<QString, QByteArray> bases{
        {"parport0", "632\t1656\n"}, {"parport1", "888\t1912\n"}, {"default", "\n"}};
    std::map<QString, int> openErrors;
    std::map<QString, int> requestErrors;  // by request name
    QStringList requests;
    unsigned char data = 0, status = 0x7F, control = 0x0C;
    int closed = 0;

    int Open(const QString& path) override {
        requests << "open " + path;
        const auto it = openErrors.find(path);
        return it == openErrors.end() ? 7 : -it->second;
    }
    static QString Name(unsigned long request) {
        switch (request) {
            case PPEXCL:
                return "PPEXCL";
            case PPCLAIM:
                return "PPCLAIM";
            case PPRELEASE:
                return "PPRELEASE";
            case PPRDATA:
                return "PPRDATA";
            case PPWDATA:
                return "PPWDATA";
            case PPRSTATUS:
                return "PPRSTATUS";
            case PPRCONTROL:
                return "PPRCONTROL";
            case PPWCONTROL:
                return "PPWCONTROL";
            case PPDATADIR:
                return "PPDATADIR";
            default:
                return "other";
        }
    }
    int Ioctl(int fd, unsigned long request, void* argument) override {
        EXPECT_EQ(fd, 7);
        QString line = Name(request);
        auto* byte = static_cast<unsigned char*>(argument);
        switch (request) {
            case PPWDATA:
                data = *byte;
                line += " " + QString::number(*byte, 16);
                break;
            case PPWCONTROL:
                control = *byte;
                line += " " + QString::number(*byte, 16);
                break;
            case PPDATADIR:
                line += " " + QString::number(*static_cast<int*>(argument));
                break;
            case PPRDATA:
                *byte = data;
                break;
            case PPRSTATUS:
                *byte = status;
                break;
            case PPRCONTROL:
                *byte = control & 0x0F;
                break;
            default:
                break;
        }
        requests << line;
        const auto it = requestErrors.find(Name(request));
        return it == requestErrors.end() ? 0 : -it->second;
    }
    void Close(int) override { ++closed; }
    QStringList PortNames() override {
        QStringList names;
        for (const auto& [name, line] : bases) names << name;
        return names;
    }
    QByteArray BaseAddressLine(const QString& name) override { return bases[name]; }
};

TEST(Ppdev, TheDeviceIsTheOneWhoseBaseAddressIsTheRange) {
    FakePpdev kernel;
    EXPECT_EQ(PpdevDeviceAt(kernel, 0x378), "/dev/parport1");
    EXPECT_EQ(PpdevDeviceAt(kernel, 0x278), "/dev/parport0");
    EXPECT_EQ(PpdevDeviceAt(kernel, 0x3BC), "");
    kernel.bases.clear();  // the parport module is not loaded
    EXPECT_EQ(PpdevDeviceAt(kernel, 0x378), "");
}

TEST(Ppdev, ADeviceThatCannotBeOpenedSaysWhyAndWhatToDo) {
    FakePpdev kernel;
    kernel.openErrors["/dev/parport0"] = ENOENT;
    kernel.openErrors["/dev/parport1"] = EACCES;
    PortOpening missing = OpenPpdevPort(kernel, "/dev/parport0", 0x378);
    EXPECT_FALSE(missing.port);
    EXPECT_EQ(missing.error, Msg(383).arg("/dev/parport0"));
    EXPECT_TRUE(missing.error.contains("modprobe ppdev"));
    PortOpening denied = OpenPpdevPort(kernel, "/dev/parport1", 0x378);
    EXPECT_EQ(denied.error, Msg(384).arg("/dev/parport1"));
    EXPECT_TRUE(denied.error.contains("grupo lp"));
}

TEST(Ppdev, NothingIsTouchedUntilThePortIsClaimedForTheOperation) {
    FakePpdev kernel;
    PortOpening opening = OpenPpdevPort(kernel, "/dev/parport1", 0x378);
    ASSERT_TRUE(opening.port) << opening.error.toStdString();
    ParallelPort& port = *opening.port;
    EXPECT_EQ(port.In(0x379), 0xFF);
    port.Out(0x378, 0x55);
    EXPECT_EQ(kernel.requests, (QStringList{"open /dev/parport1"}));

    kernel.requests.clear();
    ASSERT_TRUE(OpenPortAccess(port, 0x378, 0x778));
    EXPECT_EQ(kernel.requests, (QStringList{"PPEXCL", "PPCLAIM"}));
    kernel.requests.clear();
    ClosePortAccess(port, 0x378, 0x778);
    EXPECT_EQ(kernel.requests, (QStringList{"PPRELEASE"}));
    opening.port.reset();
    EXPECT_EQ(kernel.closed, 1);
}

TEST(Ppdev, RegistersGoThroughTheirRequestsAndTheEcrWriteIsLogged) {
    FakePpdev kernel;
    PortOpening opening = OpenPpdevPort(kernel, "/dev/parport1", 0x378);
    ParallelPort& port = *opening.port;
    ASSERT_TRUE(OpenPortAccess(port, 0x378, 0x778));
    kernel.requests.clear();
    port.Out(0x378, 0x5A);
    EXPECT_EQ(port.In(0x379), 0x7F);
    port.Out(0x37A, 0x2B);  // nStrobe, nAutoFd, nSelectIn low, data lines as inputs
    EXPECT_EQ(port.In(0x37A), 0x2B);
    port.Out(0x37A, 0xC4);  // data lines back to outputs; bits 6 and 7 read back as written
    EXPECT_EQ(port.In(0x37A), 0xC4);
    port.Out(0x77A, 0x34);
    EXPECT_EQ(port.In(0x77A), 0x34);
    EXPECT_EQ(kernel.requests,
              (QStringList{"PPWDATA 5a", "PPRSTATUS", "PPDATADIR 1", "PPWCONTROL b", "PPRCONTROL",
                           "PPDATADIR 0", "PPWCONTROL 4", "PPRCONTROL"}));
    const QStringList notes = port.TakeNotes();
    ASSERT_EQ(notes.size(), 1);
    EXPECT_EQ(notes[0], Msg(389).arg("/dev/parport1", "34"));
    EXPECT_TRUE(port.TakeNotes().isEmpty());
}

TEST(Ppdev, AClaimRefusedBecauseAnotherDriverHoldsThePortIsBusy) {
    FakePpdev kernel;
    kernel.requestErrors["PPCLAIM"] = ENXIO;
    PortOpening opening = OpenPpdevPort(kernel, "/dev/parport1", 0x378);
    EXPECT_FALSE(OpenPortAccess(*opening.port, 0x378, 0x778));
    EXPECT_EQ(PortAccessFailure(*opening.port), Msg(385).arg("/dev/parport1"));
    kernel.requests.clear();
    EXPECT_EQ(opening.port->In(0x379), 0xFF);  // not claimed: not touched
    ClosePortAccess(*opening.port, 0x378, 0x778);
    EXPECT_TRUE(kernel.requests.isEmpty());  // nothing to release
}

TEST(Ppdev, ADeviceThatGoesAwayMidOperationStopsThePortWithItsReason) {
    FakePpdev kernel;
    PortOpening opening = OpenPpdevPort(kernel, "/dev/parport1", 0x378);
    ParallelPort& port = *opening.port;
    ASSERT_TRUE(OpenPortAccess(port, 0x378, 0x778));
    kernel.requestErrors["PPRSTATUS"] = ENODEV;
    EXPECT_EQ(port.In(0x379), 0xFF);
    EXPECT_TRUE(port.Failed());
    EXPECT_TRUE(port.FaultText().startsWith(Msg(388).arg("/dev/parport1", "").left(20)));
    kernel.requests.clear();
    EXPECT_EQ(port.In(0x379), 0xFF);
    port.Out(0x378, 1);
    EXPECT_TRUE(kernel.requests.isEmpty());
}

// The processor's I/O instructions and ioperm, recorded.
struct FakeIo : DirectIoSystem {
    int iopermError = 0;
    QStringList calls;
    std::map<std::uint16_t, std::uint8_t> ports;
    int Ioperm(std::uint32_t from, std::uint32_t count, bool on) override {
        calls << QStringLiteral("ioperm %1 %2 %3").arg(from, 0, 16).arg(count).arg(on);
        return -iopermError;
    }
    std::uint8_t Inb(std::uint16_t port) override {
        calls << QStringLiteral("inb %1").arg(port, 0, 16);
        return ports[port];
    }
    void Outb(std::uint16_t port, std::uint8_t value) override {
        calls << QStringLiteral("outb %1 %2").arg(port, 0, 16).arg(value, 0, 16);
        ports[port] = value;
    }
};

TEST(DirectIo, WithoutThePrivilegeThePersonIsToldWhatItTakes) {
    FakeIo io;
    io.iopermError = EPERM;
    PortOpening opening = OpenDirectPort(io, 0x378);
    EXPECT_FALSE(opening.port);
    EXPECT_EQ(opening.error, Msg(386).arg("378-37A, 778-77A"));
    EXPECT_TRUE(opening.error.contains("CAP_SYS_RAWIO"));
}

TEST(DirectIo, OnASystemWithoutPortInstructionsThePersonIsSentToPpdev) {
    FakeIo io;
    io.iopermError = ENOSYS;
    PortOpening opening = OpenDirectPort(io, 0x378);
    EXPECT_FALSE(opening.port);
    EXPECT_TRUE(opening.error.contains("378-37A, 778-77A"));
    EXPECT_TRUE(opening.error.contains(std::strerror(ENOSYS)));
    EXPECT_TRUE(opening.error.contains("--lpt /dev/parportN"));
    EXPECT_FALSE(opening.error.contains("CAP_SYS_RAWIO"));  // root would not help
}

TEST(DirectIo, ThePermissionMapIsAppliedWithIopermAndOnlyOpenPortsAreReached) {
    FakeIo io;
    PortOpening opening = OpenDirectPort(io, 0x378);
    ASSERT_TRUE(opening.port);
    EXPECT_EQ(io.calls, (QStringList{"ioperm 378 3 1", "ioperm 378 3 0"}));  // the probe
    ParallelPort& port = *opening.port;
    io.calls.clear();
    EXPECT_EQ(port.In(0x379), 0xFF);  // no I/O instruction on a port not opened
    EXPECT_TRUE(io.calls.isEmpty());
    ASSERT_TRUE(OpenPortAccess(port, 0x378, 0x778));
    port.Out(0x378, 0xA5);
    port.Out(0x77A, 0x34);
    io.ports[0x379] = 0x78;
    EXPECT_EQ(port.In(0x379), 0x78);
    EXPECT_EQ(port.In(0x37B), 0xFF);  // outside the opened ranges
    ClosePortAccess(port, 0x378, 0x778);
    EXPECT_EQ(io.calls,
              (QStringList{"ioperm 378 3 1", "ioperm 778 3 1", "outb 378 a5", "outb 77a 34",
                           "inb 379", "ioperm 378 3 0", "ioperm 778 3 0"}));
}

TEST(PortSpec, KnowsTheFiveRangesPpdevUnixAndSim) {
    std::uint16_t base = 0;
    EXPECT_TRUE(IsPortSpec("3bc", &base));
    EXPECT_EQ(base, 0x3BC);
    EXPECT_TRUE(IsPortSpec("A068", &base));
    EXPECT_EQ(base, 0xA068);
    EXPECT_TRUE(IsPortSpec("/dev/parport2"));
    EXPECT_TRUE(IsPortSpec("unix:/tmp/x"));
    EXPECT_TRUE(IsPortSpec("sim"));
    EXPECT_FALSE(IsPortSpec("379"));
    EXPECT_FALSE(IsPortSpec("unix:"));
    EXPECT_FALSE(IsPortSpec("/dev/ttyS0"));
    EXPECT_FALSE(IsPortSpec("-378"));
    EXPECT_FALSE(OpenParallelPort("sim", 0x378, {}).port);  // no simulator wired in
}

// A port model that answers reads with the value `answer`, notes every line,
// and hangs up after `lines` lines.
struct ModelServer {
    QTemporaryDir dir;
    QString path = dir.filePath("lpt");
    int listener = -1;
    std::thread thread;
    QStringList seen;
    QByteArray answer = "5A\n";

    explicit ModelServer(int lines) {
        listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(path);
        std::memcpy(address.sun_path, name.constData(), static_cast<std::size_t>(name.size()));
        ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listener, 1);
        thread = std::thread([this, lines] {
            const int fd = ::accept(listener, nullptr, nullptr);
            QByteArray pending;
            char buffer[256];
            while (seen.size() < lines) {
                const ssize_t n = ::read(fd, buffer, sizeof buffer);
                if (n <= 0) break;
                pending.append(buffer, n);
                qsizetype end;
                while ((end = pending.indexOf('\n')) >= 0 && seen.size() < lines) {
                    const QByteArray line = pending.left(end);
                    pending.remove(0, end + 1);
                    seen << QString::fromLatin1(line);
                    if (line.startsWith('I')) ::write(fd, answer.constData(), answer.size());
                }
            }
            ::close(fd);
        });
    }
    ~ModelServer() {
        if (thread.joinable()) thread.join();
        ::close(listener);
    }
};

TEST(UnixPort, EveryAccessIsOneLineInOrderAndReadsTakeTheAnswer) {
    ModelServer model(3);
    PortOpening opening = OpenUnixPort(model.path, 0x378);
    ASSERT_TRUE(opening.port) << opening.error.toStdString();
    EXPECT_EQ(opening.device, "unix:" + model.path);
    opening.port->Out(0x378, 0x0F);
    opening.port->Out(0x77A, 0x34);
    EXPECT_EQ(opening.port->In(0x379), 0x5A);
    model.thread.join();
    EXPECT_EQ(model.seen, (QStringList{"O 0378 0F", "O 077A 34", "I 0379"}));
    EXPECT_FALSE(opening.port->Failed());
}

TEST(UnixPort, AModelThatHangsUpStopsThePortWithItsReason) {
    ModelServer model(1);
    PortOpening opening = OpenUnixPort(model.path, 0x378);
    ASSERT_TRUE(opening.port);
    EXPECT_EQ(opening.port->In(0x379), 0x5A);
    model.thread.join();
    EXPECT_EQ(opening.port->In(0x379), 0xFF);
    EXPECT_TRUE(opening.port->Failed());
    EXPECT_TRUE(opening.port->FaultText().contains("unix:" + model.path));
}

TEST(UnixPort, AnAnswerThatIsNotTwoDigitsStopsThePort) {
    ModelServer model(1);
    model.answer = "XYZ\n";
    PortOpening opening = OpenUnixPort(model.path, 0x378);
    EXPECT_EQ(opening.port->In(0x379), 0xFF);
    EXPECT_TRUE(opening.port->FaultText().contains("XYZ"));
}

TEST(UnixPort, NoModelAtThePathIsToldAtOnce) {
    QTemporaryDir dir;
    PortOpening opening = OpenUnixPort(dir.filePath("none"), 0x378);
    EXPECT_FALSE(opening.port);
    EXPECT_EQ(opening.error, Msg(387).arg(dir.filePath("none"), std::strerror(ENOENT)));
    EXPECT_TRUE(opening.error.contains("velarix-sim"));  // what to start
}

}  // namespace
}  // namespace velarix
