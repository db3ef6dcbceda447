// Import mode on the command line: "inspect" for both oscilloscope formats, "period" (the
// automatic period search of the import dialog) and "convert scope" / "convert ascii", which
// make a ".gaw" imported waveform as the import dialogs do.
#include <algorithm>
#include <array>
#include <cstdint>
#include <iostream>
#include <limits>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "Command.h"
#include "OptionChecks.h"
#include "ToolJson.h"
#include "core/FileStore.h"
#include "core/ProgressReporter.h"
#include "core/UserError.h"
#include "core/UserMessages.h"
#include "import/ASCIIOperations.h"
#include "import/AsciiWaveform.h"
#include "import/GroundShift.h"
#include "import/ImportCut.h"
#include "import/ImportNumbers.h"
#include "import/PeriodSearch.h"
#include "import/Q726DataFile.h"
#include "import/R210DataFile.h"
#include "import/ScopeFileRecognition.h"
#include "import/TextLineReader.h"
#include "waves/GawFile.h"
#include "waves/WaveformStatistics.h"

namespace {

// Message boxes become lines on the error stream; a question is answered Yes, since the
// operator asked for the conversion on the command line.
class ConsoleMessages final : public UserMessages {
public:
    explicit ConsoleMessages(std::ostream& err) : err_(err) {}

    MessageResult messageBox(const std::string& text, MessageKind,
                             MessageButtons buttons) override {
        // The messages' "\r\n" line breaks are written as "\n", piece by piece: replacing them
        // in a copy draws a false -Wrestrict from GCC 12 at -O3.
        std::string_view rest = text;
        for (std::size_t at = rest.find("\r\n"); at != std::string_view::npos;
             at = rest.find("\r\n")) {
            err_ << rest.substr(0, at) << '\n';
            rest.remove_prefix(at + 2);
        }
        err_ << rest;
        if (buttons == MessageButtons::YesNo) {
            err_ << " Yes\n";
            return MessageResult::Yes;
        }
        err_ << '\n';
        return MessageResult::Ok;
    }

private:
    std::ostream& err_;
};

struct ScopeChannel {
    std::vector<std::uint8_t> samples;
    double rangeMillivolts = -1;
    double ground = 128;
    std::int32_t shiftCode = 2048;  // for an open output on the normal path
};

struct ScopeFile {
    std::string format;
    double sampleRate = -1;
    std::array<std::optional<ScopeChannel>, 2> channels;
    std::int32_t deviceType = -1;
    std::int32_t timeBase = -1;

