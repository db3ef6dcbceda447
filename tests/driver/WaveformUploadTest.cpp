// Waveform upload: the load sequence, the memory the instrument ends up with, and what stays as
// it was.
#include <numeric>

#include "DriverOnBench.h"

using q745vi::EventKind;
using Writes = std::vector<std::pair<int, int>>;

namespace {

class WaveformUpload : public DriverOnBench {
protected:
    void SetUp() override { initialise(); }

    // The register writes apart from the serial DAC and switch register.
    Writes parallelWrites() {
        Writes chosen;
        for (const auto& write : writes()) {
            if (write.first != 1 && write.first != 2) chosen.push_back(write);
        }
        return chosen;
    }

    std::vector<std::uint8_t> expectedOctaveSet(const std::vector<std::uint8_t>& wave,
                                                std::int32_t phase, std::int32_t step) {
        q745drv::OctaveDecimator decimator;
        decimator.prepare(std::span<const std::uint8_t, 16384>(wave.data(), 16384));
        std::vector<std::uint8_t> set(q745drv::kOctaveSetLength);
        decimator.buildOctaveSet(
            phase, step,
            std::span<std::uint8_t, q745drv::kOctaveSetLength>(set.data(), set.size()));
        return set;
    }

    std::vector<std::uint8_t> memory(int channel, std::size_t length) {
        const auto& all = instrument().memory(channel);
        return {all.begin(), all.begin() + static_cast<std::ptrdiff_t>(length)};
    }

    void expectCleanBus() {
        const q745vi::InstrumentState state = instrument().state();
        EXPECT_EQ(state.counters.timingViolations, 0u);
        EXPECT_EQ(state.counters.protocolErrors, 0u);
        EXPECT_FALSE(state.memoryLoading);
    }
};

TEST_F(WaveformUpload, OctaveSetLoadSequenceForAChannelThatIsOff) {
    driver->analog().setChannelOn(0, 0);
    startRecording();
    const std::vector<std::uint8_t> wave = sineWave();
    EXPECT_EQ(driver->setWaveForm(wave.data(), 0, -1, 0, 1), 1);
    const Writes expected = {{12, 0x00},
                             {9, 0x00},
                             {12, 0x20},
                             {8, 0x21},
                             {7, 0x00},
                             {10, 0x00},
                             {12, 0xA0},
                             {5, 0xFF},
                             {6, 0xFF},
                             {7, 0x03},
                             {11, 0x80},
                             {11, 0x80},
                             {5, 0xFF},
                             {6, 0x3F},
                             {7, 0x00},
                             {5, 0xFF},
                             {6, 0x3F},
                             {7, 0x00},
                             {12, 0x80},
                             {12, 0x40},
                             {8, 0x07},
                             {9, 0x01},
                             {7, 0x00},
                             {10, 0x00},
                             {12, 0xC0},
                             // The channel parked again before the lock goes.
                             {12, 0x00},
                             {8, 0x27},
                             {9, 0x00},
                             {11, 0x80},
                             {8, 0x03},
                             {9, 0x01},
                             {12, 0xC0}};
    EXPECT_EQ(parallelWrites(), expected);

    const auto blocks = eventsOf(events(), EventKind::Block);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].reg, 11);
    EXPECT_EQ(blocks[0].length, 229376);
    EXPECT_EQ(memory(0, 229376), expectedOctaveSet(wave, 0, 1));
    EXPECT_EQ(driver->state().octaveMode[0], 1);
    EXPECT_FALSE(instrument().state().channels[0].enabled);
    expectCleanBus();
}

