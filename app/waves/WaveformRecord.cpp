#include "waves/WaveformRecord.h"

void WaveformRecord::setName(std::string_view name) {
    name_.assign(name.substr(0, kMaxWaveNameLength));
}

void copyRecord(const WaveformRecord& source, WaveformRecord& target) {
    target = source;
}

void clearRecord(WaveformRecord& record) {
    std::vector<std::uint8_t>().swap(record.points);
    std::vector<std::uint8_t>().swap(record.params);
    record.imported = 0;
    record.optionsKind = kOptionsNone;
    record.generatorKind = kGeneratorPlain;
}

void setParams(WaveformRecord& record, std::span<const std::uint8_t> bytes) {
    record.params.assign(bytes.begin(), bytes.end());
}
