// One instance of a VST 3 plug-in's audio class, driven only through its interfaces, the
// way a host drives it: created and initialised with the host's context, the processor
// and the controller found on the one object (a single component), the handler set and
// the controller synced from the component state; then processing set up and switched
// on, blocks with their events and parameter changes, and everything undone in reverse
// when the instance goes.
//
// MIDI is translated as hosts translate it: note on and off become note events
// (velocity / 127, a note-on with velocity 0 a note-off); pitch bend and controllers
// become changes of the parameter the controller's MIDI mapping names (the 14-bit bend
// position / 16383, a controller value / 127); unmapped ones are dropped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tools/host/vst3_host_objects.h"
#include "tools/host/vst3_module.h"
#include "vst3/abi/vst3.h"

class Vst3Instance {
 public:
  // Null with a reason when the module has no audio class, the instance cannot be made
  // or initialised, or it is not a single component.
  static std::unique_ptr<Vst3Instance> create(const Vst3Module& module, std::string& error);
  ~Vst3Instance();
  Vst3Instance(const Vst3Instance&) = delete;
  Vst3Instance& operator=(const Vst3Instance&) = delete;

  vst3::IComponent& component() { return *componentInterface; }
  vst3::IAudioProcessor& processor() { return *processorInterface; }
  vst3::IEditController& controller() { return *controllerInterface; }
  vst3host::ComponentHandler& handler() { return componentHandler; }
  // The controller's MIDI mapping and unit info; null when it has none.
  vst3::IMidiMapping* midiMapping() { return mapping; }
  vst3::IUnitInfo* unitInfo() { return units; }

  // setupProcessing (32-bit samples, offline), the stereo arrangement, the buses on,
  // setActive and setProcessing; room for `maxEvents` events a block. False with a
  // reason when the plug-in refuses.
  bool prepare(double sampleRate, vst3::int32 maxBlockFrames, std::string& error, std::size_t maxEvents = 0);
  // setProcessing (false) and setActive (false), if prepared.
  void stop();

  // A value set between blocks: the controller hears of it at once (setParamNormalized)
  // and the next block carries it as a point at offset 0.
  void setParameter(vst3::ParamID id, double value);
  // A MIDI message at `frame` of the next block.
  void midi(const std::uint8_t* bytes, std::size_t size, vst3::int32 frame);
  // One block into the two channels, with what was gathered since the last one. With
  // no channels (both null) or 0 frames it is a flush: only the changes go.
  bool process(float* left, float* right, vst3::int32 frames, std::string& error);

  // The component state and the controller state, as a host saves them into a song.
  bool saveState(std::vector<std::uint8_t>& componentState, std::vector<std::uint8_t>& controllerState);
  // As a host loads them: IComponent::setState, IEditController::setComponentState with
  // the same bytes, IEditController::setState.
  bool loadState(const std::vector<std::uint8_t>& componentState, const std::vector<std::uint8_t>& controllerState,
                 std::string& error);

 private:
  Vst3Instance() = default;
  bool connect(const Vst3Module& module, std::string& error);
  void mappedChange(vst3::int32 channel, vst3::CtrlNumber controller, double value, vst3::int32 frame);

  vst3host::HostApplication application;
  vst3host::ComponentHandler componentHandler;
  vst3host::EventList events;
  vst3host::ParameterChanges changes;
  vst3::IComponent* componentInterface = nullptr;
  vst3::IAudioProcessor* processorInterface = nullptr;
  vst3::IEditController* controllerInterface = nullptr;
  vst3::IMidiMapping* mapping = nullptr;
  vst3::IUnitInfo* units = nullptr;
  bool initialized = false;
  bool prepared = false;
  double rate = 0.0;
  vst3::int64 position = 0;
};
