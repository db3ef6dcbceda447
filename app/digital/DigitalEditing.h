#pragma once

#include <filesystem>

#include "digital/DigitalEditScreen.h"

class ProgressWindow;
class QWidget;
class TDigitalWave;
class TDigitalWaveScreen;
class TVirtualGenerator;
class UserMessages;

// The main window's "Edit" of the digital sequence: runs the digital wave editor on the main
// digital wave. After "Ok" the new main wave goes to the instrument, is shown in the main
// window's display and is written to "DWave.dat", in this order; then the editor closes and
// writes the macro library, whichever way it was closed.
class DigitalEditing {
public:
    DigitalEditing(TDigitalWave& mainWave, TVirtualGenerator& generator,
                   TDigitalWaveScreen& mainDisplay, std::filesystem::path startDirectory,
                   ProgressWindow& progress, UserMessages& messages);

    // Modal; true after "Ok".
    bool edit(QWidget* owner);

    // The value dialogs of every editor opened (tests answer them from a script).
    DigitalEditDialogs dialogs;

private:
    TDigitalWave& mainWave_;
    TVirtualGenerator& generator_;
    TDigitalWaveScreen& mainDisplay_;
    std::filesystem::path startDirectory_;
    ProgressWindow& progress_;
    UserMessages& messages_;
};