    int firstChannel() const { return channels[0] ? 0 : 1; }
    int channelCount() const { return (channels[0] ? 1 : 0) + (channels[1] ? 1 : 0); }
};

const char* channelName(int channel) {
    return channel == 0 ? "A" : "B";
}

ScopeFile fromR210(const TR210DataFile& data) {
    ScopeFile file;
    file.format = "R210";
    file.sampleRate = data.sampleRate();
    file.deviceType = data.deviceType();
    file.timeBase = data.timeBase();
    for (int c = 0; c < 2; ++c) {
        if (data.samples(c).empty()) continue;
        ScopeChannel channel;
        channel.samples = data.samples(c);
        channel.rangeMillivolts = data.range(c);
        channel.ground = data.ground(c);
        channel.shiftCode = shiftFromGround({}, channel.rangeMillivolts, channel.ground);
        file.channels[static_cast<std::size_t>(c)] = std::move(channel);
    }
    return file;
}

ScopeFile fromQ726(Q726FileResult data) {
    ScopeFile file;
    file.format = "Q726";
    file.sampleRate = data.sampleRate;
    file.channels[0] = ScopeChannel{std::move(data.samplesA), data.rangeA, 128, 2048};
    file.channels[1] = ScopeChannel{std::move(data.samplesB), data.rangeB, 128, 2048};
    return file;
}

// Raises InvalidFile when the content is not a valid file of its format.
ScopeFile parseScopeFile(std::span<const std::uint8_t> content) {
    if (recogniseScopeContent(content) == ScopeFileKind::R210) {
        TR210DataFile data;
        data.parse(content);
        return fromR210(data);
    }
    return fromQ726(parseQ726(content));
}

// As import mode reads it: a file that cannot be opened, is not a regular file or is larger
// than either format allows is an invalid file.
ScopeFile readScopeFile(const std::filesystem::path& path) {
    const FileRead read = readFileOfKind(path, std::max(kLargestR210File, kLargestQ726File));
    try {
        if (read.status == ReadStatus::Read) return parseScopeFile(read.content);
    } catch (const InvalidFile&) {
    }
    throw std::runtime_error("Neplatny subor: " + path.string());
}

// A Q726 file is told by its data sections; anything else of this kind is left to the other
// inspectors.
bool looksLikeQ726(std::span<const std::uint8_t> content) {
    TextLineReader lines(content);
    std::string_view line;
    while (lines.next(line)) {
        if (line.size() < 13 || line.size() > 64) continue;
        std::string key(trimBlanks(line));
        std::transform(key.begin(), key.end(), key.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (key == "--- begin ---") return true;
    }
    return false;
}

void inspectScopeFile(const std::filesystem::path& path, std::span<const std::uint8_t> content,
                      bool points, std::ostream& out) {
    ScopeFile file;
    try {
        file = parseScopeFile(content);
    } catch (const InvalidFile&) {
        throw std::runtime_error("Neplatny subor: " + path.string());
    }
    Json json;
    json["kind"] = "oscilloscope data";
    json["format"] = file.format;
    json["channelCount"] = file.channelCount();
    json["firstChannel"] = channelName(file.firstChannel());
    json["sampleRate"] = file.sampleRate;
    if (file.format == "R210") {
        json["deviceType"] = file.deviceType;
        json["timeBase"] = file.timeBase;
    }
    json["channels"] = Json::array();
    for (int c = 0; c < 2; ++c) {
        const std::optional<ScopeChannel>& channel = file.channels[static_cast<std::size_t>(c)];
        if (!channel) continue;
        Json entry;
        entry["channel"] = channelName(c);
        entry["length"] = channel->samples.size();
        entry["rangeMillivolts"] = channel->rangeMillivolts;
        entry["ground"] = channel->ground;
        entry["shiftCode"] = channel->shiftCode;
        if (points) entry["points"] = channel->samples;
        json["channels"].push_back(std::move(entry));
    }
    printJson(out, json);
}

const CommandRegistration r210Inspector(FileInspector{
    "R210 oscilloscope data", 5,
    [](const std::filesystem::path&, std::span<const std::uint8_t> content) {
        return recogniseScopeContent(content) == ScopeFileKind::R210;
    },
    inspectScopeFile});

const CommandRegistration q726Inspector(FileInspector{
    "Q726 oscilloscope data", -10,
    [](const std::filesystem::path&, std::span<const std::uint8_t> content) {
        return looksLikeQ726(content);
    },
    inspectScopeFile});

const ScopeChannel& channelOf(const ScopeFile& file, int channel) {
    const std::optional<ScopeChannel>& found = file.channels[static_cast<std::size_t>(channel)];
    if (!found)
        throw std::runtime_error(std::string("The file has no channel ") + channelName(channel));
    return *found;
}

std::optional<int> searchChannel(const ScopeFile& file, int channel) {
    SilentProgress progress;
    return searchPeriod(channelOf(file, channel).samples, progress,
                        std::string("Searching for period on channel ") + channelName(channel))
        .period;
}

// The app adds ".gaw" to a name chosen without an extension.
std::filesystem::path gawName(std::filesystem::path path) {
    if (!path.has_extension()) path += ".gaw";
    return path;
}

void printPeriod(std::ostream& out, int channel, std::optional<int> period) {
    out << "Channel " << channelName(channel) << ": ";
    if (period)
        out << "period " << *period << " points\n";
    else
        out << "no period found\n";
}

struct PeriodOptions {
    std::string file;
    int channel = 0;
    bool hasChannel = false;
};

int period(const PeriodOptions& options, CommandStreams& streams) {
    const ScopeFile file = readScopeFile(options.file);
    if (options.hasChannel || file.channelCount() == 1) {
        const int channel = options.hasChannel ? options.channel : file.firstChannel();
        printPeriod(streams.out, channel, searchChannel(file, channel));
        return 0;
    }
    // As the two-channel import dialog: channel A, then channel B when A has none.
    SilentProgress progress;
    const ChannelPeriod found =
        searchPeriodOfChannels(file.channels[0]->samples, file.channels[1]->samples, progress);
    if (found.channel == 1) printPeriod(streams.out, 0, std::nullopt);
    printPeriod(streams.out, found.channel, found.result.period);
    return 0;
}

struct ScopeConversion {
    std::string file;
    int channel = 0;
    std::int32_t from = 0;
    std::int32_t to = 0;
    bool byPeriod = false;
    std::string output;
    // Which of the options above were given.
    bool hasChannel = false;
    bool hasCursors = false;
};

int convertScope(const ScopeConversion& options, CommandStreams& streams) {
    const std::filesystem::path path = options.file;
    const ScopeFile file = readScopeFile(path);
    const int channel = options.hasChannel ? options.channel : file.firstChannel();
    const ScopeChannel& source = channelOf(file, channel);

    // The dialog opens with the cursors at 0 and the point count; a period found moves the
    // second one past the period, so that the whole period is cut.
    CursorPair cursors{0, static_cast<std::int32_t>(source.samples.size())};
    if (options.hasCursors) {
        cursors = {options.from, options.to};
        const auto last = static_cast<std::int64_t>(source.samples.size()) + 1;
        if (std::max(cursors.first, cursors.second) > last)
            throw std::invalid_argument("--from and --to are cursor positions from 0 to " +
                                        std::to_string(last));
    } else if (options.byPeriod) {
        std::optional<int> found = searchChannel(file, channel);
        if (!found)
            throw std::runtime_error(std::string("No period found on channel ") +
                                     channelName(channel));
        cursors.second = periodEndCursor(*found);
    }
    ConsoleMessages messages(streams.err);
    if (std::optional<std::string> problem = stretchProblem(cursors)) {
        messages.error(*problem);
        return 1;
    }
    WaveformRecord whole;
    whole.setName(path.stem().string());
    whole.points = source.samples;
    const WaveformRecord cut = cutRecord(whole, cursors);
    if (!exportRecord(cut, gawName(options.output), messages)) return 1;
    streams.out << "Channel " << channelName(channel) << ": " << cut.pointCount()
                << " points, sample rate " << file.sampleRate << " Hz, range "
                << source.rangeMillivolts << " mV, shift code " << source.shiftCode << '\n';
    return 0;
}

struct AsciiConversion {
    std::string file;
    bool real = false;
    bool integers = false;
    std::string separator;
    int readMode = 0;  // AsciiReadMode
    bool noNormalize = false;
    std::string output;
};

int convertAscii(const AsciiConversion& options, CommandStreams& streams) {
    const std::filesystem::path path = options.file;
    ConsoleMessages messages(streams.err);
    SilentProgress progress;

    AsciiReloadSettings settings;
    settings.readMode = static_cast<AsciiReadMode>(options.readMode);
    settings.normalize = !options.noNormalize;
    settings.realNumbers = options.real || !options.separator.empty();
    if (!options.separator.empty()) settings.separator = options.separator;
    if (!options.integers && options.separator.empty()) {
        // As the dialog opens: the analysis guesses what was not given; without a guess the
        // options are to be given on the command line.
        const AsciiAnalysis guess = analyseAsciiFile(path, messages, progress);
        if (guess.code != AnalyseCode::Guessed) return 1;
        if (!options.real) settings.realNumbers = guess.realNumbers;
        if (guess.realNumbers) settings.separator = std::string(1, guess.separator);
    }
    AsciiWork work;
    reloadAscii(path, settings, work, messages, progress);
    if (!work.okEnabled) return 1;
    WaveformRecord record;
    record.setName(path.stem().string());
    record.points = work.samples.points;
    computeStatistics(record);
    if (!exportRecord(record, gawName(options.output), messages)) return 1;
    // + 0.0 shows a minimum of -0 as 0
    streams.out << record.pointCount() << " points from values " << work.samples.minimum + 0.0
                << " to " << work.samples.maximum + 0.0 << " ("
                << (settings.realNumbers ? "real numbers, separator " + settings.separator
                                         : std::string("whole numbers"))
                << ")\n";
    return 0;
}

CLI::Validator oneCharacter() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            return text.size() == 1 ? std::string()
                                    : "The separator must be one character: " + text;
        },
        "");
}

