// One object answering both IComponent and IEditController (a single component) would
// fill IComponent's state slots (12, 13) and IEditController's (6, 7) with one setState
// and one getState: their C++ signatures are identical. Deriving from these two classes
// instead of the interfaces gives each pair its own name; the class below them then
// implements the four functions and may not override setState or getState again.
#pragma once

#include "vst3/abi/vst3_component.h"
#include "vst3/abi/vst3_controller.h"

namespace vst3 {

class ComponentStateSlots : public IComponent {
 public:
  tresult PLUGIN_API setState(IBStream* state) final { return setProcessorState(state); }
  tresult PLUGIN_API getState(IBStream* state) final { return getProcessorState(state); }

 protected:
  ~ComponentStateSlots() = default;
  // The processor's state: what the host stores as the component state.
  virtual tresult setProcessorState(IBStream* state) = 0;
  virtual tresult getProcessorState(IBStream* state) = 0;
};

class ControllerStateSlots : public IEditController {
 public:
  tresult PLUGIN_API setState(IBStream* state) final { return setControllerState(state); }
  tresult PLUGIN_API getState(IBStream* state) final { return getControllerState(state); }

 protected:
  ~ControllerStateSlots() = default;
  // The controller's own state, stored by the host after the component state.
  virtual tresult setControllerState(IBStream* state) = 0;
  virtual tresult getControllerState(IBStream* state) = 0;
};

}  // namespace vst3
