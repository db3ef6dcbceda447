#include "update/UpdateList.h"

#include "core/UnitFormat.h"

namespace {

bool isPlainFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    return name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

}  // namespace

std::optional<TUpdate> parseUpdateLine(std::string_view rawLine) {
    std::string line;
    line.reserve(rawLine.size());
    for (char c : rawLine)
        if (c != '\r') line += c;
    std::string_view rest(line);

    TUpdate update;
    const std::size_t urlEnd = rest.find(';');
    if (urlEnd == std::string_view::npos) return std::nullopt;
    update.url = rest.substr(0, urlEnd);
    rest.remove_prefix(urlEnd + 1);

    for (int* number : {&update.major, &update.minor, &update.release, &update.build}) {
        const std::size_t end = rest.find_first_of(".;");
        if (end == std::string_view::npos) return std::nullopt;
        const std::optional<int> value = parseInteger(rest.substr(0, end));
        if (!value) return std::nullopt;
        *number = *value;
        rest.remove_prefix(end + 1);
    }

    const std::string_view name = rest.substr(0, rest.find(';'));
    if (!isPlainFileName(name)) return std::nullopt;
    update.fileName = name;
    return update;
}

std::vector<TUpdate> parseUpdateList(std::string_view body) {
    std::vector<TUpdate> updates;
    while (!body.empty()) {
        const std::size_t end = body.find('\n');
        if (std::optional<TUpdate> update = parseUpdateLine(body.substr(0, end)))
            updates.push_back(std::move(*update));
        if (end == std::string_view::npos) break;
        body.remove_prefix(end + 1);
    }
    return updates;
}

int compareVersions(const std::array<int, 4>& a, const std::array<int, 4>& b) {
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] < b[i]) return -1;
        if (a[i] > b[i]) return 1;
    }
    return 0;
}

std::array<int, 4> versionOf(const TUpdate& update) {
    return {update.major, update.minor, update.release, update.build};
}

std::string versionText(const TUpdate& update) {
    return versionText(update.major, update.minor, update.release, update.build);
}

UpdateAge updateAge(const TUpdate& update, const std::array<std::uint16_t, 4>& programVersion) {
    const std::array<int, 4> program{programVersion[0], programVersion[1], programVersion[2],
                                     programVersion[3]};
    const int order = compareVersions(versionOf(update), program);
    return order > 0 ? UpdateAge::New : order == 0 ? UpdateAge::Same : UpdateAge::Old;
}

std::optional<std::size_t> newestUpdate(const std::vector<TUpdate>& updates) {
    std::optional<std::size_t> newest;
    for (std::size_t i = 0; i < updates.size(); ++i)
        if (!newest || compareVersions(versionOf(updates[i]), versionOf(updates[*newest])) >= 0)
            newest = i;
    return newest;
}
