#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One entry of the update list on the maker's server: where the file is offered, its version
// and the name under which it is stored in "Updates".
struct TUpdate {
    std::string url;
    int major = 0;
    int minor = 0;
    int release = 0;
    int build = 0;
    std::string fileName;
};

// An entry's version against the program's own.
enum class UpdateAge { Old, Same, New };

// One line of the list (without its LF; CR characters are ignored): the url, ";", four decimal
// numbers each ended by "." or ";", the file name and an optional closing ";". Nothing when
// the line is invalid: it ends before the four numbers are complete, a number is not a decimal
// integer, or the file name is not a plain file name (empty, ".", "..", or holding a path
// separator), which would put the download outside its folder.
std::optional<TUpdate> parseUpdateLine(std::string_view line);

// Every valid line of a list body (8-bit text, lines ended by LF), in list order.
std::vector<TUpdate> parseUpdateList(std::string_view body);

// -1, 0 or 1 as a is lower than, equal to or higher than b, number by number, major first.
int compareVersions(const std::array<int, 4>& a, const std::array<int, 4>& b);
std::array<int, 4> versionOf(const TUpdate& update);
// "major.minor.release.build".
std::string versionText(const TUpdate& update);
UpdateAge updateAge(const TUpdate& update, const std::array<std::uint16_t, 4>& programVersion);

// The entry than which no other is newer; of several with the highest version the last one.
// Nothing for an empty list.
std::optional<std::size_t> newestUpdate(const std::vector<TUpdate>& updates);
