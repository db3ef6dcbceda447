#include "HardwareInitialisation.h"

namespace q745drv {

namespace {

constexpr int kCalibrationWords = 32;
constexpr int kChecksumWord = 21;
constexpr int kCommunicationRounds = 1024;

// Calibration memory layout: for each word its field and calibration set (or channel).
enum class CalibrationField { ShiftHigh, ShiftOff, ShiftLow, LevelHigh, LevelLow };
struct CalibrationWord {
    int address;
    CalibrationField field;
    int index;
};
constexpr CalibrationWord kCalibrationLayout[] = {
    {10, CalibrationField::ShiftHigh, 2}, {11, CalibrationField::ShiftOff, 0},
    {12, CalibrationField::ShiftLow, 2},  {13, CalibrationField::ShiftHigh, 0},
    {14, CalibrationField::ShiftLow, 0},  {15, CalibrationField::LevelHigh, 2},
    {16, CalibrationField::LevelLow, 2},  {17, CalibrationField::LevelHigh, 0},
    {18, CalibrationField::LevelLow, 0},  {22, CalibrationField::ShiftHigh, 3},
    {23, CalibrationField::ShiftOff, 1},  {24, CalibrationField::ShiftLow, 3},
    {25, CalibrationField::ShiftHigh, 1}, {26, CalibrationField::ShiftLow, 1},
    {27, CalibrationField::LevelHigh, 3}, {28, CalibrationField::LevelLow, 3},
    {29, CalibrationField::LevelHigh, 1}, {30, CalibrationField::LevelLow, 1},
};
constexpr int kOscillatorHighWord = 19;
constexpr int kOscillatorLowWord = 20;

// The communication test's pseudo-random bytes (xorshift; any sequence will do).
class TestPattern {
public:
    std::uint8_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<std::uint8_t>(state_ >> 24);
    }

private:
    std::uint32_t state_ = 0x2545F491u;
};

}  // namespace

std::uint8_t HardwareInitialisation::readDeviceId() {
    registers_.selectRegister(kIdentification);
    registers_.writeDataByte(0x80);
    const std::uint8_t id = registers_.readDataByte();
    registers_.writeDataByte(0x84);
    registers_.selectRegister(kSerialSwitch);
    registers_.writeDataByte(0xAA);
    if (registers_.readDataByte() != 0x55) return 0xFF;
    return id;
}

std::int32_t HardwareInitialisation::initHardware(std::int32_t deviceIndex) {
    Transport& transport = registers_.transport();
    DriverState& state = registers_.state();
    if (!registers_.lock().create()) return kLockUnavailable;
    registers_.acquireDevice();
    if (!transport.usbMode() && !transport.openPortDriver()) {
        registers_.releaseDevice();
        return kPortDriverUnavailable;
    }
    state.deviceOffset = static_cast<std::uint8_t>(static_cast<std::uint32_t>(deviceIndex) * 16u);

    transport.enterEppMode(false);
    if (readDeviceId() != kModelId) {
        transport.resetPort();
        registers_.releaseDevice();
        return kNoInstrument;
    }
    if (!communicationTest()) {
        transport.enterEppMode(false);
        registers_.releaseDevice();
        return kCommunicationFailed;
    }
    if (!loadConfiguration()) {
        registers_.releaseDevice();
        return kConfigurationIncomplete;
    }
    writeDefaults();
    if (!readCalibration()) {
        registers_.releaseDevice();
        return kCalibrationChecksumMismatch;
    }
    registers_.releaseDevice();
    return kInitialised;
}

bool HardwareInitialisation::communicationTest() {
    // Over USB the library itself guarantees the link.
    if (registers_.transport().usbMode()) return true;
    for (bool flag : {false, true}) {
        if (communicationAttempt(flag)) return true;
        registers_.transport().resetPort();
    }
    return false;
}

bool HardwareInitialisation::communicationAttempt(bool flag) {
    registers_.transport().enterEppMode(flag);
    registers_.selectRegister(kSerialSwitch);
    registers_.writeDataByte(0xAA);
    const bool first = registers_.readDataByte() == 0x55;
    registers_.writeDataByte(0x55);
    const bool second = registers_.readDataByte() == 0xAA;
    if (!first || !second) return false;
    TestPattern pattern;
    for (int round = 0; round < kCommunicationRounds; ++round) {
        const std::uint8_t r = pattern.next();
        registers_.writeDataByte(r);
        if (registers_.readDataByte() != 255 - r) return false;
    }
    return true;
}

bool HardwareInitialisation::loadConfiguration() {
    Transport& transport = registers_.transport();
    transport.enterEppMode(false);
    const std::size_t first = ConfigurationImage::syncIndex();
    registers_.selectRegister(kIdentification);
    registers_.writeDataByte(0x24);
    transport.flushUsb();
    Transport::waitAtLeast(2);
    registers_.writeDataByte(0xA4);
    transport.flushUsb();
    Transport::waitAtLeast(2);
    const std::size_t count = ConfigurationImage::kSize - first;
    ConfigurationImage::unscramble(first, configuration_);
    transport.loadConfiguration(configuration_.data(), static_cast<std::int32_t>(count));
    return (registers_.readDataByte() & 0x40) != 0;
}

