// What an editor edits: the plug-in instance as its controls see it. The VST 2.4 instance
// is one (its frame implements these operations); every other format's adapter provides
// its own, which reports the user's edits to its host the way that format does.
#pragma once

#include <cstdint>

class EditedInstance {
 public:
  virtual ~EditedInstance() = default;

  // The live value of a parameter (controls refreshing themselves, any thread).
  virtual float getParameter(std::int32_t index) = 0;
  // A change the host need not hear of.
  virtual void setParameter(std::int32_t index, float value) = 0;
  // A change the user made: the instance takes it, then the host is told (UI thread).
  virtual void automateParameter(std::int32_t index, float value) = 0;
  // The user takes hold of a control and lets it go again (UI thread). Formats whose
  // hosts record gestures bracket the automateParameter calls with these; the VST 2.4
  // instance never sends them.
  virtual void beginEdit(std::int32_t index);
  virtual void endEdit(std::int32_t index);
};

inline void EditedInstance::beginEdit(std::int32_t) {}
inline void EditedInstance::endEdit(std::int32_t) {}
