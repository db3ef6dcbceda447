#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "CalibrationMemory.h"
#include "InstrumentEvent.h"
#include "InstrumentState.h"

namespace q745vi {

// Faults a test can give an instrument.
struct InstrumentFaults {
    std::uint8_t modelId = 0x30;  // another model answers with another ID
    bool configurationNeverCompletes = false;
    // Bit m set: in port mode m (0 or 1, chosen when the port is handed to the instrument) data
    // line 7 reads low on register 1, so that the communication test fails in that mode.
    unsigned failingCommunicationModes = 0;
};

// One Q745 at a device index, as its registers and serial buses see the EPP bus:
//  reg 0  identification (write 0x80, read the model ID, write 0x84), configuration start
//         (0x24 then 0xA4, each at least 2 ms apart, then the configuration stream) and status
//         (bit 6: configured);
//  reg 1  a read returns the complement of the last write; bit 1 data / bit 0 clock of the
//         output switch register (a bit is taken on the rising clock, the image latched when
//         the clock falls after eight bits); bit 2 disables the digital output drivers;
//  reg 2  quad DAC: bit 0 data, bit 1 clock (a bit is taken on the falling clock), bit 3 ends
//         the 16-bit word; calibration memory reads;
//  reg 3-12 the synthesiser, end address, channel control, divider, trigger, memory data port
//         and run control of the generator.
// Until its logic is configured, only registers 0 and 1 answer; writes to the others are
// counted as ignored. Memory loads: register 12 = 0xA0 with register 8 bit 5 set starts one,
// the data port then takes two 0x80 sync bytes and the data from address 0 into the selected
// channel memories; register 12 without bit 5 ends it.
class VirtualInstrument {
public:
    static constexpr std::size_t kMemorySize = 262144;
    // The logic's configuration stream: a 0xFF sync byte and the rest of the configuration.
    static constexpr std::size_t kConfigurationLength = 6873;

    VirtualInstrument(std::string source, int deviceIndex, EventSink& sink);

    const std::string& source() const { return source_; }
    int deviceIndex() const { return deviceIndex_; }
    InstrumentFaults& faults() { return faults_; }
    CalibrationMemory& calibration() { return calibration_; }
    const CalibrationMemory& calibration() const { return calibration_; }

    // Every instrument on the bus sees every address cycle; the one whose device index is the
    // high nibble is selected, the others let go.
    void addressCycle(std::uint8_t address);
    bool selected() const { return selected_; }
    int selectedRegister() const { return register_; }
    void writeData(std::uint8_t value);
    // portMode: the mode the parallel port was handed over in, -1 over USB.
    std::uint8_t readData(int portMode);
    void writeBlock(const std::uint8_t* data, std::size_t count);
    void loadConfiguration(const std::uint8_t* data, std::size_t count);
    // 0xFFFF (no answer) unless the logic is configured and register 2 is selected.
    std::uint16_t readCalibrationWord(std::uint32_t address);

    const std::vector<std::uint8_t>& memory(int channel) const { return memory_[channel & 1]; }
    const InstrumentCounters& counters() const { return counters_; }
    bool configured() const { return configured_; }
    InstrumentState state(bool withPoints = false) const;

private:
    using Clock = std::chrono::steady_clock;
    enum class ConfigurationPhase { Idle, Started, Armed };

    void writeRegister(int reg, std::uint8_t value, bool logged);
    void writeIdentification(std::uint8_t value);
    void writeSerialSwitch(std::uint8_t value);
    void writeSerialDac(std::uint8_t value);
    void writeRunControl(std::uint8_t value);
    void writeMemoryData(std::uint8_t value);
    void storeMemory(std::uint8_t value);
    void resetLogic();
    void checkWait(Clock::time_point since, int milliseconds, const char* what);
    void protocolError(const std::string& detail);
    void emit(InstrumentEvent event);

    std::string source_;
    int deviceIndex_;
    EventSink& sink_;
    InstrumentFaults faults_;
    CalibrationMemory calibration_;

    bool selected_ = false;
    int register_ = 0;
    std::array<std::uint8_t, 13> registers_{};
    bool configured_ = false;
    ConfigurationPhase phase_ = ConfigurationPhase::Idle;
    Clock::time_point startedAt_{}, armedAt_{};
    bool identificationArmed_ = false;
    std::uint8_t lastSerialWrite_ = 0;  // register 1, for the complement read

    // Output switch register: shift register and latched image.
    std::uint8_t switchShift_ = 0;
    int switchBits_ = 0;
    bool switchClock_ = false;
    std::uint8_t switchImage_ = 0;
    bool digitalDrivers_ = false;

    // Quad DAC.
    std::uint16_t dacWord_ = 0;
    int dacBits_ = 0;
    bool dacClock_ = false;
    bool dacWordEnd_ = true;
    std::array<int, 4> dacCodes_{};

    // Waveform memories and their load.
    std::array<std::vector<std::uint8_t>, 2> memory_;
    bool loading_ = false;
    int syncBytes_ = 0;
    std::size_t loadAddress_ = 0;
    bool loadErrorReported_ = false;  // one report per load
    bool firstLoadByte_ = false;
    Clock::time_point stoppedAt_{}, loadArmedAt_{};
    bool stopped_ = false;

    InstrumentCounters counters_;
};

}  // namespace q745vi