TEST_F(WaveformUpload, ChannelThatWasOnIsOnAgainAndOneThatWasOffStaysOff) {
    const std::vector<std::uint8_t> wave = sineWave();
    ASSERT_EQ(driver->state().channelOn[0], 1);
    EXPECT_EQ(driver->setWaveForm(wave.data(), 0, -1, 0, 1), 1);
    EXPECT_EQ(driver->state().channelOn[0], 1);
    EXPECT_TRUE(instrument().state().channels[0].enabled);

    driver->analog().setChannelOn(1, 0);
    EXPECT_EQ(driver->setWaveForm(wave.data(), 1, -1, 0, 1), 1);
    EXPECT_EQ(driver->state().channelOn[1], 0);
    EXPECT_FALSE(instrument().state().channels[1].enabled);
    EXPECT_TRUE(instrument().state().channels[0].enabled);
    expectCleanBus();
}

TEST_F(WaveformUpload, OctaveModeNeedsBothChannelsAndEndsWithARawUpload) {
    const std::vector<std::uint8_t> wave = sineWave();
    driver->setWaveForm(wave.data(), 0, -1, 0, 1);
    EXPECT_FALSE(instrument().state().octaveMode);
    driver->setWaveForm(wave.data(), 1, -1, 0, 1);
    EXPECT_TRUE(instrument().state().octaveMode);

    const std::vector<std::uint8_t> raw(1000, 42);
    driver->setWaveForm(raw.data(), 1, static_cast<std::int32_t>(raw.size()), 0, 1);
    const q745vi::InstrumentState state = instrument().state();
    EXPECT_FALSE(state.octaveMode);
    EXPECT_EQ(state.endAddress, 999u);
    EXPECT_EQ(driver->state().octaveMode[0], 1);
    EXPECT_EQ(driver->state().octaveMode[1], 0);
    EXPECT_EQ(driver->state().currentOctave, 0);
    EXPECT_EQ(memory(1, 1000), raw);
    expectCleanBus();
}

TEST_F(WaveformUpload, OctaveSetPlaysTheOctaveOfTheLastFrequency) {
    const std::vector<std::uint8_t> wave = sineWave();
    driver->setWaveForm(wave.data(), 0, -1, 0, 1);
    driver->setWaveForm(wave.data(), 1, -1, 0, 1);
    driver->setFrequency(10000000.0f);  // octave 12: four points
    ASSERT_EQ(instrument().state().endAddress, 3u);
    driver->setWaveForm(wave.data(), 0, -1, 0, 1);
    const q745vi::InstrumentState state = instrument().state();
    EXPECT_EQ(state.endAddress, 3u);
    EXPECT_EQ(state.octave, 12);
    EXPECT_TRUE(state.octaveMode);
    const auto& a = instrument().memory(0);
    const std::vector<std::uint8_t> set = expectedOctaveSet(wave, 0, 1);
    EXPECT_EQ(std::vector<std::uint8_t>(a.begin() + 12 * 16384, a.begin() + 12 * 16384 + 4),
              std::vector<std::uint8_t>(set.begin() + 12 * 16384, set.begin() + 12 * 16384 + 4));
}

TEST_F(WaveformUpload, ChannelBTakesStepAndPhase) {
    const std::vector<std::uint8_t> wave = sineWave();
    driver->setWaveForm(wave.data(), 1, -1, 4096, 3);
    EXPECT_EQ(memory(1, 229376), expectedOctaveSet(wave, 4096, 3));
    // Octave 0 of step 3 holds three periods, starting a quarter period later.
    const auto& b = instrument().memory(1);
    int peaks = 0;
    for (std::size_t i = 0; i < 16384; ++i)
        peaks += b[i] == 255 && b[(i + 16383) % 16384] != 255;
    EXPECT_EQ(peaks, 3);
    EXPECT_EQ(b[0], 255);
    expectCleanBus();
}

TEST_F(WaveformUpload, AnyChannelOtherThanZeroIsB) {
    const std::vector<std::uint8_t> raw = {10, 20, 30};
    driver->setWaveForm(raw.data(), 7, 3, 0, 1);
    EXPECT_EQ(memory(1, 3), raw);
    EXPECT_NE(memory(0, 3), raw);
}

