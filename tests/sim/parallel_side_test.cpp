#include <gtest/gtest.h>

#include <vector>

#include "ieee1284_peripheral.h"
#include "parallel_loader.h"
#include "service_mode.h"
#include "simulated_decoder.h"

namespace velarix::sim {
namespace {

struct Sink : ByteSink {
    QByteArray taken;
    int over = 0;
    void Take(std::uint8_t byte) override { taken.append(static_cast<char>(byte)); }
    void TransferOver() override { ++over; }
};

// The lines the peripheral drives, as "busy nAck pError select nFault".
std::string Levels(Ieee1284Peripheral& p) {
    const PeripheralLines l = p.Lines();
    return std::string{char('0' + l.busy),   ' ', char('0' + l.nAck),   ' ',
                       char('0' + l.pError), ' ', char('0' + l.select), ' ',
                       char('0' + l.nFault)};
}

// The host's lines in compatibility mode: nSelectIn low, the others high.
HostLines Compatibility() {
    HostLines h;
    h.nSelectIn = false;
    return h;
}

// Negotiation and termination, event by event, as the IEEE 1284 event list
// has them, written out by hand.
TEST(Ieee1284Peripheral, AnswersTheNibbleModeNegotiationAndTerminationEventByEvent) {
    Sink sink;
    Ieee1284Peripheral p(sink);
    HostLines h = Compatibility();
    p.OnHostLines(h);
    EXPECT_EQ(Levels(p), "0 1 0 1 1");  // ready, selected, no fault
    h.data = 0x00;                      // event 0
    p.OnHostLines(h);
    h.nSelectIn = true;  // event 1
    h.nAutoFd = false;
    p.OnHostLines(h);
    EXPECT_EQ(Levels(p), "0 0 1 1 1");  // event 2: nAck low, PError, nFault, Select high
    h.nStrobe = false;                  // event 3
    p.OnHostLines(h);
    EXPECT_EQ(Levels(p), "0 0 1 1 1");
    h.nStrobe = true;  // event 4
    h.nAutoFd = true;
    p.OnHostLines(h);
    EXPECT_EQ(Levels(p), "0 1 1 0 1");  // events 5 and 6: Select low, no data, nAck high
    EXPECT_EQ(p.LastRequest(), 0x00);
    h.nAutoFd = false;  // event 7: the host would take data; there is none
    p.OnHostLines(h);
    EXPECT_EQ(Levels(p), "0 1 1 0 1");
    h.nSelectIn = false;  // event 22
    h.nAutoFd = true;
    p.OnHostLines(h);
    EXPECT_EQ(Levels(p), "0 0 0 1 1");  // event 24: nAck low
    h.nAutoFd = false;                  // event 25
    p.OnHostLines(h);
    EXPECT_EQ(Levels(p), "0 1 0 1 1");  // event 27: nAck high
    h.nAutoFd = true;                   // event 28
    p.OnHostLines(h);
    EXPECT_EQ(Levels(p), "0 1 0 1 1");  // compatibility mode again
    EXPECT_EQ(p.Negotiations(), 1);
    EXPECT_EQ(sink.over, 3);  // events 1, 7 and 25 each end whatever was being sent
    EXPECT_TRUE(sink.taken.isEmpty());
}

// A byte in compatibility mode: Busy from the strobe, then the nAck pulse.
TEST(Ieee1284Peripheral, TakesAStrobedByteWithBusyAndTheAcknowledgePulse) {
    Sink sink;
    Ieee1284Peripheral p(sink);
    HostLines h = Compatibility();
    p.OnHostLines(h);
    h.data = 0xA7;
    p.OnHostLines(h);
    h.nStrobe = false;
    p.OnHostLines(h);
    EXPECT_EQ(Levels(p), "1 1 0 1 1");
    EXPECT_TRUE(sink.taken.isEmpty());
    h.nStrobe = true;
    p.OnHostLines(h);
    EXPECT_EQ(sink.taken, QByteArray("\xA7", 1));
    EXPECT_EQ(Levels(p), "1 1 0 1 1");  // the read right after the strobe
    EXPECT_EQ(Levels(p), "1 0 0 1 1");  // the acknowledge
    EXPECT_EQ(Levels(p), "0 1 0 1 1");  // ready
    EXPECT_EQ(p.BytesTaken(), 1);
}

TEST(Ieee1284Peripheral, AByteNotAcknowledgedIsDroppedByTheNInitResetAndTakenOnItsSecondTry) {
    Sink sink;
    Ieee1284Peripheral p(sink);
    p.faults.ackLowAt = 0;
    HostLines h = Compatibility();
    p.OnHostLines(h);
    auto strobe = [&](std::uint8_t value) {
        h.data = value;
        p.OnHostLines(h);
        h.nStrobe = false;
        p.OnHostLines(h);
        h.nStrobe = true;
        p.OnHostLines(h);
    };
    strobe(0x11);
    EXPECT_EQ(Levels(p), "1 0 0 1 1");
    EXPECT_EQ(Levels(p), "1 0 0 1 1");  // held until the host resets
    h.nInit = false;
    p.OnHostLines(h);
    EXPECT_EQ(Levels(p), "0 1 0 1 1");
    h.nInit = true;  // the level is the host's business; only the fall resets
    p.OnHostLines(h);
    h.nInit = false;
    p.OnHostLines(h);
    strobe(0x11);  // sent again, with nInit still low
    EXPECT_EQ(sink.taken, QByteArray("\x11", 1));
    EXPECT_EQ(p.Resets(), 2);
}

TEST(Ieee1284Peripheral, TheSameSeedGivesTheSameFaults) {
    auto run = [](std::uint32_t seed) {
        Sink sink;
        Ieee1284Peripheral p(sink);
        p.SetRandomFaults(seed, 300);
        std::string seen;
        HostLines h = Compatibility();
        for (int i = 0; i < 200; ++i) {
            h.data = static_cast<std::uint8_t>(i);
            h.nStrobe = false;
            p.OnHostLines(h);
            h.nStrobe = true;
            p.OnHostLines(h);
            for (int r = 0; r < 3; ++r) seen += Levels(p);
            if (!p.Lines().nAck) {
                h.nInit = false;
                p.OnHostLines(h);
                h.nInit = true;
                p.OnHostLines(h);
            }
        }
        return seen + sink.taken.toStdString();
    };
    EXPECT_EQ(run(7), run(7));
    EXPECT_NE(run(7), run(8));
}

struct LoaderTest : ::testing::Test {
    SimulatedDecoder decoder;
    ParallelLoader loader{decoder};
    QList<QByteArray> reports;
    LoaderTest() {
        loader.report = [this](const QByteArray& line) { reports << line; };
    }
    void Feed(const QByteArray& bytes) {
        for (char c : bytes) loader.Take(static_cast<std::uint8_t>(c));
    }
    static std::uint16_t Sum(const QByteArray& bytes) {
        std::uint32_t sum = 0;
        for (char c : bytes) sum += static_cast<std::uint8_t>(c);
        return static_cast<std::uint16_t>(sum);
    }
};

TEST_F(LoaderTest, AWholeLoadWithItsSumIsWrittenToFlashAndReportedWhenTheHostEndsIt) {
    QByteArray image(0x5000, '\0');
    for (int i = 0; i < image.size(); ++i) image[i] = static_cast<char>(i % 251);
    decoder.Flash(0).Fill(0, QByteArray(0x10000, '\0'));  // old firmware: sectors to erase
    ASSERT_TRUE(loader.Agree(ParallelLoader::Command::DL, 0x7FE00000, image.size(), Sum(image)));
    Feed(image);
    EXPECT_TRUE(reports.isEmpty());  // not before the host says it is done
    loader.TransferOver();
    EXPECT_EQ(reports, (QList<QByteArray>{"$.C0\r"}));
    EXPECT_EQ(decoder.Flash(0).Bytes().left(image.size()), image);
    // The sectors the load touched (16K and 8K) were erased; the next one was not.
    EXPECT_EQ(decoder.Flash(0).Bytes().mid(0x5000, 0x1000), QByteArray(0x1000, '\xFF'));
    EXPECT_EQ(decoder.Flash(0).Bytes().mid(0x6000, 0x2000), QByteArray(0x2000, '\0'));
    EXPECT_TRUE(loader.Verified(ParallelLoader::Command::DL));
    EXPECT_FALSE(loader.Verified(ParallelLoader::Command::FL));
}

TEST_F(LoaderTest, AWrongSumAShortLoadAndAByteTooManyAreNotVerified) {
    const QByteArray image("\x01\x02\x03\x04", 4);
    const QByteArray before = decoder.Flash(0).Bytes().left(4);
    loader.SetWrongSum(true);
    loader.Agree(ParallelLoader::Command::DL, 0x7FE00000, 4, Sum(image));
    Feed(image);
    loader.TransferOver();
    EXPECT_EQ(reports.last(), "$?C0\r");
    EXPECT_EQ(decoder.Flash(0).Bytes().left(4), before);  // nothing written
    loader.SetWrongSum(false);

    loader.Agree(ParallelLoader::Command::DL, 0x7FE00000, 4, Sum(image));
    Feed(image.left(3));
    loader.TransferOver();  // not all in: the loader still waits
    EXPECT_EQ(reports.size(), 1);
    EXPECT_FALSE(loader.Verified(ParallelLoader::Command::DL));

    loader.Agree(ParallelLoader::Command::DL, 0x7FE00000, 4, Sum(image));
    Feed(image + image.left(1));
    loader.TransferOver();
    EXPECT_EQ(reports.last(), "$?C0\r");
    EXPECT_FALSE(loader.Verified(ParallelLoader::Command::DL));
}

TEST_F(LoaderTest, AgreesToWhatFitsAndReportsOnItsOwnOnlyForDl) {
    EXPECT_FALSE(loader.Agree(ParallelLoader::Command::DL, 0x7FFFFFF0, 0x11, 0));  // past chip 1
    EXPECT_TRUE(loader.Agree(ParallelLoader::Command::DL, 0x7FFFFFF0, 0x10, 0));
    EXPECT_FALSE(loader.Agree(ParallelLoader::Command::PL, 0xFFF82000, 0x1000001, 0));
    EXPECT_TRUE(loader.Agree(ParallelLoader::Command::PL, 0xFFF82000, 2, 0x0003));
    Feed("\x01\x02");
    loader.TransferOver();
    EXPECT_TRUE(reports.isEmpty());
    EXPECT_TRUE(loader.Verified(ParallelLoader::Command::PL));
    EXPECT_EQ(loader.Received(), QByteArray("\x01\x02"));
    loader.SetRefuseLoads(true);
    EXPECT_FALSE(loader.Agree(ParallelLoader::Command::FL, 0x60000000, 1, 0));
}

TEST_F(LoaderTest, AnEmptyLoadIsDoneAsSoonAsTheHostEndsTheTransfer) {
    ASSERT_TRUE(loader.Agree(ParallelLoader::Command::DL, 0x7FE00000, 0, 0));
    loader.TransferOver();
    EXPECT_EQ(reports, (QList<QByteArray>{"$.C0\r"}));
    EXPECT_TRUE(loader.Verified(ParallelLoader::Command::DL));
}

// The firmware commands on the service port, in the texts the host sends.
TEST(ServiceModeFirmware, LoadQueryAndPortCheckLines) {
    SimulatedDecoder decoder;
    ServiceMode service(decoder);
    ParallelLoader loader(decoder);
    bool sound = true;
    EXPECT_EQ(service.Feed("%PR?C2"), (QList<QByteArray>{"$?C0\r"}));  // no loader: refused
    service.AttachLoader(&loader, [&] { return sound; });
    EXPECT_EQ(service.Feed("%PR?C2"), (QList<QByteArray>{"$.C0\r"}));
    sound = false;
    EXPECT_EQ(service.Feed("%PR?C2"), (QList<QByteArray>{"$?C0\r"}));
    const QByteArray load = "%DL=7FE000000000000200FF";
    EXPECT_EQ(service.Feed(load + ServiceMode::Checksum(load)), (QList<QByteArray>{"$.C0\r"}));
    EXPECT_EQ(service.Feed("%DL?C8"), (QList<QByteArray>{"$?C0\r"}));  // nothing came yet
    loader.Take(0x7F);
    loader.Take(0x80);
    loader.TransferOver();
    EXPECT_EQ(service.Feed("%DL?C8"), (QList<QByteArray>{"$.C0\r"}));
    EXPECT_EQ(service.Feed("%DL=7FE0000000000002"), (QList<QByteArray>{}));  // incomplete
    EXPECT_EQ(service.Flush(), (QList<QByteArray>{"$?C0\r"}));
    EXPECT_EQ(service.Feed("%DL=7fe000000000000200FF5A"), (QList<QByteArray>{"$?C0\r"}));
}

}  // namespace
}  // namespace velarix::sim
