// InitHardware, calibration, the device list and driver versions on the virtual instrument.
#include <set>

#include "DriverOnBench.h"

using q745vi::EventKind;
using Writes = std::vector<std::pair<int, int>>;

namespace {

class Initialisation : public DriverOnBench {};

TEST_F(Initialisation, ConfiguresSetsDefaultsAndCalibrates) {
    startRecording();
    EXPECT_EQ(driver->initHardware(0), 1000);
    EXPECT_TRUE(instrument().configured());

    const auto configurations = eventsOf(events(), EventKind::Configuration);
    ASSERT_EQ(configurations.size(), 1u);
    EXPECT_EQ(configurations[0].length, 6873);
    EXPECT_EQ(configurations[0].value, 1);

    // The defaults, in order, after the configuration.
    Writes defaults;
    bool configured = false;
    for (const auto& event : events()) {
        if (event.kind == EventKind::Configuration) configured = true;
        if (configured && event.kind == EventKind::Write && event.reg >= 3)
            defaults.emplace_back(event.reg, static_cast<int>(event.value));
    }
    const Writes expected = {{3, 0xFF}, {4, 0xFF}, {5, 0xFF},  {6, 0x3F}, {7, 0x00},
                             {8, 0x00}, {9, 0x01}, {10, 0x00}, {12, 0xC0}};
    EXPECT_EQ(defaults, expected);

    const q745vi::InstrumentState state = instrument().state();
    EXPECT_EQ(state.switchImage, 0x11);
    EXPECT_EQ(state.dacCodes, (std::array<int, 4>{2048, 2048, 2048, 2048}));
    EXPECT_EQ(state.synthesiserCode, 65535);
    EXPECT_EQ(state.divider, 1);
    EXPECT_EQ(state.endAddress, 16383u);
    EXPECT_TRUE(state.running);
    EXPECT_EQ(state.counters.timingViolations, 0u);
    EXPECT_EQ(state.counters.protocolErrors, 0u);
    EXPECT_EQ(state.counters.ignoredWrites, 0u);

    // The 32 words for the checksum, then the table's words again.
    std::vector<int> addresses;
    for (const auto& event : eventsOf(events(), EventKind::CalibrationRead))
        addresses.push_back(event.address);
    std::vector<int> expectedAddresses;
    for (int a = 0; a < 32; ++a)
        expectedAddresses.push_back(a);
    for (int a = 10; a <= 30; ++a) {
        if (a != 21) expectedAddresses.push_back(a);
    }
    EXPECT_EQ(addresses, expectedAddresses);
}

TEST_F(Initialisation, ConfigurationStartWaitsForTheLogic) {
    startRecording();
    ASSERT_EQ(driver->initHardware(0), 1000);
    const auto starts = eventsOf(events(), EventKind::ConfigurationStart);
    const auto loads = eventsOf(events(), EventKind::Configuration);
    ASSERT_EQ(starts.size(), 2u);
    ASSERT_EQ(loads.size(), 1u);
    EXPECT_EQ(starts[0].value, 0x24);
    EXPECT_EQ(starts[1].value, 0xA4);
    EXPECT_GE(starts[1].microseconds - starts[0].microseconds, 2000);
    EXPECT_GE(loads[0].microseconds - starts[1].microseconds, 2000);
}

TEST_F(Initialisation, CalibrationFromTheInstrumentReplacesTheDefaults) {
    q745vi::CalibrationMemory& memory = instrument().calibration();
    memory.setWord(15, 2900);  // level high, A normal
    memory.setWord(23, 2001);  // shift off, B
    memory.setOscillator(40000000);
    ASSERT_EQ(driver->initHardware(0), 1000);
    const q745drv::CalibrationTable& table = driver->state().calibration;
    EXPECT_EQ(table.levelHigh[2], 2900);
    EXPECT_EQ(table.shiftOff[1], 2001);
    EXPECT_EQ(table.oscillatorFrequency, 40000000.0f);
    EXPECT_EQ(table.halfOscillator, 20000000.0f);
    EXPECT_EQ(driver->oscillatorFrequency(), 40000000.0f);
}

TEST_F(Initialisation, OscillatorWordPairOf50MHz) {
    q745vi::CalibrationMemory& memory = instrument().calibration();
    memory.setWord(19, 0x02FA);
    memory.setWord(20, 0xF080);
    memory.sealChecksum();
    memory.setOscillator(12345678);  // make the driver's table differ from the defaults first
    ASSERT_EQ(driver->initHardware(0), 1000);
    ASSERT_EQ(driver->oscillatorFrequency(), 12345678.0f);
    memory.setWord(19, 0x02FA);
    memory.setWord(20, 0xF080);
    memory.sealChecksum();
    ASSERT_EQ(driver->initHardware(0), 1000);
    EXPECT_EQ(driver->oscillatorFrequency(), 50000000.0f);
    EXPECT_EQ(driver->state().calibration.halfOscillator, 25000000.0f);
}

TEST_F(Initialisation, AnyWordOffByOneGives999AndKeepsTheTable) {
    for (int address : {0, 9, 10, 19, 21, 30, 31}) {
        SCOPED_TRACE(address);
        instrument().calibration() = q745vi::CalibrationMemory();
        instrument().calibration().setWord(16, 300);  // level low, A normal
        instrument().calibration().sealChecksum();
        ASSERT_EQ(driver->initHardware(0), 1000);
        ASSERT_EQ(driver->state().calibration.levelLow[2], 300);

        q745vi::CalibrationMemory& memory = instrument().calibration();
        memory.setWord(16, 301);
        memory.sealChecksum();
        memory.setWord(address, static_cast<std::uint16_t>(memory.word(address) + 1));
        EXPECT_EQ(driver->initHardware(0), 999);
        EXPECT_EQ(driver->state().calibration.levelLow[2], 300);
        // The instrument is configured and at its defaults all the same.
        EXPECT_TRUE(instrument().configured());
        EXPECT_EQ(instrument().state().switchImage, 0x11);
    }
}

TEST_F(Initialisation, FactoryChecksumIsTheSumOfWordsPlusOne) {
    const q745vi::CalibrationMemory memory;
    unsigned sum = 0;
    for (int a = 0; a < 32; ++a) {
        if (a != 21) sum += memory.word(a) + 1u;
    }
    EXPECT_EQ(memory.word(21), sum % 65536);
    EXPECT_EQ(memory.word(19), 0x02FA);
    EXPECT_EQ(memory.word(20), 0xF080);
}

TEST_F(Initialisation, WrongModelGives1011AndResetsThePort) {
    instrument().faults().modelId = 0x31;
    startRecording();
    EXPECT_EQ(driver->initHardware(0), 1011);
    ASSERT_GE(cycles().size(), 4u);
    const std::vector<q745vi::PortCycle> tail(cycles().end() - 4, cycles().end());
    const std::vector<q745vi::PortCycle> expected = {{q745vi::PortCycle::Kind::Write, 0, 0xFF},
                                                     {q745vi::PortCycle::Kind::Write, 2, 0x04},
                                                     {q745vi::PortCycle::Kind::Write, 1, 0xFF},
                                                     {q745vi::PortCycle::Kind::Read, 1, 0x78}};
    EXPECT_EQ(tail, expected);
    EXPECT_FALSE(instrument().configured());
}

class NoInstrument : public DriverOnBench {
protected:
    NoInstrument() : DriverOnBench("none") {}
};

TEST_F(NoInstrument, InitHardwareGives1011AndTheListIsEmpty) {
    EXPECT_EQ(driver->initHardware(0), 1011);
    std::array<std::uint8_t, 16> list;
    list.fill(0xEE);
    EXPECT_EQ(driver->getAllDevices(list.data()), 1);
    EXPECT_EQ(list, (std::array<std::uint8_t, 16>{}));
}

TEST_F(Initialisation, CommunicationFailingInBothModesGives1010) {
    instrument().faults().failingCommunicationModes = 0b11;
    startRecording();
    EXPECT_EQ(driver->initHardware(0), 1010);
    EXPECT_FALSE(instrument().configured());
    // Put back into EPP mode with flag 0 before the release.
    const auto modes = eventsOf(events(), EventKind::PortMode);
    ASSERT_FALSE(modes.empty());
    EXPECT_EQ(modes.back().value, 1);
    EXPECT_EQ(modes.back().address, 0);
    EXPECT_EQ(driver->lock().depth(), 0);
}

TEST_F(Initialisation, CommunicationTestTriesTheSecondPortMode) {
    instrument().faults().failingCommunicationModes = 0b01;
    startRecording();
    EXPECT_EQ(driver->initHardware(0), 1000);
    const auto modes = eventsOf(events(), EventKind::PortMode);
    std::vector<int> entered;
    for (const auto& mode : modes)
        entered.push_back(mode.address);
    // Identification in mode 0, the failed attempt in 0, the passing one in 1, configuration in 0.
    EXPECT_EQ(entered, (std::vector<int>{0, 0, 1, 0}));
}

TEST_F(Initialisation, CommunicationTestWritesRandomBytesAndReadsTheirComplements) {
    startRecording();
    ASSERT_EQ(driver->initHardware(0), 1000);
    int serialWrites = 0;
    std::set<int> values;
    for (const auto& [reg, value] : writes()) {
        if (reg != 1) continue;
        ++serialWrites;
        values.insert(value);
    }
    // 0xAA of the identification, 0xAA and 0x55, 1024 pseudo-random bytes, then the switch
    // register's 17 writes.
    EXPECT_EQ(serialWrites, 1 + 2 + 1024 + 17);
    EXPECT_GT(values.size(), 200u);
}

TEST_F(Initialisation, ConfigurationThatNeverCompletesGives1002) {
    instrument().faults().configurationNeverCompletes = true;
    EXPECT_EQ(driver->initHardware(0), 1002);
    EXPECT_FALSE(instrument().configured());
    EXPECT_EQ(driver->lock().depth(), 0);
}

TEST_F(Initialisation, PortDriverThatCannotOpenGives1013AndIsTriedAgain) {
    bench->parallelPort().setOpenFails(true);
    EXPECT_EQ(driver->initHardware(0), 1013);
    EXPECT_EQ(driver->lock().depth(), 0);
    std::array<std::uint8_t, 16> list{};
    EXPECT_EQ(driver->getAllDevices(list.data()), -1);
    EXPECT_EQ(portDrivers->opens, 2);
    bench->parallelPort().setOpenFails(false);
    EXPECT_EQ(driver->initHardware(0), 1000);
    EXPECT_EQ(portDrivers->opens, 3);
    // Open for good now.
    EXPECT_EQ(driver->initHardware(0), 1000);
    EXPECT_EQ(portDrivers->opens, 3);
}

TEST_F(Initialisation, ChannelAndRunSettingsSurviveInitialisation) {
    initialise();
    driver->analog().setChannelOn(0, 0);
    driver->analog().setOutput(1, 0);
    driver->analog().setLevel(1, 1000);
    driver->trigger().setGeneratorOn(0);
    ASSERT_EQ(driver->initHardware(0), 1000);
    EXPECT_EQ(driver->state().channelOn[0], 0);
    EXPECT_EQ(driver->state().outputPath[1], 0);
    EXPECT_EQ(driver->state().levelValue[1], 1000);
    EXPECT_EQ(driver->state().runBits, 0);
    // The instrument itself is back at its defaults: register 12 runs.
    EXPECT_TRUE(instrument().state().running);
}

class InstrumentAtThree : public DriverOnBench {
protected:
    InstrumentAtThree() : DriverOnBench("parallel:3") {}
};

TEST_F(InstrumentAtThree, DeviceListFindsItAndRestoresTheOffset) {
    std::array<std::uint8_t, 16> list;
    list.fill(0xEE);
    EXPECT_EQ(driver->getAllDevices(list.data()), 0);  // no lock before InitHardware
    std::array<std::uint8_t, 16> expected{};
    expected[3] = 0x30;
    EXPECT_EQ(list, expected);
    EXPECT_EQ(driver->state().deviceOffset, 0);

    ASSERT_EQ(driver->initHardware(3), 1000);
    list.fill(0xEE);
    EXPECT_EQ(driver->getAllDevices(list.data()), 1);
    EXPECT_EQ(list, expected);
    EXPECT_EQ(driver->state().deviceOffset, 0x30);
    // Register access still goes to device 3.
    startRecording();
    driver->trigger().setGeneratorOn(1);
    EXPECT_EQ(portWrites(cycles(), 3), (std::vector<int>{0x3C}));
}

TEST_F(InstrumentAtThree, OtherIndicesDoNotAnswerAndTheOffsetWrapsAt256) {
    EXPECT_EQ(driver->initHardware(0), 1011);
    EXPECT_EQ(driver->initHardware(4), 1011);
    // 19 x 16 = 0x130: the offset keeps its low byte, which is device 3's.
    EXPECT_EQ(driver->initHardware(19), 1000);
    EXPECT_EQ(driver->state().deviceOffset, 0x30);
}

class TwoInstruments : public DriverOnBench {
protected:
    TwoInstruments() : DriverOnBench("parallel:0,parallel:9") {}
};

TEST_F(TwoInstruments, EachAnswersOnlyAtItsIndex) {
    std::array<std::uint8_t, 16> list{};
    driver->getAllDevices(list.data());
    EXPECT_EQ(list[0], 0x30);
    EXPECT_EQ(list[9], 0x30);
    ASSERT_EQ(driver->initHardware(9), 1000);
    EXPECT_TRUE(instrument(9).configured());
    EXPECT_FALSE(instrument(0).configured());
}

TEST_F(Initialisation, NullDeviceListIsRefusedWithoutRegisterAccess) {
    ASSERT_EQ(driver->initHardware(0), 1000);
    startRecording();
    EXPECT_EQ(driver->getAllDevices(nullptr), 0);
    EXPECT_TRUE(cycles().empty());
}

TEST_F(Initialisation, PortDriverVersion) {
    bench->parallelPort().setDriverVersion(2, 7);
    std::uint8_t version[2] = {0, 0};
    EXPECT_EQ(driver->getDriverVersion(0, version), 1);
    EXPECT_EQ(version[0], 2);
    EXPECT_EQ(version[1], 7);
    // Opened for the call only.
    EXPECT_FALSE(driver->transport().portDriverOpen());
    EXPECT_EQ(bench->parallelPort().openHandles(), 0);

    bench->parallelPort().setVersionCallFails(true);
    EXPECT_EQ(driver->getDriverVersion(5, version), 1);
    EXPECT_EQ(version[0], 1);
    EXPECT_EQ(version[1], 0);

    bench->parallelPort().setOpenFails(true);
    EXPECT_EQ(driver->getDriverVersion(-1, version), 3);
    EXPECT_EQ(driver->getDriverVersion(0, nullptr), 3);
}

TEST_F(Initialisation, PortDriverStaysOpenAfterItsVersionIsAsked) {
    ASSERT_EQ(driver->initHardware(0), 1000);
    std::uint8_t version[2] = {0, 0};
    EXPECT_EQ(driver->getDriverVersion(0, version), 1);
    EXPECT_TRUE(driver->transport().portDriverOpen());
    EXPECT_EQ(bench->parallelPort().openHandles(), 1);
}

TEST_F(Initialisation, UsbLibraryVersion) {
    std::uint8_t version[2] = {0, 0};
    bench->usb().setDriverVersion(1, 4);
    EXPECT_EQ(driver->getDriverVersion(1, version), 2);
    EXPECT_EQ(version[0], 1);
    EXPECT_EQ(version[1], 4);
    EXPECT_EQ(driver->transport().usbLibrary(), nullptr);  // loaded for the call only

    usbLibraries->withVersion = false;
    EXPECT_EQ(driver->getDriverVersion(1, version), 2);
    EXPECT_EQ(version[0], 1);
    EXPECT_EQ(version[1], 0);

    usbLibraries->installed = false;
    EXPECT_EQ(driver->getDriverVersion(1, version), 3);
}

class UsbInstrument : public DriverOnBench {
protected:
    UsbInstrument() : DriverOnBench("usb") {}
};

TEST_F(UsbInstrument, InitialisesWithoutTheCommunicationTest) {
    ASSERT_EQ(driver->setInterface(1), 0);
    startRecording();
    EXPECT_EQ(driver->initHardware(0), 1000);
    int serialWrites = 0;
    for (const auto& [reg, value] : writes())
        serialWrites += reg == 1 ? 1 : 0;
    EXPECT_EQ(serialWrites, 1 + 17);  // the identification's 0xAA and the switch register
    const q745vi::InstrumentState state = instrument().state();
    EXPECT_TRUE(state.configured);
    EXPECT_EQ(state.counters.timingViolations, 0u);
    EXPECT_EQ(bench->usb().pendingCycles(), 0u);

    std::uint8_t version[2] = {0, 0};
    EXPECT_EQ(driver->getDriverVersion(-1, version), 2);
    EXPECT_NE(driver->transport().usbLibrary(), nullptr);  // still the transport
}

TEST_F(UsbInstrument, DeviceListOverUsb) {
    ASSERT_EQ(driver->setInterface(1), 0);
    std::array<std::uint8_t, 16> list{};
    driver->getAllDevices(list.data());
    std::array<std::uint8_t, 16> expected{};
    expected[0] = 0x30;
    EXPECT_EQ(list, expected);
}

}  // namespace
