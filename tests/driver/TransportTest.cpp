// Transport, register primitives and the device lock, checked cycle by cycle on the virtual
// instrument.
#include <signal.h>
#include <sys/time.h>

#include <chrono>

#include "DriverOnBench.h"

using q745vi::EventKind;
using q745vi::PortCycle;
using q745vi::UsbCall;

namespace {

class Transport : public DriverOnBench {};

class UsbTransport : public DriverOnBench {
protected:
    UsbTransport() : DriverOnBench("usb") {}
};

// A wait asleep is never shorter than asked, even when signals keep interrupting the sleep.
TEST(TransportWait, SignalsDoNotShortenAWait) {
    struct sigaction interrupt {};
    interrupt.sa_handler = [](int) {};  // no SA_RESTART: the sleep returns EINTR
    struct sigaction previous {};
    ASSERT_EQ(sigaction(SIGALRM, &interrupt, &previous), 0);
    itimerval every{{0, 300}, {0, 300}};
    ASSERT_EQ(setitimer(ITIMER_REAL, &every, nullptr), 0);
    for (int milliseconds : {1, 2, 5}) {
        const auto start = std::chrono::steady_clock::now();
        q745drv::Transport::waitAtLeast(milliseconds);
        EXPECT_GE(std::chrono::steady_clock::now() - start,
                  std::chrono::milliseconds(milliseconds));
    }
    itimerval off{};
    setitimer(ITIMER_REAL, &off, nullptr);
    sigaction(SIGALRM, &previous, nullptr);
}

TEST_F(Transport, UnknownInterfaceModeReportsModeMinusOneAndChangesNothing) {
    EXPECT_EQ(driver->setInterface(2), 1);
    EXPECT_EQ(driver->setInterface(7), 6);
    EXPECT_FALSE(driver->transport().usbMode());
    EXPECT_EQ(usbLibraries->loads, 0);
}

TEST_F(Transport, MissingUsbLibraryGivesOneAndKeepsTheParallelPort) {
    usbLibraries->installed = false;
    EXPECT_EQ(driver->setInterface(1), 1);
    EXPECT_FALSE(driver->transport().usbMode());
    EXPECT_EQ(driver->transport().usbLibrary(), nullptr);
}

TEST_F(Transport, UsbWithoutInstrumentGivesTwoAndUnloadsTheLibrary) {
    startRecording();
    EXPECT_EQ(driver->setInterface(1), 2);
    EXPECT_FALSE(driver->transport().usbMode());
    EXPECT_EQ(driver->transport().usbLibrary(), nullptr);
    const std::vector<UsbCall> expected = {{UsbCall::Kind::SetDllBehaviour, 1},
                                           {UsbCall::Kind::InitDevice}};
    EXPECT_EQ(bench->usb().calls(), expected);
}

TEST_F(UsbTransport, FailingInitDeviceGivesTwo) {
    bench->usb().setInitFails(true);
    EXPECT_EQ(driver->setInterface(1), 2);
    EXPECT_FALSE(driver->transport().usbMode());
}

TEST_F(UsbTransport, UnknownModeKeepsUsbAndModeZeroUnloads) {
    ASSERT_EQ(driver->setInterface(1), 0);
    EXPECT_EQ(driver->setInterface(2), 1);
    EXPECT_TRUE(driver->transport().usbMode());
    EXPECT_EQ(driver->setInterface(0), 0);
    EXPECT_FALSE(driver->transport().usbMode());
    EXPECT_EQ(driver->transport().usbLibrary(), nullptr);
    EXPECT_FALSE(bench->usb().ready());
}

TEST_F(UsbTransport, PortControlWritesDoNothingOverUsb) {
    ASSERT_EQ(driver->setInterface(1), 0);
    ASSERT_EQ(driver->initHardware(0), 1000);
    startRecording();
    driver->setEpbOn(1);
    const std::vector<UsbCall> enter = {{UsbCall::Kind::SetEpb}, {UsbCall::Kind::FlushBuffer}};
    EXPECT_EQ(bench->usb().calls(), enter);

    bench->usb().clearCalls();
    const auto start = std::chrono::steady_clock::now();
    driver->setEpbOn(0);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2));
    const std::vector<UsbCall> leave = {{UsbCall::Kind::FlushBuffer}};
    EXPECT_EQ(bench->usb().calls(), leave);
}

