#include "VirtualInstrument.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace q745vi {

namespace {

enum Register {
    kIdentification = 0,
    kSerialSwitch = 1,
    kSerialDac = 2,
    kSynthesiserLow = 3,
    kSynthesiserHigh = 4,
    kEndAddressLow = 5,
    kEndAddressHigh = 6,
    kEndAddressTop = 7,
    kChannelControl = 8,
    kClockDivider = 9,
    kTrigger = 10,
    kMemoryData = 11,
    kRunControl = 12,
};

constexpr std::size_t kOctaveLength = 16384;
constexpr int kRegisterCount = 13;

bool bit(int value, int number) {
    return ((value >> number) & 1) != 0;
}

}  // namespace

VirtualInstrument::VirtualInstrument(std::string source, int deviceIndex, EventSink& sink)
    : source_(std::move(source)), deviceIndex_(deviceIndex), sink_(sink) {
    for (auto& memory : memory_)
        memory.assign(kMemorySize, 0x80);
}

void VirtualInstrument::emit(InstrumentEvent event) {
    event.source = source_;
    sink_.record(std::move(event));
}

void VirtualInstrument::protocolError(const std::string& detail) {
    ++counters_.protocolErrors;
    InstrumentEvent event(EventKind::ProtocolError);
    event.detail = detail;
    emit(std::move(event));
}

void VirtualInstrument::checkWait(Clock::time_point since, int milliseconds, const char* what) {
    const auto waited =
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - since).count();
    if (waited >= milliseconds * 1000) return;
    ++counters_.timingViolations;
    InstrumentEvent event(EventKind::TimingViolation);
    event.detail = what;
    event.value = waited;
    emit(std::move(event));
}

void VirtualInstrument::addressCycle(std::uint8_t address) {
    selected_ = (address >> 4) == deviceIndex_;
    register_ = address & 0x0F;
    if (selected_) ++counters_.addressCycles;
}

void VirtualInstrument::writeData(std::uint8_t value) {
    ++counters_.dataWrites;
    writeRegister(register_, value, true);
}

void VirtualInstrument::writeRegister(int reg, std::uint8_t value, bool logged) {
    const bool accepted = reg < kRegisterCount && (reg <= kSerialSwitch || configured_);
    if (logged) {
        InstrumentEvent event(EventKind::Write);
        event.reg = reg;
        event.value = value;
        event.ignored = !accepted;
        emit(std::move(event));
    }
    if (!accepted) {
        ++counters_.ignoredWrites;
        return;
    }
    switch (reg) {
        case kIdentification:
            writeIdentification(value);
            break;
        case kSerialSwitch:
            writeSerialSwitch(value);
            break;
        case kSerialDac:
            writeSerialDac(value);
            break;
        case kMemoryData:
            writeMemoryData(value);
            break;
        case kRunControl:
            writeRunControl(value);
            break;
        default:
            break;
    }
    registers_[static_cast<std::size_t>(reg)] = value;
}

void VirtualInstrument::writeIdentification(std::uint8_t value) {
    switch (value) {
        case 0x80:
            identificationArmed_ = true;
            break;
        case 0x84:
            identificationArmed_ = false;
            break;
        case 0x24: {
            resetLogic();
            phase_ = ConfigurationPhase::Started;
            startedAt_ = Clock::now();
            InstrumentEvent event(EventKind::ConfigurationStart);
            event.value = value;
            emit(std::move(event));
            break;
        }
        case 0xA4: {
            if (phase_ != ConfigurationPhase::Started) {
                protocolError("configuration armed without a start");
                break;
            }
            checkWait(startedAt_, 2, "configuration start");
            phase_ = ConfigurationPhase::Armed;
            armedAt_ = Clock::now();
            InstrumentEvent event(EventKind::ConfigurationStart);
            event.value = value;
            emit(std::move(event));
            break;
        }
        default:
            break;
    }
}

