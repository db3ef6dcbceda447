#pragma once

#include "core/ByteStream.h"
#include "digital/DigitalMacro.h"

// The macro block: the encoding of one macro in "DMacros.dat", ".gma" files and the running
// queue of a ".gdw" file.
void writeMacroBlock(ByteWriter& out, const TDigitalMacro& macro);

// Reads one block into the macro (its template and bindings cleared first). Raises InvalidFile
// for a bad tag, a bad template block, a value source above 4, a value width above 3, a
// negative binding count or data that ends early.
void readMacroBlock(ByteReader& in, TDigitalMacro& macro);
