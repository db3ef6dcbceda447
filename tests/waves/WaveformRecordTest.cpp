#include "waves/WaveformRecord.h"

#include <gtest/gtest.h>

#include <string>

TEST(WaveformRecord, NameIsCutTo255Characters) {
    WaveformRecord record;
    record.setName(std::string(300, 'a'));
    EXPECT_EQ(record.name(), std::string(255, 'a'));
    record.setName("Sine");
    EXPECT_EQ(record.name(), "Sine");
}

TEST(WaveformRecord, CopyIsDeep) {
    WaveformRecord source;
    source.setName("Source");
    source.imported = 1;
    source.points = {1, 2, 3};
    source.optionsKind = kOptionsFormula;
    source.generatorKind = kGeneratorFormula;
    source.params = {9, 8};
    source.maxSample = 3;
    source.meanSample = 2;
    source.harmonicCount = 7;

    WaveformRecord target;
    target.points.assign(100, 50);
    copyRecord(source, target);
    EXPECT_EQ(target, source);

    source.points[0] = 200;
    source.params[0] = 0;
    EXPECT_EQ(target.points[0], 1) << "the samples are not shared";
    EXPECT_EQ(target.params[0], 9) << "the parameters are not shared";
}

TEST(WaveformRecord, ClearKeepsNameAndStatistics) {
    WaveformRecord record;
    record.setName("Kept");
    record.imported = 1;
    record.points.assign(16384, 128);
    record.optionsKind = kOptionsSquare;
    record.generatorKind = kGeneratorNoise;
    record.params = {1, 2, 3, 4, 5, 6, 7, 8};
    record.maxSample = 128;
    record.meanSample = 128;
    record.harmonicCount = 3;

    clearRecord(record);
    EXPECT_TRUE(record.isEmpty());
    EXPECT_EQ(record.pointCount(), 0);
    EXPECT_EQ(record.paramCount(), 0);
    EXPECT_EQ(record.points.capacity(), 0u) << "the buffer is released";
    EXPECT_EQ(record.imported, 0);
    EXPECT_EQ(record.optionsKind, kOptionsNone);
    EXPECT_EQ(record.generatorKind, kGeneratorPlain);
    EXPECT_EQ(record.name(), "Kept");
    EXPECT_EQ(record.maxSample, 128);
    EXPECT_EQ(record.harmonicCount, 3);
}

TEST(WaveformRecord, SetParamsCopiesTheBytes) {
    WaveformRecord record;
    record.params = {1, 2, 3};
    const std::uint8_t block[] = {50, 0, 0, 0, 50, 0, 0, 0};
    setParams(record, block);
    EXPECT_EQ(record.params, std::vector<std::uint8_t>(std::begin(block), std::end(block)));
    setParams(record, {});
    EXPECT_EQ(record.paramCount(), 0);
}
