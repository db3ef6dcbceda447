#pragma once

#include "digital/DigitalMacro.h"

class UserMessages;

// Opens the value files of the file-driven entries of the queue before a step operation. Entries
// that name the same file (compared exactly) share it. A missing file ("... obsahuje odkaz na
// chybajuci subor:...") or one too short for all cycles ("... obsahuje odkaz na prilis maly
// subor:...") is reported once; false when the operator answers No and the operation must not
// run.
bool openValueFiles(MacroQueue& queue, UserMessages& messages);

// Closes every value file after a step operation, whatever its result.
void closeValueFiles(MacroQueue& queue);
