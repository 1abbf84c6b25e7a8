// The VST 3 parameters: the thirteen instrument parameters under IDs 0..12 (ID =
// parameter index), then the program selector and the two parameters through which
// hosts deliver MIDI that VST 3 carries as parameter changes (pitch bend; controllers 123
// and 126). Their descriptions, texts and the conversions of normalised values into
// what the instrument takes. The IDs are stored in songs and automation: never change
// them.
#pragma once

#include <cstdint>

#include "engine/midi_bytes.h"
#include "params/parameter_table.h"
#include "params/program_bank.h"
#include "vst3/abi/vst3.h"

class Instrument;

namespace quindle_vst3 {

constexpr vst3::ParamID kProgramParameter = PARAMETER_COUNT;              // 13
constexpr vst3::ParamID kPitchBendParameter = kProgramParameter + 1;      // 14
constexpr vst3::ParamID kAllNotesOffParameter = kPitchBendParameter + 1;  // 15
constexpr vst3::int32 kParameterIdCount = static_cast<vst3::int32>(kAllNotesOffParameter) + 1;

constexpr bool isInstrumentParameter(vst3::ParamID id) { return id < static_cast<vst3::ParamID>(PARAMETER_COUNT); }
constexpr bool isKnownParameter(vst3::ParamID id) { return id < static_cast<vst3::ParamID>(kParameterIdCount); }

// Normalised values outside 0..1 count as the nearer end; a value that is not a number
// counts as 0.
double clampNormalized(double value);

// The program selector: index = round(value x 7).
constexpr vst3::int32 kProgramSteps = kProgramCount - 1;
vst3::int32 programFromNormalized(double value);
double normalizedFromProgram(vst3::int32 program);

// Pitch bend: the 14-bit position the VST 2.4 build gets from the same MIDI message.
// Hosts scale the position by 1/16383 or by 1/16384 (which one is theirs); the rounding
// floor(value x 16383.5 + 0.5), limited to 0..16383, gives back every position exactly
// under either scaling, 8192 for the centre and 0 and 16383 for the ends.
constexpr vst3::int32 kBendLargest = midi_bytes::kBendTop;
constexpr vst3::int32 kBendCentre = midi_bytes::kBendCentre;
vst3::int32 bendFromNormalized(double value);
double normalizedFromBend(vst3::int32 position);

// A 7-bit MIDI data value from a normalised one (hosts divide by 127): round(value x 127).
constexpr vst3::int32 kLargestDataValue = midi_bytes::kDataMask;
std::uint8_t dataValueFromNormalized(double value);
// Note-on velocity as the same 7-bit value: 1..127, as a velocity of 0 would end the note.
std::uint8_t velocityFromNormalized(float value);

// The value a parameter starts with: program 0's values, program 0, the bend centre, 0.
double defaultNormalized(vst3::ParamID id);

// IEditController::getParameterInfo for index = ID. False for an unknown one.
bool describeParameter(vst3::int32 index, vst3::ParameterInfo& info);

// The value's text in `text` (String128): the instrument parameters' texts, the program's
// name, the bend position, the controller value. False for an unknown ID.
bool formatNormalized(const Instrument& instrument, vst3::ParamID id, double value, vst3::TChar* text);
// Reads what formatNormalized writes, plain numbers in 0..1 for the instrument
// parameters and program numbers for the selector. False, `value` untouched, otherwise.
bool parseNormalized(const Instrument& instrument, vst3::ParamID id, const vst3::TChar* text, double& value);

// The plain values: the instrument parameters as they are, the program number, the bend
// position, the controller value.
double plainFromNormalized(vst3::ParamID id, double value);
double normalizedFromPlain(vst3::ParamID id, double plain);

}  // namespace quindle_vst3
