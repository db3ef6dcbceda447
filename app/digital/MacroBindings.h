#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "digital/DigitalMacro.h"

// How the macro editor keeps a macro's value bindings in step with its template.

// Before a template step is inserted at (+1) or deleted from (-1) `position`: a deletion drops
// the bindings of that step and moves later ones one step down; an insertion moves the bindings
// after it one step up.
void shiftBindings(TDigitalMacro& macro, std::int32_t position, int direction);

// After step position + 1 was made a copy of step `position`: the bindings of sequence signals
// at `position` are duplicated for the copy.
void copyBindings(TDigitalMacro& macro, std::int32_t position);

// "Assign value" for template signal `signal` at `step`: bitText is the lowest value bit
// (V00 to V31). A text that is no whole number, a negative bit, a bus that would reach bit 32 or
// beyond (width + bit >= 32), or a single line above bit 31 gives "Nespravne hodnoty"; otherwise
// the cell's binding is set or added and an empty text is returned.
std::string assignBinding(TDigitalMacro& macro, int signal, std::int32_t step,
                          std::string_view bitText, bool invert);

// "Remove value": the cell's binding goes. True when there was one.
bool removeBinding(TDigitalMacro& macro, int signal, std::int32_t step);

// The "to" field of a bus binding: from + width - 1 as two digits, "NA" when the from text is no
// whole number or the result is 32 or more.
std::string bindingTopBitText(std::string_view fromText, int width);

// "Configure outputs": the template gets the new element list; each old element is matched to a
// new one by name (an exact match wins, otherwise the last match without regard to case); the
// bindings of unmatched elements are dropped, the others follow their element's new index.
void replaceTemplateSignals(TDigitalMacro& macro, const TDigitalWave& newTemplate);
