#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "DigitalBuilders.h"
#include "DigitalScratch.h"
#include "RecordingMessages.h"
#include "VcdReader.h"
#include "digital/VcdWriter.h"

namespace {

// A clock on D0 and a bus CNT on D4..D7 counting 0 to 15.
TDigitalWave countingWave() {
    TDigitalWave wave = waveOf({clockSignal("CLK", 0, 0), busSignal("CNT", {4, 5, 6, 7})});
    setWaveLength(wave, 16);
    for (int s = 0; s < 16; ++s) {
        std::uint16_t word = static_cast<std::uint16_t>(s & 1);
        setSignalValue(wave.signals[1], word, static_cast<std::uint16_t>(s));
        wave.word(s) = word;
    }
    return wave;
}

TEST(VcdWriter, SignalsAndBusesReadBackStepByStep) {
    const TDigitalWave wave = countingWave();
    const VcdDump dump = readVcd(vcdText(wave, 4000));
    EXPECT_EQ(dump.timescale, "10us") << "a 250 us tick is 25 units of 10 us";
    ASSERT_EQ(dump.order.size(), 2u);
    EXPECT_EQ(dump.variables.at(dump.order[0]).name, "CLK");
    EXPECT_EQ(dump.variables.at(dump.order[0]).width, 1);
    EXPECT_EQ(dump.variables.at(dump.order[1]).name, "CNT");
    EXPECT_EQ(dump.variables.at(dump.order[1]).width, 4);
    EXPECT_EQ(dump.variables.at(dump.order[1]).range, "[3:0]");
    for (int s = 0; s < 16; ++s) {
        EXPECT_EQ(dump.valueAt("CLK", 25 * s), s & 1) << s;
        EXPECT_EQ(dump.valueAt("CNT", 25 * s), s) << s;
        EXPECT_EQ(dump.valueAt("CNT", 25 * s + 24), s) << "held for the whole tick";
    }
    EXPECT_EQ(dump.lastTime, 16 * 25) << "the last step lasts a tick as well";
    // Only changes are written: CLK and CNT change at every step.
    EXPECT_EQ(dump.changes.size(), 32u);
}

TEST(VcdWriter, TimescaleFollowsTheTickFrequency) {
    EXPECT_EQ(VcdTimeBase(1e6).timescale(), "1 us");
    EXPECT_EQ(VcdTimeBase(50e6).timescale(), "10 ns");
    EXPECT_EQ(VcdTimeBase(1525.878906).timescale(), "100 ns") << "655360.0001 ns is no whole unit";
    // 1.695 us per tick is no whole number of any unit: nanoseconds, each start rounded.
    const VcdTimeBase rounded(589824);
    EXPECT_EQ(rounded.timescale(), "1 ns");
    EXPECT_EQ(rounded.stepTime(3), 5086);
    EXPECT_EQ(rounded.stepTime(262144), 444444444);
}

TEST(VcdWriter, NamesAreMadeReadableAndAnEmptyWaveHasOnlyItsHeader) {
    TDigitalWave wave = waveOf({singleSignal("my net[1]", 2), singleSignal("", 3)}, {4, 0});
    const VcdDump dump = readVcd(vcdText(wave, 1000));
    EXPECT_NE(dump.idOf("my_net_1_"), "");
    EXPECT_NE(dump.idOf("S1"), "");
    EXPECT_EQ(dump.valueAt("my_net_1_", 0), 1);
    EXPECT_EQ(dump.valueAt("my_net_1_", 1), 0);

    setWaveLength(wave, 0);
    const std::string text = vcdText(wave, 1000);
    EXPECT_NE(text.find("$enddefinitions $end"), std::string::npos);
    EXPECT_EQ(text.find('#'), std::string::npos);
}

class VcdFile : public DigitalScratch {};

TEST_F(VcdFile, WrittenWholeOrReported) {
    RecordingMessages messages;
    ASSERT_TRUE(writeVcdFile(countingWave(), 4000, folder / "out.vcd", "out.vcd", messages));
    std::ifstream in(folder / "out.vcd");
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), vcdText(countingWave(), 4000));
    EXPECT_FALSE(
        writeVcdFile(countingWave(), 4000, folder / "missing" / "out.vcd", "x.vcd", messages));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Nie je mozne otvorit subor: x.vcd"});
}

}  // namespace
