// How a host's own run loop drives an editor window that has no thread of its own (the
// X11 editor): the host watches a file descriptor and calls back when it is readable, and
// runs a timer. Formats whose hosts call an idle operation regularly (VST 2.4's
// effEditIdle, LV2's idle interface) use EditorBase::idle, which does both.
#pragma once

#include <cstdint>

class EditorEventPump {
 public:
  // What pumpDescriptor answers while no window is open.
  static constexpr int kNoDescriptor = -1;
  // The period to run the timer at: values set from other threads are drawn within it.
  static constexpr std::uint32_t kTimerPeriodMs = 30;

  virtual ~EditorEventPump() = default;
  // UI thread: the descriptor to watch for reading while the window is open (the window
  // system connection's); kNoDescriptor while closed. It changes with every open.
  virtual int pumpDescriptor() const = 0;
  // UI thread, when the descriptor is readable: handles every pending window event and
  // draws what changed. Never blocks.
  virtual void pumpEvents() = 0;
  // UI thread, at every timer tick: draws the controls whose values other threads set,
  // and handles any event still pending. Never blocks.
  virtual void pumpTimer() = 0;
};
