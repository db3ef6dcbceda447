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
    checkRewrittenFile({data, size}, kLargestMainWaveFile, rewriteMainWave);
    return 0;
}
