// The VST 3 plug-in: one object that is both the processor and the controller (a single
// component), translating the interface onto the format-neutral instrument. The host
// creates it through the factory and ends it with its last release.
//
// Threads: `process` (and possibly setProcessing) on the host's audio thread, every
// other call on its UI thread; both reach the one instrument. The audio side works only
// through the instrument's parameter path, program selection and render; the controller
// side keeps its own view of the values (ControllerSide) and is the only one to call the
// host's handler.
#pragma once

#include <atomic>

#include "core/instrument.h"
#include "vst3/abi/vst3.h"
#include "vst3/controller_side.h"

namespace quindle_vst3 {

class Vst3Instrument final : public vst3::ComponentStateSlots,
                             public vst3::IAudioProcessor,
                             public vst3::IProcessContextRequirements,
                             public vst3::ControllerStateSlots,
                             public vst3::IMidiMapping,
                             public vst3::IUnitInfo {
 public:
  // The factory's createInstance, UI thread: a new object with a count of 1, or null
  // when its storage is unavailable.
  static Vst3Instrument* create();

  // FUnknown, any thread. Every interface of the object yields the same FUnknown.
  vst3::tresult PLUGIN_API queryInterface(const vst3::TUID interfaceId, void** obj) override;
  vst3::uint32 PLUGIN_API addRef() override;
  vst3::uint32 PLUGIN_API release() override;

  // IPluginBase (reached through IComponent and IEditController alike), UI thread.
  vst3::tresult PLUGIN_API initialize(vst3::FUnknown* context) override;
  vst3::tresult PLUGIN_API terminate() override;

  // IComponent, UI thread.
  vst3::tresult PLUGIN_API getControllerClassId(vst3::TUID classId) override;
  vst3::tresult PLUGIN_API setIoMode(vst3::IoMode mode) override;
  vst3::int32 PLUGIN_API getBusCount(vst3::MediaType type, vst3::BusDirection dir) override;
  vst3::tresult PLUGIN_API getBusInfo(vst3::MediaType type, vst3::BusDirection dir, vst3::int32 index,
                                      vst3::BusInfo& bus) override;
  vst3::tresult PLUGIN_API getRoutingInfo(vst3::RoutingInfo& inInfo, vst3::RoutingInfo& outInfo) override;
  vst3::tresult PLUGIN_API activateBus(vst3::MediaType type, vst3::BusDirection dir, vst3::int32 index,
                                       vst3::TBool state) override;
  vst3::tresult PLUGIN_API setActive(vst3::TBool state) override;

  // IAudioProcessor: process on the audio thread, setProcessing on either, the rest on
  // the UI thread.
  vst3::tresult PLUGIN_API setBusArrangements(vst3::SpeakerArrangement* inputs, vst3::int32 numIns,
                                              vst3::SpeakerArrangement* outputs, vst3::int32 numOuts) override;
  vst3::tresult PLUGIN_API getBusArrangement(vst3::BusDirection dir, vst3::int32 index,
                                             vst3::SpeakerArrangement& arr) override;
  vst3::tresult PLUGIN_API canProcessSampleSize(vst3::int32 symbolicSampleSize) override;
  vst3::uint32 PLUGIN_API getLatencySamples() override;
  vst3::tresult PLUGIN_API setupProcessing(vst3::ProcessSetup& setup) override;
  vst3::tresult PLUGIN_API setProcessing(vst3::TBool state) override;
  vst3::tresult PLUGIN_API process(vst3::ProcessData& data) override;
  vst3::uint32 PLUGIN_API getTailSamples() override;

  // IProcessContextRequirements, UI thread.
  vst3::uint32 PLUGIN_API getProcessContextRequirements() override;

  // IEditController, UI thread.
  vst3::tresult PLUGIN_API setComponentState(vst3::IBStream* state) override;
  vst3::int32 PLUGIN_API getParameterCount() override;
  vst3::tresult PLUGIN_API getParameterInfo(vst3::int32 paramIndex, vst3::ParameterInfo& info) override;
  vst3::tresult PLUGIN_API getParamStringByValue(vst3::ParamID id, vst3::ParamValue valueNormalized,
                                                 vst3::String128 string) override;
  vst3::tresult PLUGIN_API getParamValueByString(vst3::ParamID id, vst3::TChar* string,
                                                 vst3::ParamValue& valueNormalized) override;
  vst3::ParamValue PLUGIN_API normalizedParamToPlain(vst3::ParamID id, vst3::ParamValue valueNormalized) override;
  vst3::ParamValue PLUGIN_API plainParamToNormalized(vst3::ParamID id, vst3::ParamValue plainValue) override;
  vst3::ParamValue PLUGIN_API getParamNormalized(vst3::ParamID id) override;
  vst3::tresult PLUGIN_API setParamNormalized(vst3::ParamID id, vst3::ParamValue value) override;
  vst3::tresult PLUGIN_API setComponentHandler(vst3::IComponentHandler* handler) override;
  vst3::IPlugView* PLUGIN_API createView(vst3::FIDString name) override;

  // IMidiMapping, UI thread.
  vst3::tresult PLUGIN_API getMidiControllerAssignment(vst3::int32 busIndex, vst3::int16 channel,
                                                       vst3::CtrlNumber midiControllerNumber,
                                                       vst3::ParamID& id) override;

  // IUnitInfo, UI thread.
  vst3::int32 PLUGIN_API getUnitCount() override;
  vst3::tresult PLUGIN_API getUnitInfo(vst3::int32 unitIndex, vst3::UnitInfo& info) override;
  vst3::int32 PLUGIN_API getProgramListCount() override;
  vst3::tresult PLUGIN_API getProgramListInfo(vst3::int32 listIndex, vst3::ProgramListInfo& info) override;
  vst3::tresult PLUGIN_API getProgramName(vst3::ProgramListID listId, vst3::int32 programIndex,
                                          vst3::String128 name) override;
  vst3::tresult PLUGIN_API getProgramInfo(vst3::ProgramListID listId, vst3::int32 programIndex,
                                          vst3::FIDString attributeId, vst3::String128 attributeValue) override;
  vst3::tresult PLUGIN_API hasProgramPitchNames(vst3::ProgramListID listId, vst3::int32 programIndex) override;
  vst3::tresult PLUGIN_API getProgramPitchName(vst3::ProgramListID listId, vst3::int32 programIndex,
                                               vst3::int16 midiPitch, vst3::String128 name) override;
  vst3::UnitID PLUGIN_API getSelectedUnit() override;
  vst3::tresult PLUGIN_API selectUnit(vst3::UnitID unitId) override;
  vst3::tresult PLUGIN_API getUnitByBus(vst3::MediaType type, vst3::BusDirection dir, vst3::int32 busIndex,
                                        vst3::int32 channel, vst3::UnitID& unitId) override;
  vst3::tresult PLUGIN_API setUnitProgramData(vst3::int32 listOrUnitId, vst3::int32 programIndex,
                                              vst3::IBStream* data) override;

  // For tests that hold the object itself.
  const Instrument& heldInstrument() const { return instrument; }

 protected:
  // IComponent::setState / getState: the instrument's versioned state (UI thread, or
  // the host's processing thread when it renders offline).
  vst3::tresult setProcessorState(vst3::IBStream* state) override;
  vst3::tresult getProcessorState(vst3::IBStream* state) override;
  // IEditController::setState / getState: the controller keeps nothing of its own.
  vst3::tresult setControllerState(vst3::IBStream* state) override;
  vst3::tresult getControllerState(vst3::IBStream* state) override;

 private:
  Vst3Instrument();
  ~Vst3Instrument();

  bool isBus(vst3::MediaType type, vst3::BusDirection dir, vst3::int32 index);
  // Reads a whole component state and lets the instrument load it.
  vst3::tresult loadStateFrom(vst3::IBStream* state);

  std::atomic<vst3::uint32> references;
  Instrument instrument;
  ControllerSide controller;
};

}  // namespace quindle_vst3
