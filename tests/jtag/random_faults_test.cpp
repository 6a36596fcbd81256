#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "eeprom/eeprom_image.h"
#include "jtag/memory_readout.h"
#include "sim_cable.h"
#include "test_files.h"

namespace velarix {
namespace {

// What one run over a seed saw.
struct Outcomes {
    int done = 0;
    int failed = 0;
    int wrong = 0;  // reads reported as done that delivered a wrong byte
    std::uint64_t acksWithheld = 0;
    std::uint64_t bytesWithheld = 0;
    QList<int> outcomes;
};

// A few reads of each kind against a decoder whose link withholds
// acknowledges and whole bytes at random. The link carries no check of its
// own, so what it can detect is a byte missing, never a byte changed.
Outcomes ReadWithRandomFaults(std::uint64_t seed) {
    test::SimJtag sim;
    sim.Faults().randomSeed = seed;
    sim.Faults().ackWithheldPerMillion = 1000;
    sim.Faults().byteWithheldPerMillion = 400;
    sim.target.ApplyFaults();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("read.bin"));
    EepromImage image;
    ReadOutDelivery delivery;
    delivery.chooseFile = [&] { return std::optional<QString>(path); };
    delivery.eeprom = &image;

    Outcomes run;
    auto note = [&](const ReadResult& result, bool right) {
        run.outcomes << int(result.outcome);
        if (result.outcome == ReadOutcome::Done) {
            ++run.done;
            if (!right) ++run.wrong;
        } else {
            EXPECT_EQ(result.outcome, ReadOutcome::ShortRead) << "seed " << seed;
            ++run.failed;
        }
    };
    const struct {
        std::uint32_t address;
        int length;
    } files[] = {{0x7FE00000, 0x400}, {0x7FE01000, 0x1FC}, {0x401289A0, 0x300}};
    for (const auto& f : files) {
        QFile::remove(path);
        const ReadResult r =
            ReceiveFromTarget(sim.env, ReadDestination::File, QString::number(f.address, 16),
                              QString::number(f.length, 16), delivery);
        QByteArray truth;
        for (int i = 0; i < f.length; ++i) truth += char(sim.decoder.BusRead(f.address + i));
        note(r, test::FileContents(path) == truth);
    }
    for (int i = 0; i < 2; ++i) {
        image.EraseImage();
        const ReadResult r =
            ReceiveFromTarget(sim.env, ReadDestination::Eeprom, "0", "800", delivery);
        note(r, image.GetImageBytes() == sim.decoder.Eeprom());
    }
    run.acksWithheld = sim.target.Link().acknowledgesWithheld;
    run.bytesWithheld = sim.target.Link().bytesWithheld;
    return run;
}

TEST(RandomFaultsTest, EveryReadDeliversTheRightBytesOrReportsAFailure) {
    int done = 0, failed = 0;
    std::uint64_t faults = 0;
    for (std::uint64_t seed = 1; seed <= 40; ++seed) {
        const Outcomes run = ReadWithRandomFaults(seed);
        EXPECT_EQ(run.wrong, 0) << "seed " << seed;
        done += run.done;
        failed += run.failed;
        faults += run.acksWithheld + run.bytesWithheld;
    }
    // The mode is worth its name: faults came, and reads got through between them.
    EXPECT_GT(faults, 40u);
    EXPECT_GT(done, 40);
    EXPECT_GT(failed, 20);
}

TEST(RandomFaultsTest, TheSameSeedGivesTheSameFaults) {
    const Outcomes a = ReadWithRandomFaults(7);
    const Outcomes b = ReadWithRandomFaults(7);
    EXPECT_EQ(a.outcomes, b.outcomes);
    EXPECT_EQ(a.acksWithheld, b.acksWithheld);
    EXPECT_EQ(a.bytesWithheld, b.bytesWithheld);
    const Outcomes c = ReadWithRandomFaults(8);
    EXPECT_FALSE(a.acksWithheld == c.acksWithheld && a.bytesWithheld == c.bytesWithheld &&
                 a.outcomes == c.outcomes);
}

}  // namespace
}  // namespace velarix
