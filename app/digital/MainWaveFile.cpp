#include "digital/MainWaveFile.h"

#include "core/UserError.h"
#include "digital/DigitalFiles.h"

namespace {

constexpr const char* kHeader = "Main digital wave file";
constexpr const char* kTrailer = "Main digital wave file end";

}  // namespace

std::vector<std::uint8_t> encodeMainWave(const TDigitalWave& wave) {
    ByteWriter out;
    writeString(out, kHeader);
    writeWaveBlock(out, wave);
    writeString(out, kTrailer);
    return out.take();
}

void decodeMainWave(std::span<const std::uint8_t> content, TDigitalWave& wave) {
    clearWave(wave);
    ByteReader in(content);
    if (readString(in) != kHeader) throw InvalidFile();
    TDigitalWave read;
    readWaveBlock(in, read);
    if (readString(in) != kTrailer) throw InvalidFile();
    in.expectEnd();
    wave = std::move(read);
}

bool loadMainWave(TDigitalWave& wave, const std::filesystem::path& folder, UserMessages& messages) {
    clearWave(wave);
    return loadOwnFile(
        folder, kMainWaveFileName, kLargestMainWaveFile,
        [&](std::span<const std::uint8_t> content) { decodeMainWave(content, wave); }, messages);
}

bool saveMainWave(const TDigitalWave& wave, const std::filesystem::path& folder,
                  UserMessages& messages) {
    return replaceOwnFile(folder, kMainWaveFileName, kMainWaveTemporaryName, encodeMainWave(wave),
                          "Nie je mozne ulozit digitalny priebeh (DWaveTmp.dat, DWave.dat)",
                          messages);
}
