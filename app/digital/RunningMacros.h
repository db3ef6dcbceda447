#pragma once

#include "digital/DigitalMacro.h"

class UserMessages;

// Stopping running macros; the steps they already wrote stay in the wave.

// "Delete" of the running list: after the operator's confirmation ("Rozbalovanie zvoleneho makra
// sa zastavi !...", anything but No), the entry leaves the queue. Nothing without a line.
// True when the queue changed.
bool removeRunning(MacroQueue& queue, int index, UserMessages& messages);

// "Clear" of the running list: after confirmation ("Rozbalovanie vsetkych makier sa zastavi !
// ...", anything but No), the queue is emptied. True when the queue changed.
bool clearRunning(MacroQueue& queue, UserMessages& messages);
