#include "digital/NetList.h"

#include <algorithm>
#include <utility>

int moveNet(TDigitalWave& nets, int index, int direction) {
    const int other = index + direction;
    if (!nets.hasSignal(index) || !nets.hasSignal(other) || other == index) return -1;
    std::swap(nets.signals[static_cast<std::size_t>(index)],
              nets.signals[static_cast<std::size_t>(other)]);
    return other;
}

bool removeNet(TDigitalWave& nets, int index) {
    if (!nets.hasSignal(index)) return false;
    std::move(nets.signals.begin() + index + 1, nets.signals.begin() + nets.signalCount,
              nets.signals.begin() + index);
    nets.signals[static_cast<std::size_t>(--nets.signalCount)] = TSignal{};
    return true;
}