TEST_F(Transport, EnteringEppModeStrobesTheFlagByteAndSavesTheControlByteOnce) {
    ASSERT_EQ(driver->initHardware(0), 1000);
    driver->setEpbOn(0);  // forget the saved control byte
    startRecording();
    driver->setEpbOn(1);
    const std::vector<PortCycle> expected = {
        {PortCycle::Kind::PrepareEpp},     {PortCycle::Kind::Read, 2, 0x0C},
        {PortCycle::Kind::Write, 2, 0x0E}, {PortCycle::Kind::Write, 0, 0x7F},
        {PortCycle::Kind::Write, 2, 0x0F}, {PortCycle::Kind::Write, 2, 0x0E},
        {PortCycle::Kind::Write, 2, 0x04}, {PortCycle::Kind::Read, 1, 0x78},
    };
    EXPECT_EQ(cycles(), expected);
    EXPECT_TRUE(bench->parallelPort().connected());
    EXPECT_EQ(bench->parallelPort().mode(), 0);
    EXPECT_EQ(bench->parallelPort().timingViolations(), 0u);

    // A second entry does not read the control byte again.
    bench->parallelPort().clearCycles();
    driver->setEpbOn(1);
    EXPECT_EQ(cycles()[1], (PortCycle{PortCycle::Kind::Write, 2, 0x0E}));
}

TEST_F(Transport, LeavingEppModeReleasesThePortAndRestoresTheControlByte) {
    ASSERT_EQ(driver->initHardware(0), 1000);
    startRecording();
    driver->setEpbOn(0);
    EXPECT_EQ(portWrites(cycles(), 2), (std::vector<int>{0x0E, 0x0F, 0x0E, 0x04, 0x0C}));
    EXPECT_EQ(portWrites(cycles(), 0), (std::vector<int>{0xFE}));
    EXPECT_FALSE(bench->parallelPort().connected());
    EXPECT_EQ(bench->parallelPort().timingViolations(), 0u);

    // Register writes no longer reach the instrument while a printer has the port.
    driver->trigger().setGeneratorOn(0);
    EXPECT_TRUE(writes().empty());
    driver->setEpbOn(1);
    driver->trigger().setGeneratorOn(0);
    EXPECT_EQ(writes(), (std::vector<std::pair<int, int>>{{12, 0x40}}));
}

TEST_F(Transport, LeavingEppModeBeforeEnteringWritesControlByteZero) {
    startRecording();
    ASSERT_TRUE(driver->transport().openPortDriver());
    driver->transport().leaveEppMode();
    EXPECT_EQ(portWrites(cycles(), 2), (std::vector<int>{0x0E, 0x0F, 0x0E, 0x04, 0x00}));
}

TEST_F(Transport, SerialDacWordGoesOutMostSignificantBitFirst) {
    initialise();
    bench->parallelPort().clearCycles();
    driver->registers().writeDac(2, 2048);
    EXPECT_EQ(portWrites(cycles(), 3), (std::vector<int>{0x02}));
    std::vector<int> expected = {0x02, 0x03, 0x01, 0x02, 0x00, 0x02, 0x00, 0x02, 0x00, 0x03, 0x01};
    for (int i = 0; i < 11; ++i)
        expected.insert(expected.end(), {0x02, 0x00});
    expected.push_back(0x0A);
    EXPECT_EQ(portWrites(cycles(), 4), expected);
    const auto dacs = eventsOf(events(), EventKind::Dac);
    ASSERT_EQ(dacs.size(), 1u);
    EXPECT_EQ(dacs[0].address, 2);
    EXPECT_EQ(dacs[0].value, 2048);
}

