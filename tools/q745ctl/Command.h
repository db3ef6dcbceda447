#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <vector>

// q745ctl is put together from command files: each .cpp registers its sub-commands (and the
// file kinds that "inspect" recognises) with a static CommandRegistration, so that areas of the
// project add commands without touching each other's files.

struct CommandContext {
    std::vector<std::string> args;  // the arguments after the command's name
    std::ostream& out;
    std::ostream& err;
};

// Returns the exit code: 0 success, 1 failure (the message already printed on err).
using CommandHandler = std::function<int(CommandContext&)>;

struct Command {
    std::string name;   // "inspect", "eval", "make", ...
    std::string usage;  // one or more lines for the help text
    CommandHandler run;
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

const std::vector<Command>& registeredCommands();
const std::vector<FileInspector>& registeredInspectors();

// Small helpers for argument lists: "--name value" options and flags.
class ArgumentList {
public:
    explicit ArgumentList(std::vector<std::string> args) : args_(std::move(args)) {}
    // Removes "--name" and returns true when it was present.
    bool flag(const std::string& name);
    // Removes "--name VALUE" and returns VALUE; throws std::invalid_argument when the value is
    // missing.
    std::optional<std::string> option(const std::string& name);
    // Removes "--name A B" and returns both values.
    std::optional<std::pair<std::string, std::string>> optionPair(const std::string& name);
    // The arguments left over; throws std::invalid_argument on an unknown "--option".
    std::vector<std::string> positional() const;

private:
    std::vector<std::string> args_;
};
