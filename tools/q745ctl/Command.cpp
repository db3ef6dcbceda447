#include "Command.h"

#include <algorithm>
#include <stdexcept>

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

CommandRegistration::CommandRegistration(Command command) {
    commands().push_back(std::move(command));
}

CommandRegistration::CommandRegistration(FileInspector inspector) {
    auto& list = inspectors();
    list.push_back(std::move(inspector));
    std::stable_sort(list.begin(), list.end(), [](const FileInspector& a, const FileInspector& b) {
        return a.priority > b.priority;
    });
}

const std::vector<Command>& registeredCommands() { return commands(); }
const std::vector<FileInspector>& registeredInspectors() { return inspectors(); }

bool ArgumentList::flag(const std::string& name) {
    auto it = std::find(args_.begin(), args_.end(), name);
    if (it == args_.end()) return false;
    args_.erase(it);
    return true;
}

std::optional<std::string> ArgumentList::option(const std::string& name) {
    auto it = std::find(args_.begin(), args_.end(), name);
    if (it == args_.end()) return std::nullopt;
    if (it + 1 == args_.end()) throw std::invalid_argument("Missing value after " + name);
    std::string value = *(it + 1);
    args_.erase(it, it + 2);
    return value;
}

std::optional<std::pair<std::string, std::string>> ArgumentList::optionPair(
    const std::string& name) {
    auto it = std::find(args_.begin(), args_.end(), name);
    if (it == args_.end()) return std::nullopt;
    if (args_.end() - it < 3) throw std::invalid_argument("Missing values after " + name);
    std::pair<std::string, std::string> values{*(it + 1), *(it + 2)};
    args_.erase(it, it + 3);
    return values;
}

std::vector<std::string> ArgumentList::positional() const {
    for (const std::string& arg : args_) {
        // A lone "-" or a negative number is a value, not an option.
        if (arg.size() > 2 && arg.starts_with("--"))
            throw std::invalid_argument("Unknown option " + arg);
    }
    return args_;
}