constexpr std::int32_t kLargestCursor = std::numeric_limits<std::int32_t>::max();

void definePeriod(CLI::App& tool, CommandSet& commands) {
    auto options = std::make_shared<PeriodOptions>();
    CLI::App* command = tool.add_subcommand(
        "period", "the period of an oscilloscope record in points, as the import dialog finds it");
    command->add_option("FILE", options->file, "the oscilloscope data file")->required();
    CLI::Option* channelOption =
        command->add_option("--channel", options->channel, "the channel (default: as the dialog)")
            ->type_name("A|B")
            ->transform(channel());
    commands.setRun(command, [options, channelOption](CommandStreams& streams) {
        options->hasChannel = channelOption->count() > 0;
        return period(*options, streams);
    });
}

void defineConvertScope(CLI::App& convert, CommandSet& commands) {
    auto options = std::make_shared<ScopeConversion>();
    CLI::App* command = convert.add_subcommand(
        "scope",
        "cut an oscilloscope channel into an imported waveform: the cursors I < J take the "
        "points I to J-2, --period uses 0 and the period + 1 (one whole period), without both 0 "
        "and the channel's length");
    command->add_option("FILE", options->file, "the oscilloscope data file")->required();
    CLI::Option* channelOption =
        command->add_option("--channel", options->channel, "the channel (default: the first one)")
            ->type_name("A|B")
            ->transform(channel());
    CLI::Option* from = command->add_option("--from", options->from, "the first cursor")
                            ->transform(wholeNumber("--from", 0, kLargestCursor));
    CLI::Option* to = command->add_option("--to", options->to, "the second cursor")
                          ->transform(wholeNumber("--to", 0, kLargestCursor));
    from->needs(to);
    to->needs(from);
    command->add_flag("--period", options->byPeriod, "cut one period found by the search")
        ->excludes(from)
        ->excludes(to);
    command->add_option("-o", options->output, "the waveform file (.gaw added without extension)")
        ->required();
    commands.setRun(command, [options, channelOption, from](CommandStreams& streams) {
        options->hasChannel = channelOption->count() > 0;
        options->hasCursors = from->count() > 0;
        return convertScope(*options, streams);
    });
}

