// "Settings.dat" and profiles: both passes of the reader, with a target that checks that every
// value reaches it within the range it takes.
#include <cmath>
#include <string_view>

#include "FuzzCheck.h"
#include "core/OperatingMode.h"
#include "core/SettingsTarget.h"
#include "core/SettingsTranslator.h"

namespace {

bool isChannel(int channel) {
    return channel == 0 || channel == 1;
}

bool isMode(int mode) {
    return mode == ModeAnalog || mode == ModeDigital || mode == ModeImport;
}

class CheckingTarget final : public SettingsTarget {
public:
    void setBaseAddress(std::int32_t index) override { FUZZ_CHECK(index >= 0 && index <= 15); }
    void setPortAddress(std::int32_t address) override {
        FUZZ_CHECK(address == 0x378 || address == 0x278 || address == 0x3F8 || address == 0x2F8);
    }
    void setUsb(bool) override {}
    void setUseProxy(bool) override {}
    void setProxyAddress(const std::string&) override {}
    void setProxyPort(std::int32_t port) override { FUZZ_CHECK(port > 0); }
    void setRealShift(int channel, std::int32_t) override { FUZZ_CHECK(isChannel(channel)); }
    void setShiftMode(int channel, bool) override { FUZZ_CHECK(isChannel(channel)); }
    void setShift(int channel, std::int32_t) override { FUZZ_CHECK(isChannel(channel)); }
    void setLevel(int channel, std::int32_t) override { FUZZ_CHECK(isChannel(channel)); }
    void setExternalLevel(int channel, bool) override { FUZZ_CHECK(isChannel(channel)); }
    void setOutput(int channel, std::int32_t state) override {
        FUZZ_CHECK(isChannel(channel) && state >= 0 && state <= 2);
    }
    void setLoad(int channel, std::int32_t ohms) override {
        FUZZ_CHECK(isChannel(channel) && (ohms == -1 || ohms >= 1));
    }
    void setRelativeDbMode(int channel, bool) override { FUZZ_CHECK(isChannel(channel)); }
    void setRelativeDbNull(int channel, double millivolts) override {
        FUZZ_CHECK(isChannel(channel) && std::isfinite(millivolts));
    }
    void setAbsoluteDbUnit(int channel, std::int32_t item) override {
        FUZZ_CHECK(isChannel(channel) && item >= 0 && item <= 3);
    }
    void setIndicator(int channel, Indicator, bool) override { FUZZ_CHECK(isChannel(channel)); }
    void setVpMode(int channel, bool) override { FUZZ_CHECK(isChannel(channel)); }
    void setFilterItem(int channel, std::int32_t item) override {
        FUZZ_CHECK(isChannel(channel) && item >= 0 && item <= 2);
    }
    bool waveSlotFilled(int slot) const override {
        FUZZ_CHECK(slot >= 0 && slot <= 31);
        return slot % 2 == 0;
    }
    void setWave(int channel, int slot) override {
        FUZZ_CHECK(isChannel(channel) && waveSlotFilled(slot));
    }
    void setChannelBPhase(std::int32_t) override {}
    void setFrequency(int mode, double frequency) override {
        FUZZ_CHECK(isMode(mode) && std::isfinite(frequency));
    }
    void setFrequencyMoveMode(int mode, bool) override { FUZZ_CHECK(isMode(mode)); }
    void setRealFrequency(int mode, double frequency) override {
        FUZZ_CHECK(isMode(mode) && std::isfinite(frequency));
    }
    void setChannelBMultiplication(std::int32_t multiplier) override {
        FUZZ_CHECK(multiplier >= 1 && multiplier <= 99);
    }
    void setTriggerSwitch(TriggerSwitch, bool) override {}
    void setDigitalVoltage(std::int32_t item) override { FUZZ_CHECK(item == 0 || item == 1); }
    void setImportLevel(int channel, std::int32_t) override { FUZZ_CHECK(isChannel(channel)); }
    void setImportOutput(int channel, std::int32_t) override { FUZZ_CHECK(isChannel(channel)); }
    void setLevelLock(bool) override {}
    void setForceDigitalOutputs(bool) override {}
    void setCountVRmsFromAC(bool) override {}
    void setAutoFilter(bool) override {}
    void setStartMode(int mode) override { FUZZ_CHECK(isMode(mode)); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckingTarget target;
    applySettingsText(text, true, target);
    applySettingsText(text, false, target);
    return 0;
}
