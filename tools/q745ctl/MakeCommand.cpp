// "q745ctl make": waveforms made as the gallery's editors make them, written as ".gaw" files.
#include <memory>
#include <stdexcept>

#include "Command.h"
#include "OptionChecks.h"
#include "core/UserMessages.h"
#include "generators/ComplexMath.h"
#include "generators/FormulaWaveform.h"
#include "generators/SquareWave.h"
#include "waves/GawFile.h"
#include "waves/PredefinedWaveforms.h"

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

void write(const WaveformRecord& record, const std::string& file) {
    CollectedMessages messages;
    if (!exportRecord(record, file, messages)) messages.fail();
}

void addOutput(CLI::App& command, std::string& file) {
    command.add_option("-o", file, "the waveform file to write")->required();
}

struct PredefinedOptions {
    int shape = 0;
    std::string file;
};

void definePredefined(CLI::App& make, CommandSet& commands) {
    auto options = std::make_shared<PredefinedOptions>();
    CLI::App* command = make.add_subcommand("predefined", "one of the predefined waveforms");
    command->add_option("SHAPE", options->shape, "the waveform")
        ->required()
        ->type_name("sine|saw|triangle|square|noise")
        ->transform(choice("The predefined waveform",
                           {{"sine"}, {"saw"}, {"triangle"}, {"square"}, {"noise"}}));
    addOutput(*command, options->file);
    commands.setRun(command, [options](CommandStreams&) {
        WaveformStore store;
        resetPredefined(store);
        write(store.slots[static_cast<std::size_t>(options->shape)], options->file);
        return 0;
    });
}

struct FormulaOptions {
    std::string formula;
    std::pair<std::string, std::string> real;
    std::pair<std::string, std::string> wave;
    std::string y;
    std::string z;
    // Which of the options above were given.
    bool hasReal = false;
    bool hasWave = false;
    bool hasY = false;
    bool hasZ = false;
    bool noNormalize = false;
    std::string name = "Untitled";
    std::string file;
};

// As the formula editor: without a range, "Count" in simple mode; with an explicit range, what
// its advanced mode does, "Add to list" with all of its checks, then "Count".
void makeFormula(const FormulaOptions& options) {
    MathSlot slot;
    slot.formula = options.formula;
    if (options.hasReal) std::tie(slot.realStart, slot.realEnd) = options.real;
    if (options.hasWave) std::tie(slot.waveStart, slot.waveEnd) = options.wave;
    MathConstants constants;
    constants.allowY = options.hasY;
    if (options.hasY) constants.yValue = options.y;
    constants.allowZ = options.hasZ;
    if (options.hasZ) constants.zValue = options.z;

    MathParameterBlock block;
    block.normalize = !options.noNormalize;
    FormulaContext context;
    TComplexMath expression(context);
    if (options.hasReal || options.hasWave) {
        block.advancedMode = true;
        addFormulaSlot(block, -1, slot, constants, expression);
    } else {
        setSimpleFormula(block, slot, constants);
    }
    WaveformRecord record = untitledWaveform();
    record.setName(options.name);
    CollectedMessages messages;
    if (!computeFormulaWaveform(block, expression, record, messages)) messages.fail();
    finishFormulaWaveform(block, record);
    write(record, options.file);
}

void defineFormula(CLI::App& make, CommandSet& commands) {
    auto options = std::make_shared<FormulaOptions>();
    CLI::App* command =
        make.add_subcommand("formula", "a waveform of the formula editor (x runs over the range)");
    // A formula may begin with "-": see takeDashedArgument.
    command->allow_extras();
    CLI::Option* formula =
        command->add_option("FORMULA", options->formula,
                            "the formula (required); after \"--\" when it begins with \"--\"");
    CLI::Option* real =
        command->add_option("--real", options->real, "the range of x, as formulas (default 0 2*pi)")
            ->option_text("START END");
    CLI::Option* wave =
        command
            ->add_option("--wave", options->wave,
                         "the points it fills, as formulas (default 0 16383; 50% is 8192)")
            ->option_text("START END");
    CLI::Option* y =
        command->add_option("--y", options->y, "allow the constant y with this value (a formula)");
    CLI::Option* z =
        command->add_option("--z", options->z, "allow the constant z with this value (a formula)");
    command->add_flag("--no-normalize", options->noNormalize,
                      "only limit the values to 1..255 instead of scaling them into it");
    command->add_option("--name", options->name, "the waveform's name (default Untitled)");
    addOutput(*command, options->file);
    commands.setRun(command, [=](CommandStreams&) {
        takeDashedArgument(*command, *formula, options->formula);
        options->hasReal = real->count() > 0;
        options->hasWave = wave->count() > 0;
        options->hasY = y->count() > 0;
        options->hasZ = z->count() > 0;
        makeFormula(*options);
        return 0;
    });
}

struct SquareOptions {
    int low = 50;
    std::string file;
};

void defineSquare(CLI::App& make, CommandSet& commands) {
    auto options = std::make_shared<SquareOptions>();
    CLI::App* command = make.add_subcommand("square", "a square wave of the square-wave editor");
    command->add_option("--low", options->low, "the share of the period at the low level")
        ->required()
        ->transform(wholeNumber("The low share in percent", 0, 100));
    addOutput(*command, options->file);
    commands.setRun(command, [options](CommandStreams&) {
        WaveformStore store;
        resetPredefined(store, 0);
        WaveformRecord record = store.slots[3];
        applySquareWave(record, options->low);
        write(record, options->file);
        return 0;
    });
}

void define(CLI::App& tool, CommandSet& commands) {
    CLI::App* make =
        tool.add_subcommand("make", "write a waveform made as the editors make it (.gaw)");
    make->require_subcommand(1);
    definePredefined(*make, commands);
    defineFormula(*make, commands);
    defineSquare(*make, commands);
}

const CommandRegistration registration(Command{30, define});

}  // namespace
