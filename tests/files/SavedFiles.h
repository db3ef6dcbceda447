#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "RecordingMessages.h"
#include "ValuesTarget.h"
#include "core/SettingsTranslator.h"
#include "digital/MacroFile.h"
#include "digital/MacroLibrary.h"
#include "digital/MainWaveFile.h"
#include "digital/WaveFile.h"
#include "waves/GawFile.h"
#include "waves/PredefinedWaveforms.h"
#include "waves/WaveformStore.h"

// Every file the program saves, each in two versions, saved and read back as the program does.
struct SavedFile {
    std::string kind;
    std::filesystem::path relativePath;  // where the file lands in the folder
    // Saves version 0 or 1 into the folder; false after a message.
    std::function<bool(const std::filesystem::path& folder, int version, UserMessages&)> save;
    // Reads the file as the program does; false after a message.
    std::function<bool(const std::filesystem::path& folder, UserMessages&)> load;
    // The message of a save whose writing fails.
    std::function<std::string(const std::filesystem::path& folder)> writeFailure;
};

namespace saved_files {

inline WaveformStore storeVersion(int version) {
    WaveformStore store;
    resetPredefined(store, 745);
    if (version == 1) {
        store.slots[9] = store.slots[0];
        store.slots[9].setName("Copy of the sine");
        store.importedA = store.slots[2];
    }
    return store;
}

inline TDigitalWave waveVersion(int version) {
    TDigitalWave wave;
    wave.signalCount = 2;
    wave.signals[0].name = "EN";
    wave.signals[0].pins[0] = {1, 0};
    wave.signals[1].name = "DATA";
    wave.signals[1].width = 8;
    for (int bit = 0; bit < 8; ++bit)
        wave.signals[1].pins[static_cast<std::size_t>(bit)] = {
            static_cast<std::uint16_t>(1u << (bit + 8)), 8};
    setWaveLength(wave, version == 0 ? 3000 : 70000);
    for (std::int32_t step = 0; step < wave.length(); ++step)
        wave.word(step) = static_cast<std::uint16_t>(step * (version + 3));
    return wave;
}

inline MacroLibrary libraryVersion(int version) {
    MacroLibrary library(version == 0 ? 2 : 40);
    for (std::size_t i = 0; i < library.size(); ++i) {
        library[i].name = "M" + std::to_string(i);
        library[i].description = "V00-V31";
        library[i].wave = waveVersion(0);
    }
    return library;
}

inline SettingsValues settingsVersion(int version) {
    SettingsValues values;
    values.proxyAddress = version == 0 ? "old.example.net" : "new.example.net";
    values.channels[1].wave = version == 0 ? 1 : 2;
    return values;
}

inline std::vector<SavedFile> all() {
    namespace fs = std::filesystem;
    std::vector<SavedFile> files;
    files.push_back({"Waves.dat", kStoreFileName,
                     [](const fs::path& folder, int version, UserMessages& messages) {
                         return saveStore(storeVersion(version), folder, messages);
                     },
                     [](const fs::path& folder, UserMessages& messages) {
                         WaveformStore store;
                         return loadStore(store, folder, messages);
                     },
                     [](const fs::path&) {
                         return std::string(
                             "Nie je mozne ulozit priebehy (WavesTmp.dat, Waves.dat)");
                     }});
    files.push_back({"DWave.dat", kMainWaveFileName,
                     [](const fs::path& folder, int version, UserMessages& messages) {
                         return saveMainWave(waveVersion(version), folder, messages);
                     },
                     [](const fs::path& folder, UserMessages& messages) {
                         TDigitalWave wave;
                         return loadMainWave(wave, folder, messages);
                     },
                     [](const fs::path&) {
                         return std::string(
                             "Nie je mozne ulozit digitalny priebeh (DWaveTmp.dat, DWave.dat)");
                     }});
    files.push_back({"DMacros.dat", kMacroLibraryFileName,
                     [](const fs::path& folder, int version, UserMessages& messages) {
                         return saveLibrary(libraryVersion(version), folder, messages);
                     },
                     [](const fs::path& folder, UserMessages& messages) {
                         MacroLibrary library;
                         return loadLibrary(library, folder, messages);
                     },
                     [](const fs::path&) {
                         return std::string(
                             "Nie je mozne ulozit digitalne makra (DMacrosTmp.dat, DMacros.dat)");
                     }});
    files.push_back(
        {"Settings.dat", "Settings.dat",
         [](const fs::path& folder, int version, UserMessages& messages) {
             return writeSettings(folder / "Settings.dat", settingsVersion(version), messages);
         },
         [](const fs::path& folder, UserMessages& messages) {
             ValuesTarget target;
             return readSettings(folder / "Settings.dat", false, target, messages);
         },
         [](const fs::path& folder) {
             return "Nie je mozne ukladat do suboru: " + (folder / "Settings.dat.tmp").string();
         }});
    files.push_back({".gaw", "wave.gaw",
                     [](const fs::path& folder, int version, UserMessages& messages) {
                         return exportRecord(storeVersion(0).slots[version == 0 ? 0 : 2],
                                             folder / "wave.gaw", messages);
                     },
                     [](const fs::path& folder, UserMessages& messages) {
                         WaveformRecord record;
                         return importRecord(record, folder / "wave.gaw", true, messages);
                     },
                     [](const fs::path& folder) {
                         return "Neplatny subor: " + (folder / "wave.gaw").string();
                     }});
    files.push_back({".gdw", "sequence.gdw",
                     [](const fs::path& folder, int version, UserMessages& messages) {
                         return saveWaveFile(waveVersion(version), libraryVersion(version),
                                             folder / "sequence.gdw", messages);
                     },
                     [](const fs::path& folder, UserMessages& messages) {
                         TDigitalWave wave;
                         MacroQueue running;
                         return loadWaveFile(wave, running, folder / "sequence.gdw", messages);
                     },
                     [](const fs::path& folder) {
                         return "Neplatny subor: " + (folder / "sequence.gdw").string();
                     }});
    files.push_back({".gma", fs::path(kExportFolderName) / "M0.gma",
                     [](const fs::path& folder, int version, UserMessages& messages) {
                         MacroLibrary library = libraryVersion(1);
                         library[0].wave = waveVersion(version);
                         return exportMacro(library, {0}, 0, folder, messages);
                     },
                     [](const fs::path& folder, UserMessages& messages) {
                         MacroLibrary library;
                         return importMacro(library, folder / kExportFolderName / "M0.gma",
                                            messages);
                     },
                     [](const fs::path&) { return std::string("Neplatny subor: Export/M0.gma"); }});
    return files;
}

}  // namespace saved_files
