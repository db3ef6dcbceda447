// "q745ctl eval FORMULA": one formula evaluated with the given permissions and values.
#include <algorithm>
#include <memory>
#include <sstream>

#include "Command.h"
#include "OptionChecks.h"
#include "core/UnitFormat.h"
#include "generators/ComplexMath.h"

namespace {

constexpr const char* kSymbols[] = {"x", "y", "z", "n", "percent"};

std::vector<std::string> symbolList(const std::string& list) {
    std::vector<std::string> names;
    std::stringstream text(list);
    for (std::string name; std::getline(text, name, ',');)
        names.push_back(name);
    return names;
}

CLI::Validator symbols() {
    return CLI::Validator(
        [](std::string& list) -> std::string {
            for (const std::string& name : symbolList(list)) {
                if (std::ranges::find(kSymbols, name) == std::end(kSymbols))
                    return "A symbol of --allow must be x, y, z, n or percent: " + name;
            }
            return {};
        },
        "");
}

struct EvalOptions {
    std::string formula;
    std::string allow;
    double x = 0;
    double y = 0;
    double z = 0;
};

int evaluate(const EvalOptions& options, CommandStreams& streams) {
    FormulaContext context;
    for (const std::string& name : symbolList(options.allow)) {
        context.AllowX = context.AllowX || name == "x";
        context.AllowY = context.AllowY || name == "y";
        context.AllowZ = context.AllowZ || name == "z";
        context.AllowN = context.AllowN || name == "n";
        context.AllowPercent = context.AllowPercent || name == "percent";
    }
    context.X = options.x;
    context.Y = options.y;
    context.Z = options.z;
    TComplexMath expression(context);
    streams.out << plainNumberText(expression.evaluateText(options.formula)) << '\n';
    return 0;
}

void define(CLI::App& tool, CommandSet& commands) {
    auto options = std::make_shared<EvalOptions>();
    CLI::App* command = tool.add_subcommand("eval", "evaluate a formula of the waveform editors");
    // A formula may begin with "-": see takeDashedArgument.
    command->allow_extras();
    CLI::Option* formula =
        command->add_option("FORMULA", options->formula,
                            "the formula (required); after \"--\" when it begins with \"--\"");
    command->add_option("--allow", options->allow, "the symbols the formula may use")
        ->type_name("x,y,z,n,percent")
        ->transform(symbols());
    command->add_option("--x", options->x, "the value of x (and n)")
        ->transform(decimalNumber("--x"));
    command->add_option("--y", options->y, "the value of y")->transform(decimalNumber("--y"));
    command->add_option("--z", options->z, "the value of z")->transform(decimalNumber("--z"));
    commands.setRun(command, [options, command, formula](CommandStreams& streams) {
        takeDashedArgument(*command, *formula, options->formula);
        return evaluate(*options, streams);
    });
}

const CommandRegistration registration(Command{20, define});

}  // namespace
