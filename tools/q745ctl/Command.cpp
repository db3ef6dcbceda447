#include "Command.h"

#include <algorithm>

namespace {

std::vector<Command>& commands() {
    static std::vector<Command> list;
    return list;
}

std::vector<FileInspector>& inspectors() {
    static std::vector<FileInspector> list;
    return list;
}

}  // namespace

void CommandSet::setRun(const CLI::App* command, CommandRun run) {
    runs_.emplace_back(command, std::move(run));
}

const CommandRun* CommandSet::chosenRun(const CLI::App& tool) const {
    const CLI::App* chosen = &tool;
    while (!chosen->get_subcommands().empty())
        chosen = chosen->get_subcommands().front();
    for (const auto& [command, run] : runs_) {
        if (command == chosen) return &run;
    }
    return nullptr;
}

CommandRegistration::CommandRegistration(Command command) {
    auto& list = commands();
    list.push_back(std::move(command));
    std::stable_sort(list.begin(), list.end(),
                     [](const Command& a, const Command& b) { return a.order < b.order; });
}

CommandRegistration::CommandRegistration(FileInspector inspector) {
    auto& list = inspectors();
    list.push_back(std::move(inspector));
    std::stable_sort(list.begin(), list.end(), [](const FileInspector& a, const FileInspector& b) {
        return a.priority > b.priority;
    });
}

const std::vector<Command>& registeredCommands() {
    return commands();
}
const std::vector<FileInspector>& registeredInspectors() {
    return inspectors();
}

void takeDashedArgument(const CLI::App& command, const CLI::Option& argument, std::string& value) {
    std::vector<std::string> extras = command.remaining();
    // The parser keeps the end of options among the extras; it is none.
    if (auto mark = std::ranges::find(extras, "--"); mark != extras.end()) extras.erase(mark);
    bool given = argument.count() > 0;
    if (!given && !extras.empty() && extras.front().starts_with('-') &&
        !extras.front().starts_with("--")) {
        value = extras.front();
        extras.erase(extras.begin());
        given = true;
    }
    if (!extras.empty()) throw CLI::ExtrasError(command.get_name(), extras);
    if (!given) throw CLI::RequiredError(argument.get_name());
}
