// The instrument's observer in the CLAP plug-in. A change may come on the audio thread
// (automation in process, a MIDI program change), where nothing may reach the editor's
// window system or the host's main-thread calls: every change is only recorded here, in
// atomics, and the host is asked once for a main-thread callback. There the editor hears
// of the changes through EditorNotifier, and the host of the values a program or a state
// replaced (params rescan; a program selection also marks the state dirty).
#pragma once

#include <atomic>
#include <cstdint>

#include "clap/abi/clap_ext_params.h"
#include "clap/abi/clap_ext_state.h"
#include "clap/abi/clap_plugin.h"
#include "core/instrument_observer.h"
#include "editor/editor_notifier.h"

class Instrument;

class HostNotifier : public InstrumentObserver {
 public:
  explicit HostNotifier(EditorBase* const& editorSlot);

  // Main thread, clap_plugin_t::init: the host and those of its extensions the
  // notifier uses (either may be null). Nothing is requested before this.
  void attach(const clap_host_t* host, const clap_host_params_t* params, const clap_host_state_t* state);

  // Any thread: recorded, then the host is asked for on_main_thread.
  void parameterChanged(std::int32_t index, float value) override;
  void programLoaded() override;
  void stateLoaded() override;

  // Main thread, on_main_thread: tells the editor and the host what was recorded.
  void deliver(const Instrument& instrument);

 private:
  void requestCallback();

  EditorNotifier editorNotifier;
  const clap_host_t* host;
  const clap_host_params_t* hostParams;
  const clap_host_state_t* hostState;
  // One bit per parameter changed since the last delivery.
  std::atomic<std::uint32_t> changedParameters;
  std::atomic<bool> programPending;
  std::atomic<bool> statePending;
  // A callback was asked for and has not come yet.
  std::atomic<bool> callbackRequested;
};
