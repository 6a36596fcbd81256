#include <gtest/gtest.h>

#include <QStringList>
#include <map>
#include <vector>

#include "lpt/gwiopm_driver.h"
#include "lpt/linux_driver_platform.h"
#include "lpt/port_access.h"

namespace velarix {
namespace {

// A service manager, driver service and permission-map device that record
// every call and answer with the codes a test lines up (0 otherwise).
struct RecordingPlatform : DriverPlatform {
    QStringList calls;
    std::map<QString, std::uint32_t> results;  // by call name
    std::vector<std::uint8_t> map = std::vector<std::uint8_t>(8192, 0xFF);

    std::uint32_t Result(const QString& name) {
        const auto it = results.find(name);
        return it == results.end() ? 0 : it->second;
    }
    static QString Hex(std::uint32_t value) { return QString::number(value, 16).toUpper(); }

    std::uint32_t OpenServiceManager(std::uint32_t access) override {
        calls << "OpenServiceManager " + Hex(access);
        return Result("OpenServiceManager");
    }
    void CloseServiceManager() override { calls << "CloseServiceManager"; }
    std::uint32_t CreateService(const QString& name, const QString& display, std::uint32_t access,
                                std::uint32_t type, std::uint32_t start, std::uint32_t error,
                                const QString& binary) override {
        calls << QStringLiteral("CreateService %1 %2 %3 %4 %5 %6 %7")
                     .arg(name, display, Hex(access))
                     .arg(type)
                     .arg(start)
                     .arg(error)
                     .arg(binary);
        return Result("CreateService");
    }
    std::uint32_t StartService(const QString& name) override {
        calls << "StartService " + name;
        return Result("StartService");
    }
    std::uint32_t ControlService(const QString& name, std::uint32_t control) override {
        calls << QStringLiteral("ControlService %1 %2").arg(name).arg(control);
        return Result("ControlService");
    }
    std::uint32_t DeleteService(const QString& name) override {
        calls << "DeleteService " + name;
        return Result("DeleteService");
    }
    std::uint32_t OpenDevice(const QString& path) override {
        calls << "OpenDevice " + path;
        return Result("OpenDevice");
    }
    void CloseDevice() override { calls << "CloseDevice"; }
    // The map device as the requests describe it: the index in the first
    // word, the value in the low byte of the second; a read answers in the
    // low byte of the second output word.
    std::uint32_t DeviceIoControl(std::uint32_t code, const RequestBuffer& in,
                                  RequestBuffer& out) override {
        const std::uint32_t index = in[0] | in[1] << 8 | in[2] << 16 | in[3] << 24;
        if (code == 0xF1002448) {
            calls << "Read " + Hex(index);
            out[4] = map[index];
            return Result("Read");
        }
        if (code == 0xF1002444) {
            calls << "Write " + Hex(index) + " " + Hex(in[4]);
            if (!Result("Write")) map[index] = in[4];
            return Result("Write");
        }
        calls << "Apply " + Hex(code);
        return Result("Apply");
    }
};

struct DriverTest : ::testing::Test {
    RecordingPlatform platform;
    TGWIOPM_Driver driver{platform, "C:\\Velarix\\"};

