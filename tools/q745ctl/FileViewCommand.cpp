// "q745ctl inspect FILE [--points]": the file's kind is recognised from its content by the
// inspectors that the other command files register.
#include <algorithm>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>

#include "Command.h"
#include "core/FileStore.h"

namespace {

struct InspectOptions {
    std::string file;
    bool points = false;
};

// The JSON of the file as this kind, or nothing when it does not read as one.
std::optional<std::string> inspectAs(const FileInspector& inspector,
                                     const std::filesystem::path& path,
                                     std::span<const std::uint8_t> content, bool points) {
    std::ostringstream json;
    try {
        inspector.inspect(path, content, points, json);
    } catch (const std::runtime_error&) {
        return std::nullopt;
    }
    return json.str();
}

// The kind is guessed from the content (a ".gaw" whose name is another file's tag looks like
// that file); when the guessed kinds do not read, every other kind is tried before the file is
// refused.
int inspect(const InspectOptions& options, CommandStreams& streams) {
    const std::filesystem::path path = options.file;
    const FileRead read = readFileOfKind(path, kLargestFileOfOurs);
    if (read.status == ReadStatus::CannotOpen)
        throw std::runtime_error("Nie je mozne otvorit subor: " + path.string());
    if (read.status == ReadStatus::TooLarge)
        throw std::runtime_error("Neplatny subor: " + path.string());
    const std::vector<FileInspector>& inspectors = registeredInspectors();
    std::vector<const FileInspector*> order;
    for (const FileInspector& inspector : inspectors)
        if (inspector.recognise(path, read.content)) order.push_back(&inspector);
    for (const FileInspector& inspector : inspectors)
        if (std::find(order.begin(), order.end(), &inspector) == order.end())
            order.push_back(&inspector);
    for (const FileInspector* inspector : order) {
        if (std::optional<std::string> json =
                inspectAs(*inspector, path, read.content, options.points)) {
            streams.out << *json;
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
