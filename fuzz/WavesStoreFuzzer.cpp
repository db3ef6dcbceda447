// "Waves.dat": the 32 gallery slots and the two imported waveforms.
#include "FuzzCheck.h"
#include "waves/WaveformStore.h"

namespace {

std::vector<std::uint8_t> rewriteStore(std::span<const std::uint8_t> content) {
    return encodeStore(decodeStore(content).store);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> written;
    try {
        written = rewriteStore({data, size});
    } catch (const InvalidFile&) {
        return 0;
    }
    FUZZ_CHECK(size <= kLargestStoreFile);
    checkWrittenFileReadsBack(written, rewriteStore);
    return 0;
}
