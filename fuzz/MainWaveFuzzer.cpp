// "DWave.dat": the main digital wave.
#include "FuzzCheck.h"
#include "digital/MainWaveFile.h"

namespace {

std::vector<std::uint8_t> rewriteMainWave(std::span<const std::uint8_t> content) {
    TDigitalWave wave;
    decodeMainWave(content, wave);
    return encodeMainWave(wave);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> written;
    try {
        written = rewriteMainWave({data, size});
    } catch (const InvalidFile&) {
        return 0;
    }
    FUZZ_CHECK(size <= kLargestMainWaveFile);
    checkWrittenFileReadsBack(written, rewriteMainWave);
    return 0;
}
