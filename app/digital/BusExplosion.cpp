#include "digital/BusExplosion.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "core/UnitFormat.h"

namespace {

struct GroupMember {
    std::string base;
    int number;
};

// The base and two-digit number of a name such as "DATA07".
std::optional<GroupMember> groupMemberOf(const std::string& name) {
    if (name.size() < 3) return std::nullopt;
    const char tens = name[name.size() - 2];
    const char ones = name[name.size() - 1];
    if (tens < '0' || tens > '9' || ones < '0' || ones > '9') return std::nullopt;
    return GroupMember{name.substr(0, name.size() - 2), (tens - '0') * 10 + (ones - '0')};
}

// Indexes of the signals that belong to the group of `base`, whatever their width.
std::vector<int> groupOf(const TDigitalWave& wave, const std::string& base) {
    std::vector<int> members;
    for (int i = 0; i < wave.signalCount; ++i) {
        const auto member = groupMemberOf(wave.signals[static_cast<std::size_t>(i)].name);
        if (member && member->base == base) members.push_back(i);
    }
    return members;
}

void removeSignal(TDigitalWave& wave, int index) {
    std::move(wave.signals.begin() + index + 1, wave.signals.begin() + wave.signalCount,
              wave.signals.begin() + index);
    wave.signals[static_cast<std::size_t>(--wave.signalCount)] = TSignal{};
}

void insertSignal(TDigitalWave& wave, int index, TSignal signal) {
    std::move_backward(wave.signals.begin() + index, wave.signals.begin() + wave.signalCount,
                       wave.signals.begin() + wave.signalCount + 1);
    wave.signals[static_cast<std::size_t>(index)] = std::move(signal);
    ++wave.signalCount;
}

}  // namespace

bool explodeBus(TDigitalWave& wave, int index) {
    if (!wave.hasSignal(index)) return false;
    const TSignal bus = wave.signals[static_cast<std::size_t>(index)];
    if (!bus.isBus() || wave.signalCount - 1 + bus.width > kMaxSignals) return false;
    removeSignal(wave, index);
    for (int i = bus.width - 1; i >= 0; --i) {
        TSignal single;
        single.name = bus.name + twoDigits(i);
        single.width = 1;
        single.pins[0].mask = bus.pins[static_cast<std::size_t>(i)].mask;
        single.pins[0].shift = static_cast<std::int8_t>(lineOfMask(single.pins[0].mask));
        insertSignal(wave, index, std::move(single));
    }
    return true;
}

bool canImplode(const TDigitalWave& wave, int index) {
    if (!wave.hasSignal(index)) return false;
    const TSignal& selected = wave.signals[static_cast<std::size_t>(index)];
    const auto member = groupMemberOf(selected.name);
    if (selected.isBus() || !member) return false;
    std::vector<bool> seen(100, false);
    int highest = -1;
    int count = 0;
    for (int i : groupOf(wave, member->base)) {
        const TSignal& signal = wave.signals[static_cast<std::size_t>(i)];
        const int number = groupMemberOf(signal.name)->number;
        if (signal.isBus() || number >= kMaxSignalWidth || seen[static_cast<std::size_t>(number)])
            return false;
        seen[static_cast<std::size_t>(number)] = true;
        highest = std::max(highest, number);
        ++count;
    }
    return count == highest + 1;
}

int implodeSignal(TDigitalWave& wave, int index) {
    if (!canImplode(wave, index)) return -1;
    const std::string base =
        groupMemberOf(wave.signals[static_cast<std::size_t>(index)].name)->base;
    TSignal bus;
    bus.name = base;
    int insertAt = index;
    int highest = 0;
    // Members are taken from the end, so that the indexes still to visit stay valid.
    const std::vector<int> members = groupOf(wave, base);
    for (auto it = members.rbegin(); it != members.rend(); ++it) {
        const TSignal& signal = wave.signals[static_cast<std::size_t>(*it)];
        const int number = groupMemberOf(signal.name)->number;
        PinEntry& pin = bus.pins[static_cast<std::size_t>(number)];
        pin.mask = signal.pins[0].mask;
        pin.shift = static_cast<std::int8_t>(signal.pins[0].shift - number);
        highest = std::max(highest, number);
        if (*it < index) --insertAt;
        removeSignal(wave, *it);
    }
    bus.width = static_cast<std::uint8_t>(highest + 1);
    insertSignal(wave, insertAt, std::move(bus));
    return insertAt;
}
