// The R210 oscilloscope data file, its recognition and what import mode asks of it.
#include "FuzzCheck.h"
#include "import/R210DataFile.h"
#include "import/ScopeFileRecognition.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> content(data, size);
    const ScopeFileKind kind = recogniseScopeContent(content);
    TR210DataFile file;
    try {
        file.parse(content);
    } catch (const InvalidFile&) {
        FUZZ_CHECK(file.length() == 0);
        return 0;
    }
    FUZZ_CHECK(kind == ScopeFileKind::R210);
    const int channels = file.channelCount();
    FUZZ_CHECK(channels == 1 || channels == 2);
    FUZZ_CHECK(!file.samples(file.firstChannel()).empty());
    FUZZ_CHECK(file.length() > 0 && static_cast<std::size_t>(file.length()) <= size);
    const double rate = file.sampleRate();
    FUZZ_CHECK(rate == -1 || rate >= 0);
    for (int channel = 0; channel < 2; ++channel) {
        const std::int32_t range = file.range(channel);
        FUZZ_CHECK(range == -1 || (range >= 80 && range <= 40000));
    }
    return 0;
}
