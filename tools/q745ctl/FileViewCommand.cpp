// "q745ctl inspect FILE [--points]": the file's kind is recognised from its content by the
// inspectors that the other command files register.
#include <iostream>
#include <stdexcept>

#include "Command.h"
#include "core/FileStore.h"

namespace {

int inspect(CommandContext& context) {
    ArgumentList arguments(context.args);
    const bool points = arguments.flag("--points");
    std::vector<std::string> files = arguments.positional();
    if (files.size() != 1) throw std::invalid_argument("Usage: q745ctl inspect FILE [--points]");
    const std::filesystem::path path = files.front();
    std::optional<std::vector<std::uint8_t>> content = readWholeFile(path);
    if (!content) throw std::runtime_error("Nie je mozne otvorit subor: " + path.string());
    for (const FileInspector& inspector : registeredInspectors()) {
        if (inspector.recognise(path, *content)) {
            inspector.inspect(path, *content, points, context.out);
            return 0;
        }
    }
    throw std::runtime_error("Neplatny subor: " + path.string());
}

const CommandRegistration registration(Command{
    "inspect", "inspect FILE [--points]    show a file of the system as JSON", inspect});

}  // namespace