TEST_F(WaveformUpload, RawLengthOneEndsAtAddressZero) {
    const std::uint8_t point = 200;
    EXPECT_EQ(driver->setWaveForm(&point, 0, 1, 0, 1), 1);
    const q745vi::InstrumentState state = instrument().state();
    EXPECT_EQ(state.endAddress, 0u);
    EXPECT_EQ(state.channels[0].playedLength, 1u);
    EXPECT_EQ(instrument().memory(0)[0], 200);
    expectCleanBus();
}

TEST_F(WaveformUpload, RawDataFillsTheWholeMemory) {
    std::vector<std::uint8_t> raw(262144);
    std::iota(raw.begin(), raw.end(), 0);
    EXPECT_EQ(driver->setWaveForm(raw.data(), 1, 262144, 999, 0), 1);
    EXPECT_EQ(instrument().memory(1), raw);
    EXPECT_EQ(instrument().state().endAddress, 262143u);
    EXPECT_EQ(driver->state().shadow[7] & 0x03, 0x03);

    driver->setWaveForm(raw.data(), 1, 70000, 0, 1);
    EXPECT_EQ(instrument().state().endAddress, 69999u);  // 0x1116F: bit 16 in register 7
    EXPECT_EQ(driver->state().shadow[7] & 0x03, 0x01);
    expectCleanBus();
}

TEST_F(WaveformUpload, BadArgumentsAreRefusedWithoutRegisterAccess) {
    startRecording();
    const std::vector<std::uint8_t> wave = sineWave();
    EXPECT_EQ(driver->setWaveForm(nullptr, 0, -1, 0, 1), 0);
    EXPECT_EQ(driver->setWaveForm(nullptr, 0, 10, 0, 1), 0);
    EXPECT_EQ(driver->setWaveForm(wave.data(), 0, 0, 0, 1), 0);
    EXPECT_EQ(driver->setWaveForm(wave.data(), 0, -2, 0, 1), 0);
    EXPECT_EQ(driver->setWaveForm(wave.data(), 0, 262145, 0, 1), 0);
    EXPECT_EQ(driver->setWaveForm(wave.data(), 0, -1, 0, 0), 0);
    EXPECT_EQ(driver->setWaveForm(wave.data(), 1, -1, 0, -3), 0);
    EXPECT_EQ(driver->setWaveForm(wave.data(), 1, -1, 0, 16385), 0);
    EXPECT_TRUE(cycles().empty());
    EXPECT_EQ(driver->state().channelOn[0], 1);
}

TEST_F(WaveformUpload, LargestStepAndExtremePhasesAreSafe) {
    const std::vector<std::uint8_t> wave = sineWave();
    EXPECT_EQ(driver->setWaveForm(wave.data(), 1, -1, 2147483647, 16384), 1);
    EXPECT_EQ(driver->setWaveForm(wave.data(), 1, -1, -2147483647 - 1, 99), 1);
    expectCleanBus();
}

class UsbWaveformUpload : public DriverOnBench {
protected:
    UsbWaveformUpload() : DriverOnBench("usb") {}
};

TEST_F(UsbWaveformUpload, LoadsOverUsbWithTheWaitsAfterFlushes) {
    ASSERT_EQ(driver->setInterface(1), 0);
    ASSERT_EQ(driver->initHardware(0), 1000);
    const std::vector<std::uint8_t> wave = sineWave(5);
    EXPECT_EQ(driver->setWaveForm(wave.data(), 0, -1, 0, 1), 1);
    const auto& memory = instrument().memory(0);
    EXPECT_EQ(std::vector<std::uint8_t>(memory.begin(), memory.begin() + 16384), wave);
    const q745vi::InstrumentState state = instrument().state();
    EXPECT_EQ(state.counters.timingViolations, 0u);
    EXPECT_EQ(state.counters.protocolErrors, 0u);
    EXPECT_TRUE(state.channels[0].enabled);
    EXPECT_EQ(bench->usb().pendingCycles(), 0u);
}

}  // namespace
