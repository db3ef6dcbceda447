// "q745ctl inspect FILE [--points]": the file's kind is recognised from its content by the
// inspectors that the other command files register.
#include <iostream>
#include <memory>
#include <stdexcept>

#include "Command.h"
#include "core/FileStore.h"

namespace {

struct InspectOptions {
    std::string file;
    bool points = false;
};

int inspect(const InspectOptions& options, CommandStreams& streams) {
    const std::filesystem::path path = options.file;
    std::optional<std::vector<std::uint8_t>> content = readWholeFile(path);
    if (!content) throw std::runtime_error("Nie je mozne otvorit subor: " + path.string());
    for (const FileInspector& inspector : registeredInspectors()) {
        if (inspector.recognise(path, *content)) {
            inspector.inspect(path, *content, options.points, streams.out);
            return 0;
        }
    }
    throw std::runtime_error("Neplatny subor: " + path.string());
}

void define(CLI::App& tool, CommandSet& commands) {
    auto options = std::make_shared<InspectOptions>();
    CLI::App* command = tool.add_subcommand("inspect", "show a file of the system as JSON");
    command->add_option("FILE", options->file, "the file; its kind is recognised from its content")
        ->required();
    command->add_flag("--points", options->points, "add the sample points");
    commands.setRun(command,
                    [options](CommandStreams& streams) { return inspect(*options, streams); });
}

const CommandRegistration registration(Command{10, define});

}  // namespace
