// ".gaw": one waveform record.
#include "FuzzCheck.h"
#include "waves/GawFile.h"

namespace {

std::vector<std::uint8_t> rewriteGaw(std::span<const std::uint8_t> content) {
    ByteWriter out;
    writeRecord(out, decodeGaw(content));
    return out.take();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> written;
    try {
        written = rewriteGaw({data, size});
    } catch (const InvalidFile&) {
        return 0;
    }
    FUZZ_CHECK(size <= kLargestGawFile);
    checkWrittenFileReadsBack(written, rewriteGaw);
    return 0;
}