void VirtualInstrument::resetLogic() {
    configured_ = false;
    for (int reg = kSerialDac; reg < kRegisterCount; ++reg)
        registers_[static_cast<std::size_t>(reg)] = 0;
    switchShift_ = 0;
    switchBits_ = 0;
    switchClock_ = false;
    dacWord_ = 0;
    dacBits_ = 0;
    dacClock_ = false;
    dacWordEnd_ = true;
    loading_ = false;
    stopped_ = false;
}

void VirtualInstrument::writeSerialSwitch(std::uint8_t value) {
    lastSerialWrite_ = value;
    if (!configured_) return;
    digitalDrivers_ = !bit(value, 2);
    const bool clock = bit(value, 0);
    if (clock && !switchClock_) {
        switchShift_ = static_cast<std::uint8_t>((switchShift_ << 1) | (bit(value, 1) ? 1 : 0));
        ++switchBits_;
    }
    if (!clock && switchBits_ >= 8) {
        switchImage_ = switchShift_;
        switchBits_ = 0;
        ++counters_.switchImages;
        InstrumentEvent event(EventKind::Switch);
        event.value = switchImage_;
        emit(std::move(event));
    }
    switchClock_ = clock;
}

void VirtualInstrument::writeSerialDac(std::uint8_t value) {
    const bool clock = bit(value, 1);
    const bool wordEnd = bit(value, 3);
    if (!wordEnd && dacWordEnd_) {
        dacWord_ = 0;
        dacBits_ = 0;
    }
    if (!wordEnd && dacClock_ && !clock) {
        dacWord_ = static_cast<std::uint16_t>((dacWord_ << 1) | (value & 1));
        ++dacBits_;
    }
    if (wordEnd && !dacWordEnd_) {
        if (dacBits_ == 16 && (dacWord_ & 0x3000) == 0) {
            const int dac = dacWord_ >> 14;
            dacCodes_[static_cast<std::size_t>(dac)] = dacWord_ & 0xFFF;
            ++counters_.dacWords;
            InstrumentEvent event(EventKind::Dac);
            event.address = dac;
            event.value = dacWord_ & 0xFFF;
            emit(std::move(event));
        } else {
            protocolError("DAC word of " + std::to_string(dacBits_) + " bits");
        }
    }
    dacClock_ = clock;
    dacWordEnd_ = wordEnd;
}

void VirtualInstrument::writeRunControl(std::uint8_t value) {
    if (value == 0x00) {
        stopped_ = true;
        stoppedAt_ = Clock::now();
    }
    if (value == 0x20 && stopped_) checkWait(stoppedAt_, 5, "stop before memory load");
    if (value == 0xA0) {
        if (!bit(registers_[kChannelControl], 5)) {
            protocolError("memory load without memory write select");
        } else {
            loading_ = true;
            syncBytes_ = 0;
            loadAddress_ = 0;
            loadErrorReported_ = false;
            firstLoadByte_ = true;
            loadArmedAt_ = Clock::now();
        }
    } else if (loading_ && !bit(value, 5)) {
        loading_ = false;
    }
}

void VirtualInstrument::writeMemoryData(std::uint8_t value) {
    if (!loading_) return;  // outside a load the data port only holds the output level
    if (firstLoadByte_) {
        checkWait(loadArmedAt_, 5, "memory load armed");
        firstLoadByte_ = false;
    }
    if (syncBytes_ < 2) {
        if (value == 0x80) {
            ++syncBytes_;
        } else {
            if (!loadErrorReported_) protocolError("memory data before the two sync bytes");
            loadErrorReported_ = true;
        }
        return;
    }
    storeMemory(value);
}

void VirtualInstrument::storeMemory(std::uint8_t value) {
    if (loadAddress_ >= kMemorySize) {
        if (!loadErrorReported_) protocolError("memory load beyond the memory's end");
        loadErrorReported_ = true;
        return;
    }
    for (int channel = 0; channel < 2; ++channel) {
        if (bit(registers_[kChannelControl], channel))
            memory_[static_cast<std::size_t>(channel)][loadAddress_] = value;
    }
    ++loadAddress_;
}

