// "Waves.dat": the 32 gallery slots and the two imported waveforms.
#include "FuzzCheck.h"
#include "waves/WaveformStore.h"

namespace {

std::vector<std::uint8_t> rewriteStore(std::span<const std::uint8_t> content) {
    return encodeStore(decodeStore(content).store);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    checkRewrittenFile({data, size}, kLargestStoreFile, rewriteStore);
    return 0;
}