void defineConvertAscii(CLI::App& convert, CommandSet& commands) {
    auto options = std::make_shared<AsciiConversion>();
    CLI::App* command = convert.add_subcommand(
        "ascii",
        "an imported waveform from a text file of numbers; what is not given is guessed from "
        "the file");
    command->add_option("FILE", options->file, "the text file")->required();
    CLI::Option* real = command->add_flag("--real", options->real, "real numbers");
    CLI::Option* separator =
        command
            ->add_option("--separator", options->separator, "the decimal separator of real numbers")
            ->type_name("C")
            ->transform(oneCharacter());
    command->add_flag("--integers", options->integers, "whole numbers")
        ->excludes(real)
        ->excludes(separator);
    command->add_option("--read", options->readMode, "which entries (default all)")
        ->type_name("all|odd|even")
        ->transform(choice("--read", {{"all"}, {"odd"}, {"even"}}));
    command->add_flag("--no-normalize", options->noNormalize, "keep the values as they are");
    command->add_option("-o", options->output, "the waveform file (.gaw added without extension)")
        ->required();
    commands.setRun(command,
                    [options](CommandStreams& streams) { return convertAscii(*options, streams); });
}

void defineConvert(CLI::App& tool, CommandSet& commands) {
    CLI::App* convert = tool.add_subcommand(
        "convert", "an imported waveform (.gaw) from an oscilloscope channel or a text file");
    convert->require_subcommand(1);
    defineConvertScope(*convert, commands);
    defineConvertAscii(*convert, commands);
}

const CommandRegistration periodCommand(Command{40, definePeriod});
const CommandRegistration convertCommand(Command{50, defineConvert});

}  // namespace
