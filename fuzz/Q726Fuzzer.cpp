// The Q726 oscilloscope data file.
#include "FuzzCheck.h"
#include "import/Q726DataFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Q726FileResult result;
    try {
        result = parseQ726({data, size});
    } catch (const InvalidFile&) {
        return 0;
    }
    FUZZ_CHECK(!result.samplesA.empty() && !result.samplesB.empty());
    FUZZ_CHECK(result.samplesA.size() <= 35000 && result.samplesB.size() <= 35000);
    FUZZ_CHECK(result.samplesA.size() + result.samplesB.size() < size);
    FUZZ_CHECK(result.rangeA >= 80 && result.rangeB >= 80 && result.sampleRate >= 1000);
    return 0;
}
