// "q745ctl make": waveforms made as the gallery's editors make them, written as ".gaw" files.
#include <stdexcept>

#include "Command.h"
#include "core/UnitFormat.h"
#include "core/UserMessages.h"
#include "generators/ComplexMath.h"
#include "generators/FormulaWaveform.h"
#include "generators/SquareWave.h"
#include "waves/GawFile.h"
#include "waves/PredefinedWaveforms.h"
#include "waves/WaveformStatistics.h"

namespace {

// Collects the message boxes of the cores; the command fails with their texts.
class CollectedMessages final : public UserMessages {
public:
    MessageResult messageBox(const std::string& text, MessageKind, MessageButtons) override {
        if (!texts_.empty()) texts_ += '\n';
        texts_ += text;
        return MessageResult::Ok;
    }
    [[noreturn]] void fail() const { throw std::runtime_error(texts_); }

private:
    std::string texts_;
};

std::string outputOption(ArgumentList& arguments) {
    std::optional<std::string> file = arguments.option("-o");
    if (!file) throw std::invalid_argument("Missing -o OUT.gaw");
    return *file;
}

void write(const WaveformRecord& record, const std::string& file) {
    CollectedMessages messages;
    if (!exportRecord(record, file, messages)) messages.fail();
}

void makePredefined(ArgumentList& arguments, const std::string& shape) {
    const char* shapes[] = {"sine", "saw", "triangle", "square", "noise"};
    int slot = 0;
    while (slot < kPredefinedSlotCount && shape != shapes[slot])
        ++slot;
    if (slot == kPredefinedSlotCount)
        throw std::invalid_argument("Unknown predefined waveform: " + shape);
    const std::string file = outputOption(arguments);
    arguments.positional();
    WaveformStore store;
    resetPredefined(store);
    write(store.slots[static_cast<std::size_t>(slot)], file);
}

void makeFormula(ArgumentList& arguments, const std::string& formula) {
    MathSlot slot;
    slot.formula = formula;
    if (auto real = arguments.optionPair("--real")) std::tie(slot.realStart, slot.realEnd) = *real;
    if (auto wave = arguments.optionPair("--wave")) std::tie(slot.waveStart, slot.waveEnd) = *wave;
    MathConstants constants;
    if (auto y = arguments.option("--y")) {
        constants.allowY = true;
        constants.yValue = *y;
    }
    if (auto z = arguments.option("--z")) {
        constants.allowZ = true;
        constants.zValue = *z;
    }
    const bool normalize = !arguments.flag("--no-normalize");
    const std::string name = arguments.option("--name").value_or("Untitled");
    const std::string file = outputOption(arguments);
    arguments.positional();

    MathParameterBlock block;
    block.normalize = normalize;
    setSimpleFormula(block, slot, constants);
    WaveformRecord record = untitledWaveform();
    record.setName(name);
    FormulaContext context;
    TComplexMath expression(context);
    CollectedMessages messages;
    if (!computeFormulaWaveform(block, expression, record, messages)) messages.fail();
    finishFormulaWaveform(block, record);
    write(record, file);
}

void makeSquare(ArgumentList& arguments) {
    const std::optional<std::string> low = arguments.option("--low");
    if (!low) throw std::invalid_argument("Missing --low PERCENT");
    const std::optional<double> share = parseDecimal(*low);
    if (!share || *share != static_cast<std::int32_t>(*share))
        throw std::invalid_argument("Not a whole number after --low: " + *low);
    const std::string file = outputOption(arguments);
    arguments.positional();
    WaveformStore store;
    resetPredefined(store, 0);
    WaveformRecord record = store.slots[3];
    applySquareWave(record, static_cast<std::int32_t>(*share));
    write(record, file);
}

int make(CommandContext& command) {
    if (command.args.empty()) throw std::invalid_argument("Usage: q745ctl make KIND ...");
    const std::string kind = command.args[0];
    if (kind == "square") {
        ArgumentList rest(std::vector<std::string>(command.args.begin() + 1, command.args.end()));
        makeSquare(rest);
        return 0;
    }
    if (command.args.size() < 2)
        throw std::invalid_argument("Usage: q745ctl make " + kind + " ...");
    ArgumentList rest(std::vector<std::string>(command.args.begin() + 2, command.args.end()));
    if (kind == "predefined")
        makePredefined(rest, command.args[1]);
    else if (kind == "formula")
        makeFormula(rest, command.args[1]);
    else
        throw std::invalid_argument("Unknown kind of waveform: " + kind);
    return 0;
}

const CommandRegistration registration(Command{
    "make",
    "make predefined sine|saw|triangle|square|noise -o OUT.gaw\n"
    "  make formula FORMULA [--real START END] [--wave START END] [--y V] [--z V]\n"
    "               [--no-normalize] [--name NAME] -o OUT.gaw\n"
    "  make square --low PERCENT -o OUT.gaw\n"
    "                            write a waveform made as the editors make it",
    make});

}  // namespace