std::uint8_t VirtualInstrument::readData(int portMode) {
    ++counters_.dataReads;
    switch (register_) {
        case kIdentification: {
            if (!identificationArmed_) return configured_ ? 0x40 : 0x00;
            InstrumentEvent event(EventKind::Identification);
            event.value = faults_.modelId;
            emit(std::move(event));
            return faults_.modelId;
        }
        case kSerialSwitch: {
            auto value = static_cast<std::uint8_t>(~lastSerialWrite_);
            if (portMode >= 0 && ((faults_.failingCommunicationModes >> portMode) & 1u) != 0)
                value &= 0x7F;
            return value;
        }
        default:
            if (register_ >= kRegisterCount || !configured_) return 0xFF;
            return registers_[static_cast<std::size_t>(register_)];
    }
}

void VirtualInstrument::writeBlock(const std::uint8_t* data, std::size_t count) {
    ++counters_.blockWrites;
    counters_.blockBytes += count;
    InstrumentEvent event(EventKind::Block);
    event.reg = register_;
    event.length = static_cast<std::int64_t>(count);
    event.checksum = fnv1a(data, count);
    emit(std::move(event));

    std::size_t i = 0;
    // Bulk memory data once the load is synchronised.
    if (register_ == kMemoryData && configured_ && loading_) {
        for (; i < count && (firstLoadByte_ || syncBytes_ < 2); ++i)
            writeMemoryData(data[i]);
        const std::size_t room = kMemorySize - std::min(loadAddress_, kMemorySize);
        const std::size_t bulk = std::min(count - i, room);
        for (int channel = 0; channel < 2; ++channel) {
            if (bit(registers_[kChannelControl], channel))
                std::memcpy(memory_[static_cast<std::size_t>(channel)].data() + loadAddress_,
                            data + i, bulk);
        }
        loadAddress_ += bulk;
        i += bulk;
        if (i > 0) registers_[kMemoryData] = data[i - 1];
    }
    for (; i < count; ++i)
        writeRegister(register_, data[i], false);
}

void VirtualInstrument::loadConfiguration(const std::uint8_t* data, std::size_t count) {
    ++counters_.configurationLoads;
    bool loaded = false;
    if (phase_ != ConfigurationPhase::Armed) {
        protocolError("configuration data without a configuration start");
    } else {
        checkWait(armedAt_, 2, "configuration armed");
        loaded = count == kConfigurationLength && data[0] == 0xFF &&
                 !faults_.configurationNeverCompletes;
    }
    phase_ = ConfigurationPhase::Idle;
    configured_ = loaded;
    InstrumentEvent event(EventKind::Configuration);
    event.length = static_cast<std::int64_t>(count);
    event.value = loaded ? 1 : 0;
    emit(std::move(event));
}

std::uint16_t VirtualInstrument::readCalibrationWord(std::uint32_t address) {
    if (!configured_ || register_ != kSerialDac || address >= CalibrationMemory::kWords)
        return 0xFFFF;
    ++counters_.calibrationReads;
    const std::uint16_t word = calibration_.word(static_cast<int>(address));
    InstrumentEvent event(EventKind::CalibrationRead);
    event.address = static_cast<int>(address);
    event.value = word;
    emit(std::move(event));
    return word;
}

