// q745ctl: the command-line companion of the Q745 for users who script their bench.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "Command.h"

namespace {

void printUsage(std::ostream& out) {
    out << "Usage: q745ctl COMMAND [ARGUMENTS]\n\nCommands:\n";
    for (const Command& command : registeredCommands()) out << "  " << command.usage << '\n';
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "help") {
        printUsage(args.empty() ? std::cerr : std::cout);
        return args.empty() ? 1 : 0;
    }
    for (const Command& command : registeredCommands()) {
        if (command.name != args[0]) continue;
        CommandContext context{std::vector<std::string>(args.begin() + 1, args.end()), std::cout,
                               std::cerr};
        try {
            return command.run(context);
        } catch (const std::exception& error) {
            std::cerr << error.what() << '\n';
            return 1;
        }
    }
    std::cerr << "Unknown command: " << args[0] << '\n';
    printUsage(std::cerr);
    return 1;
}
