// The update list of the maker's server, the choice of its newest entry and the age of each
// against the program's version.
#include <string_view>

#include "FuzzCheck.h"
#include "update/UpdateList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<TUpdate> updates =
        parseUpdateList(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const TUpdate& update : updates) {
        // The download is stored under this name in "Updates": it never leads out of it.
        const std::string& name = update.fileName;
        FUZZ_CHECK(!name.empty() && name != "." && name != "..");
        FUZZ_CHECK(name.find_first_of(std::string_view("/\\\0", 3)) == std::string::npos);
        updateAge(update, {1, 0, 0, 0});
    }
    const std::optional<std::size_t> newest = newestUpdate(updates);
    FUZZ_CHECK(newest.has_value() == !updates.empty());
    if (!newest) return 0;
    FUZZ_CHECK(*newest < updates.size());
    const std::array<int, 4> highest = versionOf(updates[*newest]);
    for (std::size_t i = 0; i < updates.size(); ++i) {
        const int order = compareVersions(versionOf(updates[i]), highest);
        FUZZ_CHECK(order <= 0 && -order == compareVersions(highest, versionOf(updates[i])));
        FUZZ_CHECK(i <= *newest || order < 0);
    }
    return 0;
}
