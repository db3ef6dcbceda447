#include "digital/DigitalWaveBlock.h"

#include <bit>

#include "core/UserError.h"

namespace {

constexpr const char* kBlockStart = "Digital wave";
constexpr const char* kBlockEnd = "Digital wave end";

void writeSignal(ByteWriter& out, const TSignal& signal) {
    writeString(out, signal.name);
    out.u8(signal.width);
    for (const PinEntry& pin : signal.usedPins()) {
        out.u16(pin.mask);
        out.u8(static_cast<std::uint8_t>(pin.shift));
        out.u8(0);
    }
    out.u8(signal.kind);
    out.i32(signal.clockBit);
    out.i32(signal.counter);
}

TSignal readSignal(ByteReader& in) {
    TSignal signal;
    signal.name = readString(in);
    signal.width = in.u8();
    if (signal.width == 0 || signal.width > kMaxSignalWidth) throw InvalidFile();
    for (std::size_t i = 0; i < signal.width; ++i) {
        PinEntry& pin = signal.pins[i];
        pin.mask = in.u16();
        if (!std::has_single_bit(pin.mask)) throw InvalidFile();
        pin.shift = static_cast<std::int8_t>(in.u8());
        in.u8();
    }
    signal.kind = in.u8();
    signal.clockBit = in.i32();
    signal.counter = in.i32();
    return signal;
}

}  // namespace

void writeWaveBlock(ByteWriter& out, const TDigitalWave& wave) {
    writeString(out, kBlockStart);
    out.i32(wave.capacity());
    out.i32(wave.length());
    for (std::uint16_t word : wave.words())
        out.u16(word);
    const auto signals = wave.usedSignals();
    out.i32(static_cast<std::int32_t>(signals.size()));
    for (const TSignal& signal : signals)
        writeSignal(out, signal);
    writeString(out, kBlockEnd);
}

void readWaveBlock(ByteReader& in, TDigitalWave& wave) {
    clearWave(wave);
    if (readString(in) != kBlockStart) throw InvalidFile();
    TDigitalWave result;
    const std::int32_t capacity = in.i32();
    const std::int32_t length = in.i32();
    if (length < 0 || length > capacity || capacity > kMaxWaveLength) throw InvalidFile();
    std::span<const std::uint8_t> words = in.take(static_cast<std::size_t>(length) * 2);
    result.data_.reserve(static_cast<std::size_t>(length));
    for (std::size_t i = 0; i < words.size(); i += 2)
        result.data_.push_back(static_cast<std::uint16_t>(words[i] | words[i + 1] << 8));
    result.capacity_ = capacity;
    result.signalCount = in.i32();
    if (result.signalCount < 0 || result.signalCount > kMaxSignals) throw InvalidFile();
    for (TSignal& signal : result.usedSignals())
        signal = readSignal(in);
    if (readString(in) != kBlockEnd) throw InvalidFile();
    wave = std::move(result);
}
