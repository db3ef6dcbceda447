#include "waves/GalleryRules.h"

#include <gtest/gtest.h>

#include "core/UnitFormat.h"
#include "generators/AddNoise.h"
#include "generators/AmplitudeModulation.h"
#include "generators/HarmonicParameterBlock.h"
#include "waves/DataViewRows.h"
#include "waves/PredefinedWaveforms.h"

TEST(GalleryRules, CopyIsNamedAfterItsSourceAndKeepsItsStatistics) {
    WaveformStore store;
    resetPredefined(store, 1);
    copySlot(store, 1, 9);
    EXPECT_EQ(store.slots[8].name(), "Copy of Sine");
    EXPECT_EQ(store.slots[8].points, store.slots[0].points);
    EXPECT_EQ(store.slots[8].harmonicCount, store.slots[0].harmonicCount);

    store.slots[0].setName(std::string(255, 'n'));
    copySlot(store, 1, 10);
    EXPECT_EQ(store.slots[9].name(), "Copy of " + std::string(247, 'n'));
    copySlot(store, 1, 1);
    EXPECT_EQ(store.slots[0].name(), std::string(255, 'n'));
}

TEST(GalleryRules, ReadoutsOfTheLargeDisplay) {
    GalleryCursorInput input;
    input.x1 = 100;
    input.x2 = 1124;  // 1024 points, a quarter period at step 4
    input.y1 = 200;
    input.y2 = 73;  // 127 steps
    input.displayStep = 4;
    input.frequency = 1000;
    input.peakToPeak = 254;
    input.levelMillivolts = 8400;
    input.absoluteMillivolts = 2500;
    const GalleryReadout readout = galleryCursorReadout(input);
    EXPECT_EQ(readout.deltaX, "25%");
    EXPECT_EQ(readout.deltaXPixels, "1024pix");
    EXPECT_EQ(readout.deltaXTime, "250us");
    EXPECT_EQ(readout.deltaXFrequency, "4kHz");
    EXPECT_EQ(readout.deltaYPercent, "50%");
    EXPECT_EQ(readout.deltaYVolts, "4.2V");
    EXPECT_EQ(readout.deltaYAbsolute, "2.5V");

    input.x2 = input.x1;
    input.peakToPeak = 0;
    input.absoluteMillivolts.reset();
    const GalleryReadout flat = galleryCursorReadout(input);
    EXPECT_FALSE(flat.deltaXFrequency) << "the label keeps its text";
    EXPECT_EQ(flat.deltaYPercent, "N/A");
    EXPECT_EQ(flat.deltaYAbsolute, "N/A");
}

namespace {

WaveformRecord harmonicWaveform(std::initializer_list<std::pair<int, bool>> harmonics) {
    HarmonicParameterBlock block;
    for (const auto& [number, marked] : harmonics) {
        HarmonicRecord& harmonic = block.harmonics[static_cast<std::size_t>(block.count++)];
        harmonic.number = number;
        setHarmonicLevel(harmonic, 50, true, 30);
        harmonic.marked = marked;
    }
    WaveformRecord record = untitledWaveform();
    recomputeHarmonics(block, record);
    finishHarmonicWaveform(block, record);
    return record;
}

}  // namespace

TEST(DataViewRows, MarkedHarmonicsFollowTheFundamental) {
    const WaveformRecord record = harmonicWaveform({{3, true}, {4, false}, {5, true}});
    const double halfScale = decodeHarmonicParams(record.params).halfScale;
    DataViewChannelInput input{&record, 8000, 1000, 1, 1};
    const ChannelDataView view = channelDataView(input);
    ASSERT_EQ(view.kind, DataViewKind::Harmonics);
    ASSERT_EQ(view.rows.size(), 3u);
    EXPECT_EQ(view.rows[0].order, "1.");
    EXPECT_EQ(view.rows[1].order, "3.");
    EXPECT_EQ(view.rows[2].order, "5.");
    EXPECT_EQ(view.rows[0].frequency, "1kHz");
    EXPECT_EQ(view.rows[2].frequency, "5kHz");
    EXPECT_EQ(view.rows[0].phase, "0");
    EXPECT_EQ(view.rows[1].phase, "30");
    EXPECT_EQ(view.rows[0].voltage, formatVoltage(0.707 * 8000 * halfScale / 1000) + "V");
    EXPECT_EQ(view.rows[1].voltage, formatVoltage(0.5 * 0.707 * 8000 * halfScale / 1000) + "V");

    // Channel B: the multiplied frequency, and red beyond step times multiplier.
    input.multiplier = 7;
    input.sampleStep = 256;
    const ChannelDataView b = channelDataView(input);
    EXPECT_EQ(b.rows[1].frequency, "21kHz");
    EXPECT_FALSE(b.rows[1].red) << "1792 < 8192 / 3";
    EXPECT_TRUE(b.rows[2].red) << "1792 > 8192 / 5";
}

TEST(DataViewRows, ModulationNoiseAndPlainWaveforms) {
    WaveformStore store;
    resetPredefined(store, 1);
    WaveformRecord modulated;
    finishModulation(store.slots[0], {100, 20}, modulated);
    const ChannelDataView modulation = channelDataView({&modulated, 8000, 1000, 128, 1});
    EXPECT_EQ(modulation.kind, DataViewKind::Modulation);
    EXPECT_EQ(modulation.modulationLevel, "3.2V");
    EXPECT_EQ(modulation.carrierFrequency, "100kHz");
    EXPECT_TRUE(modulation.carrierRed) << "128 > 8192 / 100";

    WaveformRecord noisy;
    std::mt19937 random(1);
    finishNoise(store.slots[0], {127, false}, random, noisy);
    const ChannelDataView noise = channelDataView({&noisy, 8000, 1000, 1, 1});
    EXPECT_EQ(noise.kind, DataViewKind::Noise);
    EXPECT_EQ(noise.noiseLevel, "4V");

    EXPECT_EQ(channelDataView({&store.slots[1], 8000, 1000, 1, 1}).kind, DataViewKind::None);
    EXPECT_EQ(noDataText(1), "No data available for channel B");
}
