// The host's main-thread loop as the event source of an editor window that has no thread
// of its own (the X11 editor): while the window is open, a timer of the host's
// timer-support and, where the host offers posix-fd-support, a watch on the window's
// connection descriptor, both handed to the editor's event pump when they fire. The
// timer is what the editor cannot do without: it also handles the events the connection
// has already queued, so it alone drives the window where no descriptor is watched.
#pragma once

#include <cstdint>

#include "clap/abi/clap_ext_posix_fd_support.h"
#include "clap/abi/clap_ext_timer_support.h"
#include "clap/abi/clap_plugin.h"
#include "editor/editor_event_pump.h"

class EditorRunLoop {
 public:
  // Main thread, clap_plugin_t::init: the host's two extensions, asked for once (either
  // may be missing, or lack a function).
  void attach(const clap_host_t* host);
  // Whether the host can drive the window: it offers timers.
  bool canDrive() const { return timers != nullptr; }

  // Main thread, after the editor's window opened: registers the timer, then the
  // descriptor. False, with nothing registered, when the host refused the timer.
  bool start(EditorEventPump& pump);
  // Main thread, before the window closes (and when the editor goes): unregisters what
  // start registered. Harmless when nothing is.
  void stop();

  // The host, main thread, through the plug-in's on_timer and on_fd: the pump's work for
  // the timer and descriptor registered here; calls for any other are ignored. A
  // descriptor the host reports in error is no longer watched (the timer goes on).
  void timerDue(clap_id timerId);
  void descriptorReady(int descriptor, std::uint32_t flags);

 private:
  const clap_host_t* host = nullptr;
  const clap_host_timer_support_t* timers = nullptr;
  const clap_host_posix_fd_support_t* descriptors = nullptr;
  // The pump of the open window, and what is registered for it.
  EditorEventPump* pump = nullptr;
  clap_id timer = CLAP_INVALID_ID;
  int watched = EditorEventPump::kNoDescriptor;
};
