#include "digital/CellEdit.h"

#include "core/UnitFormat.h"
#include "digital/BusValueDialog.h"
#include "digital/HexText.h"
#include "digital/IntegerText.h"

bool editCell(TDigitalWave& wave, int signal, std::int32_t step, BusValueDialog& dialog,
              const std::function<bool(int signal)>& allowChange) {
    if (!wave.hasSignal(signal) || step < 0 || step >= wave.length()) return false;
    if (allowChange && !allowChange(signal)) return false;
    const TSignal& edited = wave.signals[static_cast<std::size_t>(signal)];
    std::uint16_t& word = wave.word(step);
    const std::uint16_t current = getSignalValue(edited, word);
    if (!edited.isBus()) {
        setSignalValue(edited, word, current == 0 ? 1 : 0);
        return true;
    }
    const std::optional<std::string> typed = dialog.askBusValue(upperHex(current, 2));
    if (!typed) return false;
    const std::uint32_t value = parseHex(*typed);
    setSignalValue(edited, word, static_cast<std::uint16_t>(value));
    return true;
}

bool setCounter(TSignal& signal, std::string_view text) {
    const std::optional<std::int32_t> counter = parseInteger32(text);
    if (!counter) return false;
    signal.counter = *counter;
    return true;
}
