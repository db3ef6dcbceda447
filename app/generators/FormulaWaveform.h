#pragma once

#include <string>

#include "core/UserMessages.h"
#include "generators/ComplexMath.h"
#include "generators/MathParameterBlock.h"
#include "waves/WaveformRecord.h"

// What the formula editor and its options dialog compute; the dialogs only collect the texts
// and call these. Every function sets the permissions and variables of the expression's
// context itself. Errors are FormulaError texts made of the stage ("Variables conversion",
// "Range conversion", "Formula checking" when adding, "Formula" when computing), ": " and the
// engine's or the range check's message.

inline constexpr const char* kTooManyFormulas = "Maximalny pocet priebehov bol prekroceny";

// Checks a slot as "Add to list" does (its constants and ranges convert, the wave range is a
// whole-numbered part of 0..16383 with end above start, the real end is above the real start,
// and the formula is defined over the whole range) and stores it with the constants: appended
// when replaceIndex is -1 (refused with kTooManyFormulas when 16 are in use), else in place of
// that slot. Throws FormulaError; the block is unchanged then.
void addFormulaSlot(MathParameterBlock& block, int replaceIndex, const MathSlot& slot,
                    const MathConstants& constants, TComplexMath& expression);

// Removes slot index; the slots behind it move up.
void deleteFormulaSlot(MathParameterBlock& block, int index);

// "Count" in simple mode: the one slot and the constants become the block's only slot.
void setSimpleFormula(MathParameterBlock& block, const MathSlot& slot,
                      const MathConstants& constants);

// Computes slot k into the record's points (16384 of them): the formula over the slot's real
// range onto its wave range, scaled into 1..255 when the block normalizes, else only limited
// to it. A wave range outside the record's points is refused with "Invalid wave range" in the
// stage "Range conversion". Throws FormulaError; the points written before it stay.
void computeFormulaSlot(const MathParameterBlock& block, int k, TComplexMath& expression,
                        WaveformRecord& record);

// Computes every slot in use in order, showing each failure as an error box and going on with
// the next slot. Returns true when no slot failed.
bool computeFormulaWaveform(const MathParameterBlock& block, TComplexMath& expression,
                            WaveformRecord& record, UserMessages& messages);

// OK of the editor after a computation without error: the block becomes the record's params,
// generatorKind 2, optionsKind 2 when y or z is allowed (else 0), and the statistics are
// computed.
void finishFormulaWaveform(const MathParameterBlock& block, WaveformRecord& record);

// The line of the slot list: "Formula: sin(x)    Real range:0 to 2*pi Wave range:0 to 16383".
std::string formulaListLine(const MathSlot& slot);
