// "q745ctl eval FORMULA": one formula evaluated with the given permissions and values.
#include <sstream>
#include <stdexcept>

#include "Command.h"
#include "core/UnitFormat.h"
#include "generators/ComplexMath.h"

namespace {

void allow(FormulaContext& context, const std::string& list) {
    std::stringstream names(list);
    std::string name;
    while (std::getline(names, name, ',')) {
        if (name == "x")
            context.AllowX = true;
        else if (name == "y")
            context.AllowY = true;
        else if (name == "z")
            context.AllowZ = true;
        else if (name == "n")
            context.AllowN = true;
        else if (name == "percent")
            context.AllowPercent = true;
        else
            throw std::invalid_argument("Unknown symbol in --allow: " + name);
    }
}

double numberOption(ArgumentList& arguments, const std::string& name) {
    const std::optional<std::string> text = arguments.option(name);
    if (!text) return 0;
    const std::optional<double> value = parseDecimal(commaToPoint(*text));
    if (!value) throw std::invalid_argument("Not a number after " + name + ": " + *text);
    return *value;
}

int evaluate(CommandContext& command) {
    ArgumentList arguments(command.args);
    FormulaContext context;
    if (std::optional<std::string> list = arguments.option("--allow")) allow(context, *list);
    context.X = numberOption(arguments, "--x");
    context.Y = numberOption(arguments, "--y");
    context.Z = numberOption(arguments, "--z");
    const std::vector<std::string> rest = arguments.positional();
    if (rest.size() != 1)
        throw std::invalid_argument(
            "Usage: q745ctl eval FORMULA [--allow x,y,z,n,percent] [--x V] [--y V] [--z V]");
    TComplexMath expression(context);
    command.out << plainNumberText(expression.evaluateText(rest.front())) << '\n';
    return 0;
}

const CommandRegistration registration(Command{
    "eval",
    "eval FORMULA [--allow x,y,z,n,percent] [--x V] [--y V] [--z V]\n"
    "                            evaluate a formula of the waveform editors",
    evaluate});

}  // namespace
