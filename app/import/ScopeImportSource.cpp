#include "import/ScopeImportSource.h"

#include <utility>

#include "import/Q726DataFile.h"
#include "import/R210DataFile.h"

namespace {

ScopeChannelSource channelSource(int channel, const std::filesystem::path& fileName,
                                 std::vector<std::uint8_t> samples, double range, double ground) {
    ScopeChannelSource source;
    source.channel = channel;
    source.record.setName(fileName.filename().string());
    source.record.points = std::move(samples);
    source.rangeMillivolts = range;
    source.ground = ground;
    return source;
}

}  // namespace

std::optional<ScopeImportSource> readScopeImport(const std::filesystem::path& fileName,
                                                 UserMessages& messages) {
    ScopeImportSource source;
    source.kind = recogniseScopeFile(fileName);
    if (source.kind == ScopeFileKind::CannotOpen) {
        messages.error("Neplatny subor: " + fileName.string());
        return std::nullopt;
    }
    if (source.kind == ScopeFileKind::R210) {
        TR210DataFile file;
        if (!file.load(fileName, messages)) return std::nullopt;
        source.sampleRate = file.sampleRate();
        for (int channel = 0; channel < 2; ++channel) {
            if (file.samples(channel).empty()) continue;
            source.channels.push_back(channelSource(channel, fileName, file.samples(channel),
                                                    file.range(channel), file.ground(channel)));
        }
        return source;
    }
    Q726FileResult file;
    if (!readQ726File(fileName, messages, file)) return std::nullopt;
    source.sampleRate = file.sampleRate;
    // The Q726 records its 0 V at the middle of the range.
    source.channels.push_back(
        channelSource(0, fileName, std::move(file.samplesA), file.rangeA, 128));
    source.channels.push_back(
        channelSource(1, fileName, std::move(file.samplesB), file.rangeB, 128));
    return source;
}
