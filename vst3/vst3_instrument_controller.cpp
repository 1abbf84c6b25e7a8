// The object as the controller: parameters, the handler, the view, the MIDI that hosts
// deliver as parameters, and the factory programs as the one unit's program list.
// Every call here comes on the host's UI thread.
#include <cstring>

#include "engine/midi_bytes.h"
#include "vst3/editor_view.h"
#include "vst3/parameter_map.h"
#include "vst3/plugin_identity.h"
#include "vst3/text_fields.h"
#include "vst3/vst3_instrument.h"

namespace quindle_vst3 {
namespace {

using namespace vst3;

constexpr int32 kEventBus = 0;

bool isProgram(ProgramListID listId, int32 programIndex) {
  return listId == kProgramListId && programIndex >= 0 && programIndex < kProgramCount;
}

}  // namespace

int32 PLUGIN_API Vst3Instrument::getParameterCount() { return kParameterIdCount; }

tresult PLUGIN_API Vst3Instrument::getParameterInfo(int32 paramIndex, ParameterInfo& info) {
  return describeParameter(paramIndex, info) ? kResultOk : kInvalidArgument;
}

tresult PLUGIN_API Vst3Instrument::getParamStringByValue(ParamID id, ParamValue valueNormalized, String128 string) {
  return formatNormalized(instrument, id, valueNormalized, string) ? kResultOk : kInvalidArgument;
}

tresult PLUGIN_API Vst3Instrument::getParamValueByString(ParamID id, TChar* string, ParamValue& valueNormalized) {
  if (!isKnownParameter(id)) return kInvalidArgument;
  return parseNormalized(instrument, id, string, valueNormalized) ? kResultOk : kResultFalse;
}

ParamValue PLUGIN_API Vst3Instrument::normalizedParamToPlain(ParamID id, ParamValue valueNormalized) {
  return plainFromNormalized(id, valueNormalized);
}

ParamValue PLUGIN_API Vst3Instrument::plainParamToNormalized(ParamID id, ParamValue plainValue) {
  return normalizedFromPlain(id, plainValue);
}

ParamValue PLUGIN_API Vst3Instrument::getParamNormalized(ParamID id) { return controller.value(id); }

// So that the editor follows played-back automation and the host's own controls; the
// sound follows the points of the process calls.
tresult PLUGIN_API Vst3Instrument::setParamNormalized(ParamID id, ParamValue value) {
  return controller.setFromHost(id, value);
}

tresult PLUGIN_API Vst3Instrument::setComponentHandler(IComponentHandler* handler) {
  controller.setHandler(handler);
  return kResultOk;
}

IPlugView* PLUGIN_API Vst3Instrument::createView(FIDString name) {
  if (name == nullptr || std::strcmp(name, ViewType::kEditor) != 0) return nullptr;
  return createEditorView(*static_cast<IEditController*>(this), controller);
}

// Pitch bend on every channel of the event bus, and the two controllers that silence
// every voice. Other controllers do nothing here, so they are not mapped.
tresult PLUGIN_API Vst3Instrument::getMidiControllerAssignment(int32 busIndex, int16 channel,
                                                               CtrlNumber midiControllerNumber, ParamID& id) {
  if (busIndex != kEventBus || channel < 0 || channel >= kEventChannels) return kResultFalse;
  if (midiControllerNumber == kPitchBend) {
    id = kPitchBendParameter;
    return kResultTrue;
  }
  if (midiControllerNumber == kCtrlAllNotesOff || midiControllerNumber == midi_bytes::kMonoModeOn) {
    id = kAllNotesOffParameter;
    return kResultTrue;
  }
  return kResultFalse;
}

int32 PLUGIN_API Vst3Instrument::getUnitCount() { return 1; }

tresult PLUGIN_API Vst3Instrument::getUnitInfo(int32 unitIndex, UnitInfo& info) {
  if (unitIndex != 0) return kInvalidArgument;
  info.id = kRootUnit;
  info.parentUnitId = kNoParentUnitId;
  copyToString128(info.name, kRootUnitName);
  info.programListId = kProgramListId;
  return kResultOk;
}

int32 PLUGIN_API Vst3Instrument::getProgramListCount() { return 1; }

tresult PLUGIN_API Vst3Instrument::getProgramListInfo(int32 listIndex, ProgramListInfo& info) {
  if (listIndex != 0) return kInvalidArgument;
  info.id = kProgramListId;
  copyToString128(info.name, kProgramListName);
  info.programCount = kProgramCount;
  return kResultOk;
}

// The names as they are now: renamed programs and loaded banks show theirs.
tresult PLUGIN_API Vst3Instrument::getProgramName(ProgramListID listId, int32 programIndex, String128 name) {
  char text[Instrument::kProgramNameCapacity];
  if (name == nullptr || !isProgram(listId, programIndex) || !instrument.programName(programIndex, text)) {
    return kInvalidArgument;
  }
  copyToString128(name, text);
  return kResultOk;
}

tresult PLUGIN_API Vst3Instrument::getProgramInfo(ProgramListID, int32, FIDString, String128) {
  return kNotImplemented;
}

tresult PLUGIN_API Vst3Instrument::hasProgramPitchNames(ProgramListID, int32) { return kResultFalse; }

tresult PLUGIN_API Vst3Instrument::getProgramPitchName(ProgramListID, int32, int16, String128) {
  return kResultFalse;
}

UnitID PLUGIN_API Vst3Instrument::getSelectedUnit() { return kRootUnit; }

tresult PLUGIN_API Vst3Instrument::selectUnit(UnitID unitId) {
  return unitId == kRootUnit ? kResultOk : kInvalidArgument;
}

tresult PLUGIN_API Vst3Instrument::getUnitByBus(MediaType type, BusDirection dir, int32 busIndex, int32,
                                                UnitID& unitId) {
  if (!isBus(type, dir, busIndex)) return kInvalidArgument;
  unitId = kRootUnit;
  return kResultOk;
}

tresult PLUGIN_API Vst3Instrument::setUnitProgramData(int32, int32, IBStream*) { return kNotImplemented; }

}  // namespace quindle_vst3
