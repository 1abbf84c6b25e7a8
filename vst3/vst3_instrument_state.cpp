// The object's state. The component state is the instrument's versioned state (the
// current program and the whole bank with its names), so a saved song keeps every
// program's edits. The controller keeps nothing of its own: its values come from the
// component state. Loading is all or nothing: a block of the wrong size or version,
// one cut short or one with a value that is not a finite number changes nothing.
#include <cstdint>

#include "vst3/state_stream.h"
#include "vst3/vst3_instrument.h"

namespace quindle_vst3 {

using namespace vst3;

// IComponent::getState: UI thread, or the processing thread of an offline render.
tresult Vst3Instrument::getProcessorState(IBStream* state) {
  if (state == nullptr) return kInvalidArgument;
  std::uint8_t image[Instrument::kStateSize];
  const std::size_t size = instrument.saveState(image, sizeof image);
  return writeStream(*state, image, size) ? kResultOk : kResultFalse;
}

tresult Vst3Instrument::loadStateFrom(IBStream* state) {
  if (state == nullptr) return kInvalidArgument;
  // One byte more than a state has, to tell a longer block.
  std::uint8_t image[Instrument::kStateSize + 1];
  const std::size_t size = readStream(*state, image, sizeof image);
  if (!instrument.loadState(image, size)) return kResultFalse;
  controller.syncFromInstrument();
  return kResultOk;
}

// IComponent::setState: as getProcessorState. The controller and the editor follow at once.
tresult Vst3Instrument::setProcessorState(IBStream* state) { return loadStateFrom(state); }

// IEditController::setComponentState, UI thread: the same bytes the component just took
// (or, from some hosts at start-up, the bytes it gave). Loading a state twice leaves it
// as loading it once, so the controller re-syncs by loading it: nothing here can differ
// from the component.
tresult PLUGIN_API Vst3Instrument::setComponentState(IBStream* state) { return loadStateFrom(state); }

// IEditController::getState, UI thread: nothing of the controller's own.
tresult Vst3Instrument::getControllerState(IBStream* state) { return state != nullptr ? kResultOk : kInvalidArgument; }

// IEditController::setState, UI thread: whatever a host stored there, nothing is read.
tresult Vst3Instrument::setControllerState(IBStream* state) { return state != nullptr ? kResultOk : kInvalidArgument; }

}  // namespace quindle_vst3