TEST_F(Transport, DacKeepsOnlyTheLowTwelveBitsOfTheCode) {
    initialise();
    driver->registers().writeDac(1, 4096);
    driver->registers().writeDac(3, -1);
    EXPECT_EQ(instrument().state().dacCodes, (std::array<int, 4>{2048, 0, 2048, 4095}));
    EXPECT_EQ(instrument().counters().protocolErrors, 0u);
}

TEST_F(Transport, SwitchRegisterShiftsEightBitsAndLatches) {
    initialise();
    bench->parallelPort().clearCycles();
    driver->registers().writeSwitchRegister(0xA5);
    EXPECT_EQ(portWrites(cycles(), 4),
              (std::vector<int>{2, 3, 0, 1, 2, 3, 0, 1, 0, 1, 2, 3, 0, 1, 2, 3, 0}));
    EXPECT_EQ(instrument().state().switchImage, 0xA5);
    EXPECT_EQ(driver->state().shadow[16], 0xA5);
}

class HighestIndex : public DriverOnBench {
protected:
    HighestIndex() : DriverOnBench("parallel:15") {}
};

TEST_F(HighestIndex, RegisterTwelveOfDeviceFifteenIsAddressFC) {
    initialise(15);
    bench->parallelPort().clearCycles();
    driver->trigger().setGeneratorOn(1);
    EXPECT_EQ(portWrites(cycles(), 3), (std::vector<int>{0xFC}));
    EXPECT_EQ(writes(), (std::vector<std::pair<int, int>>{{12, 0xC0}}));
}

TEST_F(Transport, DeviceLockIsReentrantAndReleasesOnlyWhatItHolds) {
    // Before InitHardware there is no lock: the wait returns at once, the release fails.
    EXPECT_EQ(driver->trigger().setGeneratorOn(1), 0);
    ASSERT_EQ(driver->initHardware(0), 1000);
    q745drv::RegisterAccess& registers = driver->registers();
    registers.acquireDevice();
    registers.acquireDevice();
    EXPECT_EQ(driver->lock().depth(), 2);
    EXPECT_EQ(registers.releaseDevice(), 1);
    EXPECT_EQ(registers.releaseDevice(), 1);
    EXPECT_EQ(registers.releaseDevice(), 0);
    EXPECT_EQ(driver->trigger().setGeneratorOn(1), 1);
    EXPECT_EQ(driver->lock().depth(), 0);
}

TEST_F(Transport, LockThatCannotBeCreatedGives1012WithoutTouchingTheInstrument) {
    lockFile = std::filesystem::temp_directory_path() / "q745-missing-folder" / "EPP_KELVO_MUTEX";
    reconnect();
    startRecording();
    EXPECT_EQ(driver->initHardware(0), 1012);
    EXPECT_TRUE(cycles().empty());
    EXPECT_EQ(portDrivers->opens, 0);
}

TEST_F(Transport, LockFileDefaultsToTheRuntimeFolder) {
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string savedValue = saved != nullptr ? saved : "";
    ::setenv("XDG_RUNTIME_DIR", "/run/q745-test", 1);
    EXPECT_EQ(q745drv::DeviceLock::defaultPath(), "/run/q745-test/EPP_KELVO_MUTEX");
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(q745drv::DeviceLock::defaultPath().filename(), "EPP_KELVO_MUTEX");
    EXPECT_NE(q745drv::DeviceLock::defaultPath().parent_path(), "/run/q745-test");
    if (saved != nullptr) ::setenv("XDG_RUNTIME_DIR", savedValue.c_str(), 1);
}

TEST_F(Transport, TransportExportsNeedNoInstrument) {
    EXPECT_EQ(driver->setPrinterBase(0x278), 0x278);
    EXPECT_EQ(driver->state().printerBase, 0x278);
    EXPECT_EQ(driver->setPrinterBase(0x12345), 0x2345);
    EXPECT_EQ(q745drv::Driver::versionCode(), 'N');
}

}  // namespace
