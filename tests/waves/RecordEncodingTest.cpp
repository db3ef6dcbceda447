#include "waves/RecordEncoding.h"

#include <gtest/gtest.h>

#include "GoldenBytes.h"
#include "core/UserError.h"
#include "waves/GawFile.h"

namespace {

// The table's record: name, imported, N and samples, optionsKind, generatorKind, P and params,
// maxSample, minSample, meanSample (8 bytes), peakToPeak, harmonicCount.
GoldenBytes goldenRecord(const std::string& name, std::int32_t nameLength) {
    GoldenBytes golden;
    golden.int32(nameLength).text(name).byte(1);
    golden.int32(3).byte(10).byte(200).byte(30);
    golden.int32(kOptionsSquare).int32(kGeneratorNoise);
    golden.int32(2).byte(0xAA).byte(0x55);
    golden.int32(200).int32(10).float64(80.0).int32(190).int32(1);
    return golden;
}

WaveformRecord expectedRecord() {
    WaveformRecord record;
    record.setName("Ramp");
    record.imported = 1;
    record.points = {10, 200, 30};
    record.optionsKind = kOptionsSquare;
    record.generatorKind = kGeneratorNoise;
    record.params = {0xAA, 0x55};
    record.maxSample = 200;
    record.minSample = 10;
    record.meanSample = 80.0;
    record.peakToPeak = 190;
    record.harmonicCount = 1;
    return record;
}

}  // namespace

TEST(RecordEncoding, GoldenRecordBothWays) {
    const GoldenBytes golden = goldenRecord("Ramp", 4);
    EXPECT_EQ(decodeGaw(golden.bytes), expectedRecord());

    ByteWriter out;
    writeRecord(out, expectedRecord());
    EXPECT_EQ(out.bytes(), golden.bytes);
}

TEST(RecordEncoding, EmptyRecordHasNoSampleOrParameterBytes) {
    WaveformRecord empty;
    empty.setName("E");
    empty.maxSample = 5;  // statistics are stored as they stand
    empty.meanSample = 2.5;
    empty.harmonicCount = 4;
    ByteWriter out;
    writeRecord(out, empty);
    GoldenBytes golden;
    golden.string("E").byte(0).int32(0).int32(0).int32(0).int32(0);
    golden.int32(5).int32(0).float64(2.5).int32(0).int32(4);
    EXPECT_EQ(out.bytes(), golden.bytes);
    EXPECT_EQ(decodeGaw(golden.bytes), empty);
}

TEST(RecordEncoding, LongNamesAreCutOrRefused) {
    const std::string name300(300, 'n');
    EXPECT_EQ(decodeGaw(goldenRecord(name300, 300).bytes).name(), std::string(255, 'n'));
    const std::string name1025(1025, 'n');
    EXPECT_THROW(decodeGaw(goldenRecord(name1025, 1025).bytes), InvalidFile);
    EXPECT_EQ(decodeGaw(goldenRecord("", -5).bytes).name(), "") << "a negative length is empty";
}

TEST(RecordEncoding, InconsistentCountsAreInvalid) {
    GoldenBytes negativePoints;
    negativePoints.string("x").byte(0).int32(-1);
    EXPECT_THROW(decodeGaw(negativePoints.bytes), InvalidFile);

    // A point count above 262144 is refused before anything is read or allocated.
    GoldenBytes tooMany;
    tooMany.string("x")
        .byte(0)
        .int32(kMaxRecordPointCount + 1)
        .repeat(kMaxRecordPointCount + 1, 128);
    EXPECT_THROW(decodeGaw(tooMany.bytes), InvalidFile);

    GoldenBytes beyondTheEnd;
    beyondTheEnd.string("x").byte(0).int32(kMaxRecordPointCount).repeat(10, 128);
    EXPECT_THROW(decodeGaw(beyondTheEnd.bytes), InvalidFile);

    GoldenBytes negativeParams;
    negativeParams.string("x").byte(0).int32(0).int32(0).int32(0).int32(-8);
    EXPECT_THROW(decodeGaw(negativeParams.bytes), InvalidFile);

    GoldenBytes hugeParams;
    hugeParams.string("x").byte(0).int32(0).int32(0).int32(0).int32(0x7FFFFFFF);
    EXPECT_THROW(decodeGaw(hugeParams.bytes), InvalidFile);
}

TEST(RecordEncoding, EveryTruncationIsInvalid) {
    const std::vector<std::uint8_t> whole = goldenRecord("Ramp", 4).bytes;
    for (std::size_t length = 0; length < whole.size(); ++length) {
        const std::vector<std::uint8_t> part(whole.begin(), whole.begin() + length);
        EXPECT_THROW(decodeGaw(part), InvalidFile) << "cut after " << length << " bytes";
    }
}

TEST(RecordEncoding, LargestImportedRecordIsAccepted) {
    WaveformRecord record;
    record.points.assign(kMaxRecordPointCount, 7);
    ByteWriter out;
    writeRecord(out, record);
    EXPECT_EQ(decodeGaw(out.bytes()).pointCount(), kMaxRecordPointCount);
}
