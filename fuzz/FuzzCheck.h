#pragma once

#include <cstdio>
#include <cstdlib>
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
