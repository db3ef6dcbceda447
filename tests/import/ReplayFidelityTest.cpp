#include <gtest/gtest.h>

#include "import/ReplayFidelity.h"
#include "import/TrackedCursors.h"
#include "waves/WaveformRecord.h"

TEST(ReplayFidelity, RateDifferenceAndReadout) {
    EXPECT_DOUBLE_EQ(*rateDifferencePpm(1e6, 1e6 + 1.5), 1.5);
    EXPECT_FALSE(rateDifferencePpm(-1, 1e6));
    ReplayFidelity fidelity;
    fidelity.recordedRate = 1e6;
    fidelity.producedRate = 999999.1;
    EXPECT_EQ(replayRateText(fidelity), "Recorded 1.00000MHz, plays 999.999kHz: -0.9 ppm");
    fidelity.recordedRate = -1;
    EXPECT_EQ(replayRateText(fidelity), "Recorded rate unknown, plays 999.999kHz");
    fidelity.recordedRate.reset();
    EXPECT_EQ(replayRateText(fidelity), "No recorded rate, plays 999.999kHz");
}

TEST(ReplayFidelity, NotesSayWhatIsNotPlayedAsRecorded) {
    ReplayFidelity fidelity;
    EXPECT_EQ(replayNoteText(fidelity), "Whole stretch, nothing clipped");
    ChannelReplay& a = fidelity.channels[0];
    a = {true, 300000, kMaxRecordPointCount, 12, false, 40000, 16000};
    ChannelReplay& b = fidelity.channels[1];
    b = {true, 10, 10, 0, true, 800, 801};
    EXPECT_EQ(replayNoteText(fidelity),
              "A: 262144 of 300000 points fit the memory; A: level 16V of 40V; "
              "A: 12 points clipped; B: values limited to 0-255");
}

TEST(ReplayFidelity, StretchesLongerThanTheMemoryKeepTheirStart) {
    EXPECT_EQ(stretchWithinMemory({5, 100}).second, 100);
    const CursorPair longer = stretchWithinMemory({400000, 10});
    EXPECT_EQ(longer.first, 10 + kMaxRecordPointCount + 1);
    EXPECT_EQ(longer.second, 10);
}

TEST(ReplayFidelity, PointsBeyondTheOutputStage) {
    std::vector<std::uint8_t> points{1, 128, 255};
    // 16 V peak to peak around 0 V stays within +-8 V; shifted by 4 V it does not.
    EXPECT_EQ(pointsBeyondOutput(points, {}, 4096, 2048), 0);
    EXPECT_EQ(pointsBeyondOutput(points, {}, 4096, 4096), 1);
    // The attenuator follows the output stage: the same codes clip there too.
    EXPECT_EQ(pointsBeyondOutput(points, {-1, generator::OutputMinus20dB}, 4096, 0), 1);
}

TEST(TrackedCursors, PairMovesTogetherWithinTheRecord) {
    EXPECT_EQ(trackedPair({0, 100}, {0, 130}, 2, 1000).first, 30);
    // Held at the start and one past the record's end.
    EXPECT_EQ(trackedPair({10, 100}, {-50, 100}, 1, 1000).first, 0);
    const CursorPair end = trackedPair({100, 10}, {100, 990}, 2, 1000);
    EXPECT_EQ(end.first, 1001);
    EXPECT_EQ(end.second, 911);
}
