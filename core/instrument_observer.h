// Who hears of the instrument's value changes: an editor, and a format adapter that must
// tell its host. Each call comes on the thread that made the change.
#pragma once

#include <cstdint>

class InstrumentObserver {
 public:
  virtual ~InstrumentObserver() = default;
  // One parameter took a new value through the parameter path.
  virtual void parameterChanged(std::int32_t index, float value) = 0;
  // A program was selected: every live value may be different.
  virtual void programLoaded() = 0;
  // A chunk or a saved state was loaded: every live value and program may be different.
  virtual void stateLoaded() = 0;
};
