#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "digital/DigitalWave.h"

// The rules for a new signal or macro element ("net") of the two configuration dialogs.

struct NewNetCheck {
    std::string error;       // the message for the first rule broken; empty when all hold
    std::uint8_t width = 1;  // the new net's width when all hold
};

// At most 16 nets ("Maximalny pocet prvkov prekroceny"), a name ("Musite zadat meno prvku"), a
// bus top index from 1 to 15 ("Nespravna velkost zbernice"; the width is the top index + 1), and
// no clash with an existing name ("Prvok s takym menom uz existuje").
NewNetCheck checkNewNet(const TDigitalWave& nets, const std::string& name, bool bus,
                        std::string_view topIndexText);

// Whether the name, or for a bus any of name00 to name<width-1>, equals (without regard to case)
// an existing net's name or an existing bus's name with one of its two-digit indexes.
bool netNameClashes(const TDigitalWave& nets, const std::string& name, int width);

// "Add to nets" of "Configure digital macro": the common rules, then room for the width among the
// template's 16 lines ("Nie je dost miesta na vytvorenie prvku"). The new sequence element takes
// the lowest lines that no element uses, in ascending order. Returns the message of the rule
// broken (nothing changes), or an empty text when the element was added.
std::string addMacroElement(TDigitalWave& templateWave, const std::string& name, bool bus,
                            std::string_view topIndexText);
