#pragma once

#include <CLI/CLI.hpp>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <span>
#include <string>
#include <vector>

// q745ctl is put together from command files: each .cpp registers its sub-commands (and the
// file kinds that "inspect" recognises) with a static CommandRegistration, so that areas of the
// project add commands without touching each other's files.

struct CommandStreams {
    std::ostream& out;
    std::ostream& err;
};

// The work of a sub-command once its command line has been read into its options. Returns the
// exit code: 0 success, 1 failure with the message already printed. May throw instead: a
// CLI::ParseError for a usage mistake found only now, anything else for a failure, both printed
// by the tool.
using CommandRun = std::function<int(CommandStreams&)>;

// Collects the sub-commands while the command files define them, and what each runs.
class CommandSet {
public:
    // What runs when command was chosen.
    void setRun(const CLI::App* command, CommandRun run);
    // The run of the deepest chosen command; nothing when that command has no run.
    const CommandRun* chosenRun(const CLI::App& tool) const;

private:
    std::vector<std::pair<const CLI::App*, CommandRun>> runs_;
};

struct Command {
    int order;  // position in the help: the commands are listed by it
    std::function<void(CLI::App& tool, CommandSet& commands)> define;
};

// A file kind for "inspect": recognise answers whether the content is of this kind; inspect
// prints its JSON (with the sample points when `points` is set) or throws with the message.
struct FileInspector {
    std::string kind;
    int priority = 0;  // higher first, so that a strict recogniser wins over a loose one
    std::function<bool(const std::filesystem::path&, std::span<const std::uint8_t>)> recognise;
    std::function<void(const std::filesystem::path&, std::span<const std::uint8_t>, bool points,
                       std::ostream&)>
        inspect;
};

struct CommandRegistration {
    explicit CommandRegistration(Command command);
    explicit CommandRegistration(FileInspector inspector);
};

// Ordered by Command::order.
const std::vector<Command>& registeredCommands();
const std::vector<FileInspector>& registeredInspectors();

// A positional argument that begins with one "-", such as the formula "-x^2", looks like an
// unknown short option to the parser. A command that takes such an argument allows extras, and
// its run takes the first of them into `value` with this when `argument` was not given (before
// or after "--"); every other extra is refused as the parser would refuse it.
void takeDashedArgument(const CLI::App& command, const CLI::Option& argument, std::string& value);
