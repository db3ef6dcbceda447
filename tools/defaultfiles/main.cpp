// q745defaults FOLDER README: writes the files a new installation ships into FOLDER:
// "Settings.dat" with the default settings, "Waves.dat" with the five predefined waveforms,
// an empty "DWave.dat", an empty "DMacros.dat", and the text README under the name that
// "View readme" looks for on the driver library's platform. Run by the build.
#include <cstdio>
#include <filesystem>
#include <string>

#include "core/ReadmeFile.h"
#include "core/SettingsTranslator.h"
#include "core/UserMessages.h"
#include "digital/DigitalWave.h"
#include "digital/MacroLibrary.h"
#include "digital/MainWaveFile.h"
#include "q745drv.h"
#include "waves/PredefinedWaveforms.h"
#include "waves/WaveformStore.h"

namespace {

class FailureCount final : public UserMessages {
public:
    MessageResult messageBox(const std::string& text, MessageKind, MessageButtons) override {
        std::fprintf(stderr, "q745defaults: %s\n", text.c_str());
        ++failures;
        return MessageResult::Ok;
    }
    int failures = 0;
};

// The noise waveform of a new installation is the same on every build.
constexpr std::uint32_t ShippedNoiseSeed = 745;

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: q745defaults FOLDER README\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const std::filesystem::path readme = argv[2];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    FailureCount messages;

    writeSettings(folder / "Settings.dat", SettingsValues{}, messages);
    WaveformStore store;
    resetPredefined(store, ShippedNoiseSeed);
    saveStore(store, folder, messages);
    saveMainWave(TDigitalWave{}, folder, messages);
    saveLibrary(MacroLibrary{}, folder, messages);
    const std::filesystem::path shipped = folder / readmeFileName(GetVersionCode());
    std::filesystem::copy_file(readme, shipped, std::filesystem::copy_options::overwrite_existing,
                               error);
    if (error) messages.error("cannot write " + shipped.string());
    return messages.failures == 0 ? 0 : 1;
}
