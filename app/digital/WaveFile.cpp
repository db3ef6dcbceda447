#include "digital/WaveFile.h"

#include "core/UserError.h"
#include "digital/DigitalFiles.h"
#include "digital/MacroBlock.h"

std::vector<std::uint8_t> encodeWaveFile(const TDigitalWave& wave, const MacroQueue& running) {
    ByteWriter out;
    writeWaveBlock(out, wave);
    out.i32(static_cast<std::int32_t>(running.size()));
    for (const TDigitalMacro& macro : running)
        writeMacroBlock(out, macro);
    return out.take();
}

void decodeWaveFile(std::span<const std::uint8_t> content, TDigitalWave& wave,
                    MacroQueue& running) {
    ByteReader in(content);
    TDigitalWave newWave;
    readWaveBlock(in, newWave);
    const std::int32_t count = in.i32();
    if (count < 0) throw InvalidFile();
    // Entries are read one by one: a count beyond the end of the file fails at the end of the
    // data instead of reserving room for it.
    MacroQueue newQueue;
    for (std::int32_t i = 0; i < count; ++i)
        readMacroBlock(in, newQueue.emplace_back());
    in.expectEnd();
    wave = std::move(newWave);
    running = std::move(newQueue);
}

bool saveWaveFile(const TDigitalWave& wave, const MacroQueue& running,
                  const std::filesystem::path& fileName, UserMessages& messages) {
    return writeUserFile(fileName, fileName.string(), encodeWaveFile(wave, running), messages);
}

bool loadWaveFile(TDigitalWave& wave, MacroQueue& running, const std::filesystem::path& fileName,
                  UserMessages& messages) {
    return loadUserFile(
        fileName, fileName.string(), kLargestWaveFile,
        [&](std::span<const std::uint8_t> content) { decodeWaveFile(content, wave, running); },
        messages);
}
