#include <gtest/gtest.h>

#include <optional>

#include "lpt/firmware_upload.h"
#include "recording_frame.h"
#include "serial/link_port.h"
#include "serial/service_link.h"
#include "shell/message_table.h"
#include "shell/settings.h"
#include "sim_parallel_port.h"
#include "virtual_scheduler.h"
#include "wired_decoder.h"

namespace velarix {
namespace {

// One whole upload, as the page runs it, against a simulated decoder whose
// parallel side (and service port) meet seeded random faults.
struct FaultyRun {
    explicit FaultyRun(VirtualClock& clock) : clock(clock), rig(test::VirtualScheduler(clock)) {}

    std::optional<UploadOutcome> Upload(const QByteArray& image) {
        QtLinkPort port;
        QString error;
        if (!port.SetName(rig.servicePort.Path(), &error) || !port.Open(&error)) return {};
        ServiceLink link(port, clock, frame);
        VirtualPortTiming timing(clock);
        Settings settings;
        FirmwareUpload upload(link, frame, timing, settings);
        upload.addressText = [] { return QStringLiteral("7FE00000"); };
        upload.openPort = [this] {
            PortOpening opening;
            opening.port = std::make_unique<SimParallelPort>(rig.pcPort);
            opening.device = QStringLiteral("sim");
            opening.base = 0x378;
            return opening;
        };
        std::optional<UploadOutcome> outcome;
        upload.finished = [&](UploadOutcome o) { outcome = o; };
        upload.StartUpload(image);
        clock.RunUntil([&] { return outcome.has_value(); }, 10 * 60 * 1000);
        return outcome;
    }

    VirtualClock& clock;
    sim::WiredDecoder rig;
    test::RecordingFrame frame;
};

// Whatever the faults, an upload reported as a success put exactly the
// image into the flash, every byte once; every other run ends as a failure
// the person is told of, with the pages free again.
TEST(UploadFaults, ManySeedsNeverReportSuccessOverAWrongByte) {
    VirtualClock clock;
    QByteArray image(600, '\0');
    for (int i = 0; i < image.size(); ++i) image[i] = static_cast<char>(i * 37 + 11);
    int successes = 0, failures = 0, wrongBytes = 0;
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        FaultyRun run(clock);
        if (!run.rig.servicePort.IsOpen()) GTEST_SKIP() << "no pseudo-terminal on this machine";
        run.rig.peripheral.SetRandomFaults(seed, 3);
        run.rig.servicePort.SetRandomFaults(seed, 10);
        const auto outcome = run.Upload(image);
        ASSERT_TRUE(outcome.has_value()) << "seed " << seed;
        const bool exact = run.rig.loader.Received() == image &&
                           run.rig.decoder.Flash(0).Bytes().left(image.size()) == image;
        if (!exact) ++wrongBytes;
        if (*outcome == UploadOutcome::Success) {
            ++successes;
            EXPECT_TRUE(exact) << "seed " << seed;
            EXPECT_EQ(run.frame.boxes.last().text, Msg(41)) << "seed " << seed;
        } else {
            ++failures;
            EXPECT_FALSE(run.frame.busy) << "seed " << seed;
            const bool told = !run.frame.boxes.isEmpty() ||
                              run.frame.Log(LogPane::Firmware).contains(Msg(35)) ||
                              run.frame.Log(LogPane::Firmware).count() > 0;
            EXPECT_TRUE(told) << "seed " << seed;
            if (!run.frame.boxes.isEmpty()) {
                EXPECT_NE(run.frame.boxes.last().text, Msg(41)) << "seed " << seed;
            }
        }
    }
    RecordProperty("successes", successes);
    RecordProperty("failures", failures);
    RecordProperty("wrongBytes", wrongBytes);
    EXPECT_GT(successes, 0);
    EXPECT_GT(failures, 0);
    EXPECT_GT(wrongBytes, 0);  // silent faults did strike, and none got through
}

// The same seed gives the same faults, so a failing seed can be replayed.
TEST(UploadFaults, TheSameSeedRunsTheSameWay) {
    VirtualClock clock;
    const QByteArray image(300, 'v');
    QStringList logs[2];
    for (int i = 0; i < 2; ++i) {
        FaultyRun run(clock);
        if (!run.rig.servicePort.IsOpen()) GTEST_SKIP() << "no pseudo-terminal on this machine";
        run.rig.peripheral.SetRandomFaults(11, 30);
        run.Upload(image);
        logs[i] = run.frame.Log(LogPane::Firmware);
    }
    EXPECT_EQ(logs[0], logs[1]);
    EXPECT_TRUE(logs[0].join('\n').contains(Msg(33)));
}

}  // namespace
}  // namespace velarix