InstrumentState VirtualInstrument::state(bool withPoints) const {
    InstrumentState s;
    s.source = source_;
    s.deviceIndex = deviceIndex_;
    s.modelId = faults_.modelId;
    s.configured = configured_;
    std::copy(registers_.begin(), registers_.end(), s.registers.begin());
    s.switchImage = switchImage_;
    s.dacCodes = dacCodes_;
    s.calibrationChecksumValid = calibration_.checksumValid();
    s.oscillatorHz = calibration_.oscillator();
    s.counters = counters_;

    const int top = registers_[kEndAddressTop];
    s.synthesiserCode = registers_[kSynthesiserLow] | registers_[kSynthesiserHigh] << 8;
    s.divider = registers_[kClockDivider];
    const double half = s.oscillatorHz * 0.5;
    const double synthesiser = half + (s.synthesiserCode - 32767) * half / 32768.0;
    s.sampleClockHz = s.divider == 0 ? 0.0 : std::ldexp(synthesiser, 1 - s.divider);
    s.octaveMode = bit(top, 3);
    s.octave = top >> 4;
    s.endAddress = static_cast<std::uint32_t>(registers_[kEndAddressLow] |
                                              registers_[kEndAddressHigh] << 8 | (top & 3) << 16);
    const std::uint32_t start =
        s.octaveMode ? static_cast<std::uint32_t>(s.octave * kOctaveLength) : 0;
    const std::uint32_t length =
        std::min<std::uint32_t>(s.endAddress + 1, static_cast<std::uint32_t>(kMemorySize) - start);

    const int control = registers_[kChannelControl];
    for (int channel = 0; channel < 2; ++channel) {
        ChannelState& c = s.channels[static_cast<std::size_t>(channel)];
        const int switches = switchImage_ >> (channel * 4);
        c.enabled = bit(control, channel + 2);
        c.normalPath = bit(switches, 0);
        const bool high = bit(switches, 1);
        const bool low = bit(switches, 2);
        c.filter = high && low ? "Low+High" : high ? "High" : low ? "Low" : "Off";
        c.externalLevel = bit(switches, 3);
        c.levelDac = dacCodes_[static_cast<std::size_t>(channel)];
        c.shiftDac = dacCodes_[static_cast<std::size_t>(channel + 2)];

        // Invert the calibration: DAC codes back to the level and shift codes of an open output
        // on the normal path (level 215.57 is 1.6 V, 4096 is 16 V; shift 0 is -4 V, 4096 +4 V).
        const int set = (c.normalPath ? 2 : 0) + channel;
        const double attenuation = c.normalPath ? 1.0 : 0.1;
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const int levelSpan = calibration_.levelHigh(set) - calibration_.levelLow(set);
        const int shiftSpan = calibration_.shiftHigh(set) - calibration_.shiftLow(set);
        const double levelCode =
            levelSpan == 0
                ? nan
                : 215.57 + (c.levelDac - calibration_.levelLow(set)) * 3880.43 / levelSpan;
        const double shiftCode =
            shiftSpan == 0 ? nan : (c.shiftDac - calibration_.shiftLow(set)) * 4096.0 / shiftSpan;
        c.amplitudeVolts = (0.8 + levelCode * 15.2 / 4096.0) * attenuation;
        c.offsetVolts = (shiftCode * 8.0 / 4096.0 - 4.0) * attenuation;

        const std::uint8_t* points = memory_[static_cast<std::size_t>(channel)].data() + start;
        c.playedStart = start;
        c.playedLength = length;
        c.playedChecksum = fnv1a(points, length);
        if (withPoints) c.played.assign(points, points + length);
        c.signalFrequency = s.sampleClockHz / length;
    }

    const int trigger = registers_[kTrigger];
    s.externalTrigger = bit(trigger, 0);
    s.trailingEdge = bit(trigger, 1);
    s.periodic = bit(trigger, 2);
    s.syncOutput = bit(trigger, 3);
    s.running = (registers_[kRunControl] & 0xC0) == 0xC0;
    s.memoryLoading = loading_;
    s.digitalOutputsOn = bit(control, 4);
    s.digitalFiveVolts = bit(control, 7);
    s.digitalDriversEnabled = configured_ && digitalDrivers_;
    return s;
}

}  // namespace q745vi
