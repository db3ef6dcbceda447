#include "digital/MacroBlock.h"

#include <algorithm>

#include "core/UserError.h"

namespace {

constexpr const char* kBlockStart = "Macro";
constexpr const char* kBlockEnd = "Macro end";
constexpr std::size_t kBindingSize = 16;

}  // namespace

void writeMacroBlock(ByteWriter& out, const TDigitalMacro& macro) {
    writeString(out, kBlockStart);
    writeString(out, macro.name);
    writeString(out, macro.description);
    writeWaveBlock(out, macro.wave);
    for (std::int8_t target : macro.targetMap)
        out.u8(static_cast<std::uint8_t>(target));
    out.i32(macro.position);
    out.i32(macro.remaining);
    out.i32(macro.cycles);
    out.i32(macro.fileOffset);
    out.u8(macro.valueWidth);
    out.u8(macro.valueSource);
    out.i32(macro.value);
    out.i32(static_cast<std::int32_t>(macro.bindings.size()));
    for (const MacroBinding& binding : macro.bindings) {
        out.i32(binding.bit);
        out.u8(binding.invert);
        out.u8(0);
        out.u8(0);
        out.u8(0);
        out.i32(binding.signal);
        out.i32(binding.step);
    }
    writeString(out, kBlockEnd);
}

void readMacroBlock(ByteReader& in, TDigitalMacro& macro) {
    clearMacro(macro);
    if (readString(in) != kBlockStart) throw InvalidFile();
    macro.name = readString(in);
    macro.description = readString(in);
    readWaveBlock(in, macro.wave);
    for (std::int8_t& target : macro.targetMap)
        target = static_cast<std::int8_t>(in.u8());
    macro.position = in.i32();
    macro.remaining = in.i32();
    macro.cycles = in.i32();
    macro.fileOffset = in.i32();
    macro.valueWidth = in.u8();
    macro.valueSource = in.u8();
    if (macro.valueWidth > 3 || macro.valueSource > kValueFromFile) throw InvalidFile();
    macro.value = in.i32();
    const std::int32_t count = in.i32();
    const std::size_t cells =
        std::size_t{kMaxSignals} * static_cast<std::size_t>(std::max(macro.wave.length(), 1));
    if (count < 0 || static_cast<std::size_t>(count) > in.remaining() / kBindingSize ||
        static_cast<std::size_t>(count) > cells)
        throw InvalidFile();
    macro.bindings.resize(static_cast<std::size_t>(count));
    for (MacroBinding& binding : macro.bindings) {
        binding.bit = in.i32();
        binding.invert = in.u8();
        in.skip(3);
        binding.signal = in.i32();
        binding.step = in.i32();
    }
    if (readString(in) != kBlockEnd) throw InvalidFile();
}
