// ".gma": one exported macro, and the writing of a cycle value into its template.
#include <cstring>

#include "FuzzCheck.h"
#include "digital/MacroFile.h"

namespace {

std::vector<std::uint8_t> rewriteMacro(std::span<const std::uint8_t> content) {
    return encodeMacroFile(decodeMacroFile(content));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TDigitalMacro macro;
    try {
        macro = decodeMacroFile({data, size});
    } catch (const InvalidFile&) {
        return 0;
    }
    FUZZ_CHECK(size <= kLargestMacroFile);
    checkWrittenFileReadsBack(encodeMacroFile(macro), rewriteMacro);

    std::uint32_t value = 0;
    std::memcpy(&value, data, std::min<std::size_t>(size, sizeof value));
    const std::int32_t length = macro.wave.length();
    applyMacroValue(value, macro);
    FUZZ_CHECK(macro.wave.length() == length);
    return 0;
}
