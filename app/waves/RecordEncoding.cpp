#include "waves/RecordEncoding.h"

#include "core/UserError.h"

void writeRecord(ByteWriter& out, const WaveformRecord& record) {
    writeString(out, record.name());
    out.u8(record.imported);
    out.i32(record.pointCount());
    out.raw(record.points);
    out.i32(record.optionsKind);
    out.i32(record.generatorKind);
    out.i32(record.paramCount());
    out.raw(record.params);
    out.i32(record.maxSample);
    out.i32(record.minSample);
    out.f64(record.meanSample);
    out.i32(record.peakToPeak);
    out.i32(record.harmonicCount);
}

WaveformRecord readRecord(ByteReader& in) {
    WaveformRecord record;
    record.setName(readString(in));
    record.imported = in.u8();
    const std::int32_t pointCount = in.i32();
    if (pointCount < 0 || pointCount > kMaxRecordPointCount) throw InvalidFile();
    // take() checks the remaining length first, so a false count never allocates.
    std::span<const std::uint8_t> points = in.take(static_cast<std::size_t>(pointCount));
    record.points.assign(points.begin(), points.end());
    record.optionsKind = in.i32();
    record.generatorKind = in.i32();
    const std::int32_t paramCount = in.i32();
    if (paramCount < 0 || paramCount > kMaxParamCount) throw InvalidFile();
    std::span<const std::uint8_t> params = in.take(static_cast<std::size_t>(paramCount));
    record.params.assign(params.begin(), params.end());
    record.maxSample = in.i32();
    record.minSample = in.i32();
    record.meanSample = in.f64();
    record.peakToPeak = in.i32();
    record.harmonicCount = in.i32();
    return record;
}