void HardwareInitialisation::writeDefaults() {
    // Synthesiser code 65535 with divider exponent 1, 16384 points, generator running.
    registers_.writeRegister(kSynthesiserLow, 0xFF);
    registers_.writeRegister(kSynthesiserHigh, 0xFF);
    registers_.writeRegister(kEndAddressLow, 0xFF);
    registers_.writeRegister(kEndAddressHigh, 0x3F);
    registers_.writeRegister(kEndAddressTop, 0x00);
    registers_.writeRegister(kChannelControl, 0x00);
    registers_.writeRegister(kClockDivider, 0x01);
    registers_.writeRegister(kTrigger, 0x00);
    registers_.writeRegister(kRunControl, 0xC0);
    // Both output paths normal, outputs at mid-scale.
    registers_.writeSwitchRegister(0x11);
    for (int dac = 0; dac < 4; ++dac)
        registers_.writeDac(dac, 2048);
}

bool HardwareInitialisation::readCalibration() {
    std::uint16_t checksum = 0;
    std::uint16_t sum = 0;
    for (int address = 0; address < kCalibrationWords; ++address) {
        const std::uint16_t word = registers_.readCalibrationWord(address);
        if (address == kChecksumWord)
            checksum = word;
        else
            sum = static_cast<std::uint16_t>(sum + word + 1);
    }
    if (checksum != sum) return false;

    CalibrationTable& table = registers_.state().calibration;
    std::uint32_t oscillatorHigh = 0;
    std::uint32_t oscillatorLow = 0;
    for (int address = 10; address <= 30; ++address) {
        if (address == kChecksumWord) continue;
        const std::uint16_t word = registers_.readCalibrationWord(address);
        if (address == kOscillatorHighWord) oscillatorHigh = word;
        if (address == kOscillatorLowWord) oscillatorLow = word;
        for (const CalibrationWord& entry : kCalibrationLayout) {
            if (entry.address != address) continue;
            switch (entry.field) {
                case CalibrationField::ShiftHigh:
                    table.shiftHigh[entry.index] = word;
                    break;
                case CalibrationField::ShiftOff:
                    table.shiftOff[entry.index] = word;
                    break;
                case CalibrationField::ShiftLow:
                    table.shiftLow[entry.index] = word;
                    break;
                case CalibrationField::LevelHigh:
                    table.levelHigh[entry.index] = word;
                    break;
                case CalibrationField::LevelLow:
                    table.levelLow[entry.index] = word;
                    break;
            }
        }
    }
    table.oscillatorFrequency = static_cast<float>(oscillatorHigh * 65536u + oscillatorLow);
    table.halfOscillator = table.oscillatorFrequency * 0.5f;
    return true;
}

std::int32_t HardwareInitialisation::getAllDevices(std::uint8_t* list) {
    if (list == nullptr) return 0;
    Transport& transport = registers_.transport();
    DriverState& state = registers_.state();
    const std::uint8_t savedOffset = state.deviceOffset;
    registers_.acquireDevice();
    if (!transport.usbMode() && !transport.openPortDriver()) {
        registers_.releaseDevice();
        return -1;
    }
    transport.enterEppMode(false);
    for (int index = 0; index < 16; ++index) {
        state.deviceOffset = static_cast<std::uint8_t>(index * 16);
        const std::uint8_t id = readDeviceId();
        list[index] = id == 0xFF ? 0 : id;
        transport.resetPort();
    }
    state.deviceOffset = savedOffset;
    return registers_.releaseDevice();
}

std::uint8_t HardwareInitialisation::getDriverVersion(std::int32_t which, std::uint8_t* version) {
    std::uint8_t scratch[2] = {0, 0};
    if (version == nullptr) version = scratch;
    const bool usb = which == 1 || (which == -1 && registers_.transport().usbMode());
    return usb ? usbDriverVersion(version) : portDriverVersion(version);
}

std::uint8_t HardwareInitialisation::usbDriverVersion(std::uint8_t* version) {
    Transport& transport = registers_.transport();
    const bool loadedForThisCall = !transport.usbMode();
    if (loadedForThisCall && !transport.loadUsbLibrary()) return kComponentMissing;
    if (!transport.usbLibrary()->driverVersion(version)) {
        version[0] = 1;
        version[1] = 0;
    }
    if (loadedForThisCall) transport.unloadUsbLibrary();
    return kUsbLibraryPresent;
}

std::uint8_t HardwareInitialisation::portDriverVersion(std::uint8_t* version) {
    Transport& transport = registers_.transport();
    const bool openedForThisCall = !transport.portDriverOpen();
    if (openedForThisCall && !transport.openPortDriver()) return kComponentMissing;
    if (!transport.portDriverVersion(version)) {
        version[0] = 1;
        version[1] = 0;
    }
    if (openedForThisCall) transport.closePortDriver();
    return kPortDriverPresent;
}

}  // namespace q745drv
