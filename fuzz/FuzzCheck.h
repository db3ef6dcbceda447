#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <vector>

#include "core/UserError.h"

// A property of the code under test. A violation stops the run like a crash, so that the
// fuzzer keeps the input that shows it.
#define FUZZ_CHECK(condition)                                                          \
    do {                                                                               \
        if (!(condition)) {                                                            \
            std::fprintf(stderr, "%s:%d: property violated: %s\n", __FILE__, __LINE__, \
                         #condition);                                                  \
            std::abort();                                                              \
        }                                                                              \
    } while (false)

// `written` is what our writer made of a file that read: reading it and writing again gives
// the same bytes, and the same bytes with one more after them are refused (nothing may follow
// a file of ours). `rewrite` reads bytes and writes what it read; it raises InvalidFile.
template <typename Rewrite>
void checkWrittenFileReadsBack(const std::vector<std::uint8_t>& written, Rewrite rewrite) {
    std::vector<std::uint8_t> again;
    try {
        again = rewrite(written);
    } catch (const InvalidFile&) {
        FUZZ_CHECK(!"a file written by our writer is refused");
    }
    FUZZ_CHECK(again == written);
    std::vector<std::uint8_t> longer = written;
    longer.push_back(0);
    bool refused = false;
    try {
        rewrite(longer);
    } catch (const InvalidFile&) {
        refused = true;
    }
    FUZZ_CHECK(refused);
}

// The check of a reader of a file of ours that the writer rewrites whole: content the reader
// refuses needs nothing more; content it takes is at most `largestValidSize` bytes, and what
// the writer makes of it reads back as above.
template <typename Rewrite>
void checkRewrittenFile(std::span<const std::uint8_t> content, std::size_t largestValidSize,
                        Rewrite rewrite) {
    std::vector<std::uint8_t> written;
    try {
        written = rewrite(content);
    } catch (const InvalidFile&) {
        return;
    }
    FUZZ_CHECK(content.size() <= largestValidSize);
    checkWrittenFileReadsBack(written, rewrite);
}
