// q745ctl: the command-line companion of the Q745 for users who script their bench.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "Command.h"

namespace {

// "q745ctl make formula": the chosen commands as far as the command line was read.
std::string chosenPath(const CLI::App& tool) {
    std::string path = tool.get_name();
    for (const CLI::App* at = &tool; !at->get_subcommands().empty();) {
        at = at->get_subcommands().front();
        path += " " + at->get_name();
    }
    return path;
}

// A usage mistake: the parser's message and where to find the right form. The exit code is 1,
// the same as for any failure, so that scripts written for earlier versions keep working.
int usageError(const CLI::App& tool, const CLI::Error& error) {
    std::cerr << error.what() << "\nRun '" << chosenPath(tool) << " --help' for the options.\n";
    return 1;
}

// Every command and kind of command with its options.
void printAllHelp(const CLI::App& tool, std::ostream& out) {
    // The tool's own help, not that of the chosen command "help".
    out << tool.get_formatter()->make_help(&tool, tool.get_name(), CLI::AppFormatMode::Normal);
    const auto everyCommand = [](const CLI::App*) { return true; };
    for (const CLI::App* command : tool.get_subcommands(everyCommand)) {
        if (command->get_name() == "help") continue;
        const std::vector<const CLI::App*> kinds = command->get_subcommands(everyCommand);
        if (kinds.empty()) out << '\n' << command->help(tool.get_name());
        for (const CLI::App* kind : kinds)
            out << '\n' << kind->help(tool.get_name() + " " + command->get_name());
    }
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App tool("The command-line companion of the Q745 for users who script their bench.",
                  "q745ctl");
    tool.require_subcommand(1);
    CommandSet commands;
    for (const Command& command : registeredCommands())
        command.define(tool, commands);
    CLI::App* help = tool.add_subcommand("help", "list every command with its options");
    commands.setRun(help, [&tool](CommandStreams& streams) {
        printAllHelp(tool, streams.out);
        return 0;
    });
    tool.footer("Run 'q745ctl COMMAND --help' for the options of one command.");

    if (argc < 2) {
        std::cerr << tool.help();
        return 1;
    }
    try {
        tool.parse(argc, argv);
    } catch (const CLI::Success& done) {
        return tool.exit(done);
    } catch (const CLI::ParseError& error) {
        return usageError(tool, error);
    }

    CommandStreams streams{std::cout, std::cerr};
    try {
        const CommandRun* run = commands.chosenRun(tool);
        if (run == nullptr) throw CLI::RequiredError("A kind of " + chosenPath(tool));
        return (*run)(streams);
    } catch (const CLI::ParseError& error) {
        return usageError(tool, error);
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
}
