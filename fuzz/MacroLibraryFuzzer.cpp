// "DMacros.dat": the macro library, and the order in which its list shows it.
#include "FuzzCheck.h"
#include "digital/MacroLibrary.h"

namespace {

std::vector<std::uint8_t> rewriteLibrary(std::span<const std::uint8_t> content) {
    MacroLibrary library;
    decodeLibrary(content, library);
    return encodeLibrary(library);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MacroLibrary library;
    try {
        decodeLibrary({data, size}, library);
    } catch (const InvalidFile&) {
        // What was read so far stays, padded with empty entries; the editor shows it.
        const std::vector<int> order = libraryOrder(library);
        FUZZ_CHECK(order.size() == library.size());
        return 0;
    }
    const std::vector<int> order = libraryOrder(library);
    std::vector<bool> listed(library.size());
    for (int index : order) {
        FUZZ_CHECK(index >= 0 && static_cast<std::size_t>(index) < library.size());
        FUZZ_CHECK(!listed[static_cast<std::size_t>(index)]);
        listed[static_cast<std::size_t>(index)] = true;
    }
    checkWrittenFileReadsBack(encodeLibrary(library), rewriteLibrary);
    return 0;
}
