// How a host's own run loop drives an editor window that has no thread of its own (the
// X11 editor): the host watches a file descriptor and calls back when it is readable, and
// runs a timer. Formats whose hosts call an idle operation regularly (VST 2.4's
// effEditIdle, LV2's idle interface) use EditorBase::idle, which does both.
//
// After a successful open, register pumpDescriptor() for reading and a timer of
// kTimerPeriodMs with the host; before close, unregister both (the descriptor belongs to
// the window's connection and is another one after the next open). VST 3: the IRunLoop
// of the view's IPlugFrame, registerEventHandler(handler, descriptor) with onFDIsSet
// calling pumpEvents, registerTimer(handler, period) with onTimer calling pumpTimer.
// CLAP: the host's posix-fd-support register_fd(descriptor, read) and the plug-in's
// on_fd calling pumpEvents; timer-support register_timer(period) and on_timer calling
// pumpTimer. The timer is needed even with the descriptor watched: events the connection
// has already read into its queue do not make the descriptor readable again.
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