    void OpenDeviceQuietly() {
        ASSERT_EQ(driver.OpenDevice(), 0u);
        platform.calls.clear();
    }
};

TEST_F(DriverTest, AllowingTheFirstRangeOf378ReadsAndWritesMapByte6FOnce) {
    OpenDeviceQuietly();
    EXPECT_EQ(driver.SetPortRangeAccess(0x378, 0x37A, true), 0u);
    EXPECT_EQ(platform.calls, (QStringList{"Read 6F", "Write 6F F8"}));  // bits 0, 1, 2 cleared
}

TEST_F(DriverTest, AllowingTheFirstRangeOf3BCClearsBitsFourToSixOfByte77) {
    OpenDeviceQuietly();
    EXPECT_EQ(driver.SetPortRangeAccess(0x3BC, 0x3BE, true), 0u);
    EXPECT_EQ(platform.calls, (QStringList{"Read 77", "Write 77 8F"}));
}

TEST_F(DriverTest, ARangeAcrossAMultipleOfEightReadsAndWritesEachByteOnce) {
    OpenDeviceQuietly();
    platform.map[0x6F] = 0x00;  // the other bits keep what the map held
    EXPECT_EQ(driver.SetPortRangeAccess(0x37E, 0x381, false), 0u);
    EXPECT_EQ(platform.calls, (QStringList{"Read 6F", "Write 6F C0", "Read 70", "Write 70 FF"}));
    platform.calls.clear();
    EXPECT_EQ(driver.SetPortRangeAccess(0x37E, 0x381, true), 0u);
    EXPECT_EQ(platform.calls, (QStringList{"Read 6F", "Write 6F 0", "Read 70", "Write 70 FC"}));
}

TEST_F(DriverTest, AnEmptyRangeMakesNoCall) {
    OpenDeviceQuietly();
    EXPECT_EQ(driver.SetPortRangeAccess(0x37A, 0x378, true), 0u);
    EXPECT_TRUE(platform.calls.isEmpty());
}

TEST_F(DriverTest, AFailingReadStopsTheRangeWithItsCode) {
    OpenDeviceQuietly();
    platform.results["Read"] = 31;
    EXPECT_EQ(driver.SetPortRangeAccess(0x378, 0x37A, true), 31u);
    EXPECT_EQ(platform.calls, (QStringList{"Read 6F"}));
}

TEST_F(DriverTest, APermissionRequestWithTheDeviceClosedGives9997AndNoCall) {
    std::uint8_t value = 0;
    EXPECT_EQ(driver.ReadPermissionByte(0x6F, value), 9997u);
    EXPECT_EQ(driver.WritePermissionByte(0x6F, 0), 9997u);
    EXPECT_EQ(driver.ApplyPermissionMap(), 9997u);
    EXPECT_EQ(driver.SetPortRangeAccess(0x378, 0x37A, true), 9997u);
    EXPECT_TRUE(platform.calls.isEmpty());
}

TEST_F(DriverTest, AServiceManagerThatDoesNotOpenGives9998) {
    platform.results["OpenServiceManager"] = 5;
    EXPECT_EQ(driver.OpenServiceManager(), 9998u);
    EXPECT_FALSE(driver.ServiceManagerOpen());
}

TEST_F(DriverTest, InstallingWithAPathTakesItsFolderAndName) {
    driver.InstallDriver("D:\\drivers\\other.sys");
    EXPECT_EQ(driver.DriverFolder(), "D:\\drivers\\");
    EXPECT_EQ(driver.DriverName(), "other");
    EXPECT_EQ(driver.DriverFile(), "D:\\drivers\\other.sys");
    driver.InstallDriver();
    EXPECT_EQ(driver.DriverFile(), "C:\\Velarix\\gwiopm.sys");
}

// The seven steps of opening and the seven of closing, as the driver's
// description lists them, for the port at 378h.
const QStringList kOpenCalls{
    "OpenServiceManager F003F",
    "CreateService gwiopm gwiopm F01FF 1 3 1 C:\\Velarix\\gwiopm.sys",
    "StartService gwiopm",
    "OpenDevice \\\\.\\gwiopm",
    "Read 6F",
    "Write 6F F8",
    "Read EF",
    "Write EF F8",
    "Apply F1002480",
};

TEST_F(DriverTest, OpeningAccessRunsTheSevenStepsInOrder) {
    EXPECT_TRUE(OpenPortAccess(driver, 0x378, 0x778));
    EXPECT_EQ(platform.calls, kOpenCalls);
    platform.calls.clear();
    EXPECT_TRUE(ClosePortAccess(driver, 0x378, 0x778));
    EXPECT_EQ(platform.calls,
              (QStringList{"Read EF", "Write EF FF", "Read 6F", "Write 6F FF", "Apply F1002480",
                           "CloseDevice", "ControlService gwiopm 1", "ControlService gwiopm 1",
                           "DeleteService gwiopm", "CloseServiceManager"}));
}

TEST_F(DriverTest, AServiceAlreadyInstalledAndRunningStillOpens) {
    platform.results["CreateService"] = 1073;
    platform.results["StartService"] = 1056;
    EXPECT_TRUE(OpenPortAccess(driver, 0x378, 0x778));
    EXPECT_EQ(platform.calls, kOpenCalls);
}

TEST_F(DriverTest, AFailedStepFailsTheOpeningButEveryStepStillRuns) {
    platform.results["OpenServiceManager"] = 5;
    EXPECT_FALSE(OpenPortAccess(driver, 0x378, 0x778));
    EXPECT_EQ(platform.calls, kOpenCalls);
    platform.calls.clear();
    platform.results.clear();
    platform.results["CreateService"] = 2;  // the driver file is missing
    EXPECT_FALSE(OpenPortAccess(driver, 0x378, 0x778));
}

TEST_F(DriverTest, ADeviceThatDoesNotOpenLeavesThePermissionStepsWithoutCalls) {
    platform.results["OpenDevice"] = 2;
    EXPECT_FALSE(OpenPortAccess(driver, 0x378, 0x778));
    EXPECT_EQ(platform.calls, kOpenCalls.mid(0, 4));
}

// A port whose backend reaches its registers without preparation (the
// family that needs no driver) touches no driver at all.
TEST(PortAccess, APortWithoutDriverNeedsNoPreparation) {
    struct PlainPort : ParallelPort {
        std::uint8_t In(std::uint16_t) override { return 0; }
        void Out(std::uint16_t, std::uint8_t) override {}
    } port;
    EXPECT_TRUE(OpenPortAccess(port, 0x378, 0x778));
    EXPECT_TRUE(ClosePortAccess(port, 0x378, 0x778));
    EXPECT_TRUE(PortAccessFailure(port).isEmpty());
}

// On Linux starting the driver claims the port and the map is applied with
// ioperm, one call per run of ports that changed.
TEST(LinuxDriverPlatformTest, ClaimsOnStartAndAppliesTheMapWithIoperm) {
    QStringList calls;
    LinuxDriverPlatform platform(
        {[&] {
             calls << "claim";
             return 0u;
         },
         [&] { calls << "release"; },
         [&](std::uint32_t from, std::uint32_t count, bool on) {
             calls << QStringLiteral("ioperm %1 %2 %3").arg(from, 0, 16).arg(count).arg(on);
             return 0u;
         },
         {}});
    TGWIOPM_Driver driver(platform, QString());
    EXPECT_TRUE(OpenPortAccess(driver, 0x378, 0x778));
    EXPECT_EQ(calls, (QStringList{"claim", "ioperm 378 3 1", "ioperm 778 3 1"}));
    EXPECT_TRUE(platform.IsOpen(0x37A));
    EXPECT_FALSE(platform.IsOpen(0x37B));
    calls.clear();
    ClosePortAccess(driver, 0x378, 0x778);
    EXPECT_EQ(calls, (QStringList{"ioperm 378 3 0", "ioperm 778 3 0", "release"}));
    EXPECT_FALSE(platform.IsOpen(0x378));
}

TEST(LinuxDriverPlatformTest, AFailingClaimOrIopermIsToldInTheProgramsWords) {
    LinuxDriverPlatform platform(
        {[] { return 16u; }, [] {}, [](std::uint32_t, std::uint32_t, bool) { return 1u; },
         [](std::uint32_t code, bool claiming) {
             return QStringLiteral("%1 %2").arg(claiming ? "claim" : "ioperm").arg(code);
         }});
    TGWIOPM_Driver driver(platform, QString());
    EXPECT_FALSE(OpenPortAccess(driver, 0x378, 0x778));
    EXPECT_EQ(platform.FailureText(), "claim 16");  // the first failure is the one told
    EXPECT_FALSE(platform.IsOpen(0x378));
    LinuxDriverPlatform direct({{},
                                {},
                                [](std::uint32_t, std::uint32_t, bool) { return 1u; },
                                [](std::uint32_t code, bool) { return QString::number(code); }});
    TGWIOPM_Driver directDriver(direct, QString());
    EXPECT_FALSE(OpenPortAccess(directDriver, 0x378, 0x778));
    EXPECT_EQ(direct.FailureText(), "1");
}

}  // namespace
}  // namespace velarix
