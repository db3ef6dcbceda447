// Frequency synthesis: the example table bit for bit, registers and the instrument's clock.
#include <limits>

#include "DriverOnBench.h"

using Writes = std::vector<std::pair<int, int>>;

namespace {

struct Row {
    float request;
    int octave;
    int divider;
    int code;
    float result;
};

class DirectFrequency : public DriverOnBench {
protected:
    void SetUp() override { initialise(); }
};

// Both channels hold octave sets: the request is the signal frequency.
class OctaveFrequency : public DriverOnBench {
protected:
    void SetUp() override {
        initialise();
        const std::vector<std::uint8_t> wave = sineWave();
        ASSERT_EQ(driver->setWaveForm(wave.data(), 0, -1, 0, 1), 1);
        ASSERT_EQ(driver->setWaveForm(wave.data(), 1, -1, 0, 1), 1);
        startRecording();
    }
};

TEST_F(DirectFrequency, ExampleTable) {
    const Row rows[] = {
        {1000000.0f, 0, 6, 41942, 999999.06f},
        {0.0f, 0, 15, 32767, 1525.8789f},
        {50000000.0f, 0, 1, 65535, 50000000.0f},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.request);
        bench->setRecording(true);
        EXPECT_EQ(driver->setFrequency(row.request), row.result);
        const Writes expected = {{9, row.divider}, {4, row.code >> 8}, {3, row.code & 0xFF}};
        EXPECT_EQ(writes(), expected);
        const q745vi::InstrumentState state = instrument().state();
        EXPECT_EQ(state.synthesiserCode, row.code);
        EXPECT_EQ(state.divider, row.divider);
        EXPECT_NEAR(state.sampleClockHz, row.result, row.result * 1e-6);
    }
}

TEST_F(DirectFrequency, RequestsBeyondTheRangeAreLimited) {
    EXPECT_EQ(driver->setFrequency(80000000.0f), 50000000.0f);
    EXPECT_EQ(instrument().state().synthesiserCode, 65535);
    EXPECT_EQ(instrument().state().divider, 1);
    EXPECT_EQ(driver->setFrequency(-5.0f), 1525.8789f);
    EXPECT_EQ(driver->setFrequency(std::numeric_limits<float>::quiet_NaN()), 25000000.0f);
    EXPECT_EQ(driver->setFrequency(std::numeric_limits<float>::infinity()), 50000000.0f);
    EXPECT_EQ(instrument().state().synthesiserCode, 65535);
}

TEST_F(DirectFrequency, FollowsTheCalibratedOscillator) {
    instrument().calibration().setOscillator(40000000);
    ASSERT_EQ(driver->initHardware(0), 1000);
    EXPECT_EQ(driver->setFrequency(0.0f), 20000000.0f / 16384.0f);
    EXPECT_EQ(driver->setFrequency(40000000.0f), 40000000.0f);
}

TEST_F(OctaveFrequency, ExampleTable) {
    const Row rows[] = {
        {1000.0f, 0, 2, 42948, 999.98431f},
        {1.0f, 0, 12, 43979, 0.99998945f},
        {0.1f, 0, 15, 35183, 0.099998944f},
        {10000000.0f, 12, 1, 52427, 9999847.0f},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.request);
        bench->setRecording(true);
        EXPECT_EQ(driver->setFrequency(row.request), row.result);
        const int top = row.octave << 4 | 0x08;  // octave number and octave mode
        const int end = (16384 >> row.octave) - 1;
        const Writes expected = {
            {9, row.divider}, {7, top}, {4, row.code >> 8}, {3, row.code & 0xFF}, {5, end & 0xFF},
            {6, end >> 8},    {7, top}};
        EXPECT_EQ(writes(), expected);
        EXPECT_EQ(driver->state().currentOctave, row.octave);

        const q745vi::InstrumentState state = instrument().state();
        EXPECT_TRUE(state.octaveMode);
        EXPECT_EQ(state.octave, row.octave);
        EXPECT_EQ(state.channels[0].playedStart, static_cast<std::uint32_t>(row.octave * 16384));
        EXPECT_EQ(state.channels[0].playedLength, static_cast<std::uint32_t>(end + 1));
        EXPECT_NEAR(state.channels[1].signalFrequency, row.result, row.result * 1e-6);
    }
}

TEST_F(OctaveFrequency, HighestSignalFrequencyPlaysTwoPointsOfOctave13) {
    EXPECT_EQ(driver->setFrequency(25000000.0f), 25000000.0f);
    const q745vi::InstrumentState state = instrument().state();
    EXPECT_EQ(state.octave, 13);
    EXPECT_EQ(state.synthesiserCode, 65535);
    EXPECT_EQ(state.endAddress, 1u);
    // Octave 13 holds the waveform decimated by 8192: its maximum and minimum.
    EXPECT_EQ(instrument().memory(0)[13 * 16384], 255);
    EXPECT_EQ(instrument().memory(0)[13 * 16384 + 1], 1);
}

TEST_F(OctaveFrequency, OctaveStopsAtFifteenAndLengthAtTwoPoints) {
    driver->setFrequency(1e12f);
    EXPECT_EQ(driver->state().currentOctave, 15);
    EXPECT_EQ(instrument().state().octave, 15);
    EXPECT_EQ(instrument().state().endAddress, 1u);
}

TEST_F(DirectFrequency, OneChannelInOctaveModeIsNotEnough) {
    const std::vector<std::uint8_t> wave = sineWave();
    ASSERT_EQ(driver->setWaveForm(wave.data(), 1, -1, 0, 1), 1);
    startRecording();
    EXPECT_EQ(driver->setFrequency(1000.0f), 1525.8789f);
    const Writes expected = {{9, 15}, {4, 0x7F}, {3, 0xFF}};
    EXPECT_EQ(writes(), expected);
}

TEST_F(DirectFrequency, OscillatorFrequencyNeedsNoLockAndNoDevice) {
    startRecording();
    EXPECT_EQ(driver->oscillatorFrequency(), 50000000.0f);
    EXPECT_TRUE(cycles().empty());
}

TEST(SynthesiserCode, TruncatesTowardZeroAndLimits) {
    EXPECT_EQ(q745drv::FrequencySynthesis::synthesiserCode(25000000.0f, 25000000.0f), 32767);
    EXPECT_EQ(q745drv::FrequencySynthesis::synthesiserCode(50000000.0f, 25000000.0f), 65535);
    EXPECT_EQ(q745drv::FrequencySynthesis::synthesiserCode(24999000.0f, 25000000.0f), 32767);
    // One code step is 25 MHz / 32768 = 762.94 Hz.
    EXPECT_EQ(q745drv::FrequencySynthesis::synthesiserCode(25000762.0f, 25000000.0f), 32767);
    EXPECT_EQ(q745drv::FrequencySynthesis::synthesiserCode(25000764.0f, 25000000.0f), 32768);
    EXPECT_EQ(q745drv::FrequencySynthesis::synthesiserCode(49999240.0f, 25000000.0f), 65534);
}

}  // namespace
