#include "digital/MacroLibrary.h"

#include <algorithm>

#include "core/UserError.h"
#include "digital/DigitalFiles.h"
#include "digital/MacroBlock.h"

namespace {

constexpr const char* kHeader = "Digital macros file";
constexpr const char* kTrailer = "Digital macros file end";

// The fewest bytes a macro block can take: its two tags, two empty strings, an empty template
// block, the target map and the numbers.
constexpr std::size_t kSmallestMacroBlock =
    (4 + 5) + 4 + 4 + (4 + 12 + 4 + 4 + 4 + 4 + 16) + 16 + 4 * 4 + 2 + 4 + 4 + (4 + 9);

// True when a is greater than b over the length of the shorter name.
bool greaterOverShorter(const std::string& a, const std::string& b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        if (ca != cb) return ca > cb;
    }
    return false;
}

}  // namespace

std::string lowerCaseName(std::string_view name) {
    std::string lower(name);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

std::vector<std::uint8_t> encodeLibrary(const MacroLibrary& library) {
    ByteWriter out;
    writeString(out, kHeader);
    out.i32(static_cast<std::int32_t>(library.size()));
    for (const TDigitalMacro& macro : library)
        writeMacroBlock(out, macro);
    writeString(out, kTrailer);
    return out.take();
}

void decodeLibrary(std::span<const std::uint8_t> content, MacroLibrary& library) {
    library.clear();
    ByteReader in(content);
    if (readString(in) != kHeader) throw InvalidFile();
    const std::int32_t count = in.i32();
    if (count < 0 || static_cast<std::size_t>(count) > in.remaining() / kSmallestMacroBlock)
        throw InvalidFile();
    library.resize(static_cast<std::size_t>(count));
    for (TDigitalMacro& macro : library) {
        // A block that fails half-way leaves its entry empty.
        TDigitalMacro entry;
        readMacroBlock(in, entry);
        macro = std::move(entry);
    }
    if (readString(in) != kTrailer) throw InvalidFile();
    in.expectEnd();
}

bool loadLibrary(MacroLibrary& library, const std::filesystem::path& folder,
                 UserMessages& messages) {
    library.clear();
    return loadOwnFile(
        folder, kMacroLibraryFileName, kLargestMacroLibraryFile,
        [&](std::span<const std::uint8_t> content) { decodeLibrary(content, library); }, messages);
}

bool saveLibrary(const MacroLibrary& library, const std::filesystem::path& folder,
                 UserMessages& messages) {
    return replaceOwnFile(
        folder, kMacroLibraryFileName, kMacroLibraryTemporaryName, encodeLibrary(library),
        "Nie je mozne ulozit digitalne makra (DMacrosTmp.dat, DMacros.dat)", messages);
}

std::vector<int> libraryOrder(const MacroLibrary& library) {
    const int n = static_cast<int>(library.size());
    std::vector<std::string> names;
    names.reserve(library.size());
    for (const TDigitalMacro& macro : library)
        names.push_back(lowerCaseName(macro.name));
    std::vector<int> order(library.size());
    for (int i = 0; i < n; ++i)
        order[static_cast<std::size_t>(i)] = i;
    // A stable exchange sort: names of which one begins the other are never exchanged.
    for (int i = 0; i + 1 < n; ++i) {
        for (int j = n - 1; j > i; --j) {
            auto& before = order[static_cast<std::size_t>(j - 1)];
            auto& after = order[static_cast<std::size_t>(j)];
            if (greaterOverShorter(names[static_cast<std::size_t>(before)],
                                   names[static_cast<std::size_t>(after)]))
                std::swap(before, after);
        }
    }
    return order;
}
