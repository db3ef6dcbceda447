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
    checkRewrittenFile({data, size}, kLargestGawFile, rewriteGaw);
    return 0;
}
