// Import mode on the command line: "inspect" for both oscilloscope formats, "period" (the
// automatic period search of the import dialog) and "convert scope" / "convert ascii", which
// make a ".gaw" imported waveform as the import dialogs do.
#include <algorithm>
#include <array>
#include <cstdint>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "Command.h"
#include "core/FileStore.h"
#include "Json.h"
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
        std::string shown = text;
        for (std::size_t at = shown.find("\r\n"); at != std::string::npos; at = shown.find("\r\n"))
            shown.replace(at, 2, "\n");
        err_ << shown;
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

ScopeFile readScopeFile(const std::filesystem::path& path) {
    std::optional<std::vector<std::uint8_t>> content = readWholeFile(path);
    try {
        if (content) return parseScopeFile(*content);
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
    JsonWriter json(out);
    json.beginObject();
    json.field("kind", "oscilloscope data");
    json.field("format", file.format);
    json.field("channelCount", file.channelCount());
    json.field("firstChannel", channelName(file.firstChannel()));
    json.field("sampleRate", file.sampleRate);
    if (file.format == "R210") {
        json.field("deviceType", file.deviceType);
        json.field("timeBase", file.timeBase);
    }
    json.key("channels").beginArray();
    for (int c = 0; c < 2; ++c) {
        const std::optional<ScopeChannel>& channel = file.channels[static_cast<std::size_t>(c)];
        if (!channel) continue;
        json.beginObject();
        json.field("channel", channelName(c));
        json.field("length", static_cast<std::uint64_t>(channel->samples.size()));
        json.field("rangeMillivolts", channel->rangeMillivolts);
        json.field("ground", channel->ground);
        json.field("shiftCode", channel->shiftCode);
        if (points) json.key("points").bytes(channel->samples);
        json.endObject();
    }
    json.endArray();
    json.endObject();
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

int parseChannel(const std::string& text) {
    if (text == "A" || text == "a") return 0;
    if (text == "B" || text == "b") return 1;
    throw std::invalid_argument("The channel is A or B, not " + text);
}

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

std::int32_t wholeArgument(const std::string& name, const std::string& text) {
    std::optional<std::int32_t> number = parseWholeNumber(text);
    if (!number) throw std::invalid_argument(name + " needs a whole number, not " + text);
    return *number;
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

int period(CommandContext& context) {
    ArgumentList arguments(context.args);
    std::optional<std::string> channelText = arguments.option("--channel");
    std::vector<std::string> files = arguments.positional();
    if (files.size() != 1)
        throw std::invalid_argument("Usage: q745ctl period FILE [--channel A|B]");
    const ScopeFile file = readScopeFile(files.front());
    if (channelText || file.channelCount() == 1) {
        const int channel = channelText ? parseChannel(*channelText) : file.firstChannel();
        printPeriod(context.out, channel, searchChannel(file, channel));
        return 0;
    }
    // As the two-channel import dialog: channel A, then channel B when A has none.
    SilentProgress progress;
    const ChannelPeriod found =
        searchPeriodOfChannels(file.channels[0]->samples, file.channels[1]->samples, progress);
    if (found.channel == 1) printPeriod(context.out, 0, std::nullopt);
    printPeriod(context.out, found.channel, found.result.period);
    return 0;
}

int convertScope(CommandContext& context, ArgumentList& arguments) {
    std::optional<std::string> channelText = arguments.option("--channel");
    std::optional<std::string> from = arguments.option("--from");
    std::optional<std::string> to = arguments.option("--to");
    const bool byPeriod = arguments.flag("--period");
    std::optional<std::string> output = arguments.option("-o");
    std::vector<std::string> files = arguments.positional();
    if (files.size() != 1 || !output || (from.has_value() != to.has_value()) || (byPeriod && from))
        throw std::invalid_argument(
            "Usage: q745ctl convert scope FILE --channel A|B [--from I --to J | --period] -o "
            "OUT.gaw");
    const std::filesystem::path path = files.front();
    const ScopeFile file = readScopeFile(path);
    const int channel = channelText ? parseChannel(*channelText) : file.firstChannel();
    const ScopeChannel& source = channelOf(file, channel);

    // The dialog opens with the cursors at 0 and the point count; the period search moves
    // the second one to the period.
    CursorPair cursors{0, static_cast<std::int32_t>(source.samples.size())};
    if (from) {
        cursors = {wholeArgument("--from", *from), wholeArgument("--to", *to)};
        const auto last = static_cast<std::int64_t>(source.samples.size()) + 1;
        if (std::min(cursors.first, cursors.second) < 0 ||
            std::max(cursors.first, cursors.second) > last)
            throw std::invalid_argument("--from and --to are cursor positions from 0 to " +
                                        std::to_string(last));
    } else if (byPeriod) {
        std::optional<int> found = searchChannel(file, channel);
        if (!found)
            throw std::runtime_error(std::string("No period found on channel ") +
                                     channelName(channel));
        cursors.second = *found;
    }
    ConsoleMessages messages(context.err);
    if (std::optional<std::string> problem = stretchProblem(cursors)) {
        messages.error(*problem);
        return 1;
    }
    WaveformRecord whole;
    whole.setName(path.stem().string());
    whole.points = source.samples;
    const WaveformRecord cut = cutRecord(whole, cursors);
    if (!exportRecord(cut, gawName(*output), messages)) return 1;
    context.out << "Channel " << channelName(channel) << ": " << cut.pointCount()
                << " points, sample rate " << file.sampleRate << " Hz, range "
                << source.rangeMillivolts << " mV, shift code " << source.shiftCode << '\n';
    return 0;
}

AsciiReadMode readModeFrom(const std::string& text) {
    if (text == "all") return AsciiReadMode::All;
    if (text == "odd") return AsciiReadMode::Odd;
    if (text == "even") return AsciiReadMode::Even;
    throw std::invalid_argument("--read takes all, odd or even, not " + text);
}

int convertAscii(CommandContext& context, ArgumentList& arguments) {
    const bool real = arguments.flag("--real");
    const bool integers = arguments.flag("--integers");
    std::optional<std::string> separator = arguments.option("--separator");
    std::optional<std::string> read = arguments.option("--read");
    const bool normalize = !arguments.flag("--no-normalize");
    std::optional<std::string> output = arguments.option("-o");
    std::vector<std::string> files = arguments.positional();
    if (files.size() != 1 || !output || (integers && (real || separator)))
        throw std::invalid_argument(
            "Usage: q745ctl convert ascii FILE [--real | --integers] [--separator C] "
            "[--read all|odd|even] [--no-normalize] -o OUT.gaw");
    if (separator && separator->size() != 1)
        throw std::invalid_argument("--separator takes one character");
    const std::filesystem::path path = files.front();
    ConsoleMessages messages(context.err);
    SilentProgress progress;

    AsciiReloadSettings settings;
    settings.readMode = read ? readModeFrom(*read) : AsciiReadMode::All;
    settings.normalize = normalize;
    settings.realNumbers = real || separator.has_value();
    if (separator) settings.separator = *separator;
    if (!integers && !separator) {
        // As the dialog opens: the analysis guesses what was not given.
        const AsciiAnalysis guess = Analyse(path, messages, progress);
        switch (guess.code) {
            case AnalyseCode::CannotOpen:
                messages.error("Nie je mozne otvorit subor.");
                return 1;
            case AnalyseCode::Abandoned:
                return 1;
            case AnalyseCode::NoNumbers:
                messages.warning(
                    "Nie je mozne zistit parametre ASCII suboru.\r\nNastavte ich, prosim, "
                    "rucne.");
                return 1;
            case AnalyseCode::Guessed:
                if (!real) settings.realNumbers = guess.realNumbers;
                if (guess.realNumbers) settings.separator = std::string(1, guess.separator);
                break;
        }
    }
    AsciiWork work;
    reloadAscii(path, settings, work, messages, progress);
    if (!work.okEnabled) return 1;
    WaveformRecord record;
    record.setName(path.stem().string());
    record.points = work.samples.points;
    computeStatistics(record);
    if (!exportRecord(record, gawName(*output), messages)) return 1;
    // + 0.0 shows a minimum of -0 as 0
    context.out << record.pointCount() << " points from values " << work.samples.minimum + 0.0
                << " to " << work.samples.maximum + 0.0 << " ("
                << (settings.realNumbers ? "real numbers, separator " + settings.separator
                                         : std::string("whole numbers"))
                << ")\n";
    return 0;
}

int convert(CommandContext& context) {
    if (context.args.empty())
        throw std::invalid_argument("Usage: q745ctl convert scope|ascii FILE ... -o OUT.gaw");
    const std::string what = context.args.front();
    ArgumentList arguments(std::vector<std::string>(context.args.begin() + 1, context.args.end()));
    if (what == "scope") return convertScope(context, arguments);
    if (what == "ascii") return convertAscii(context, arguments);
    throw std::invalid_argument("Unknown conversion " + what + " (scope or ascii)");
}

const CommandRegistration periodCommand(Command{
    "period",
    "period FILE [--channel A|B]    period of an oscilloscope record in points, as the import "
    "dialog finds it",
    period});

const CommandRegistration convertCommand(Command{
    "convert",
    "convert scope FILE [--channel A|B] [--from I --to J | --period] -o OUT.gaw\n"
    "                               cut an oscilloscope channel into an imported waveform; the\n"
    "                               cursors I < J take the points I to J-2, --period uses 0 and\n"
    "                               the period, without both 0 and the channel's length\n"
    "  convert ascii FILE [--real | --integers] [--separator C] [--read all|odd|even]\n"
    "                [--no-normalize] -o OUT.gaw\n"
    "                               an imported waveform from a text file of numbers; what is\n"
    "                               not given is guessed from the file",
    convert});

}  // namespace
