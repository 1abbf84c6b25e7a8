// One instance of the CLAP plug-in: the plug-in record the host calls, translated onto
// the format-neutral instrument. The instance owns the instrument, the observer that
// carries the instrument's changes to the main thread, the queue of the editor's edits
// for the host, the note-dialect intake and, while the host shows it, the editor with
// the host's loop that drives its window. It is
// what the editor edits (EditedInstance): the user's changes take the parameter path at
// once and reach the host as output events of the next process or flush.
#pragma once

#include <atomic>
#include <cstdint>

#include "clap/abi/clap.h"
#include "clap/edit_queue.h"
#include "clap/editor_run_loop.h"
#include "clap/host_notifier.h"
#include "clap/note_input.h"
#include "core/instrument.h"
#include "editor/edited_instance.h"

class BlockRenderer;
class EditorBase;

// The bank of programs is written by a MIDI program change on the audio thread and read
// or replaced by the state calls on the main thread. The audio thread only ever tries to
// enter (and, when the main thread is inside, makes its change at the next block); the
// main thread waits the few microseconds a program selection takes.
class BankGuard {
 public:
  bool tryEnter() { return !busy.test_and_set(std::memory_order_acquire); }
  void enter();
  void leave() { busy.clear(std::memory_order_release); }

 private:
  std::atomic_flag busy = ATOMIC_FLAG_INIT;
};

class ClapInstance : public EditedInstance {
 public:
  // Host, create_plugin (any thread): null without memory. `host` is kept, not called.
  static ClapInstance* create(const clap_host_t* host);
  // The instance behind a record the host hands back; null for a null record.
  static ClapInstance* of(const clap_plugin_t* plugin);
  const clap_plugin_t* record() const { return &plugin; }

  // The clap_plugin_t operations (who calls each, when and on which thread is said at
  // their definitions).
  bool init();
  void destroy();
  bool activate(double sampleRate);
  void deactivate();
  bool startProcessing();
  void stopProcessing();
  void reset();
  clap_process_status process(const clap_process_t* block);
  const void* extension(const char* id) const;
  void onMainThread();

  // params.flush: the input events' parameter changes, then the editor's edits out.
  void flush(const clap_input_events_t* in, const clap_output_events_t* out);
  // state.save and state.load, main thread: the versioned state through the streams.
  bool saveState(const clap_ostream_t* stream);
  bool loadState(const clap_istream_t* stream);

  Instrument& synth() { return instrument; }
  // The editor the gui extension creates for the host, and the host window it was
  // given to live in (null until then).
  EditorBase*& editorSlot() { return editor; }
  void*& editorParent() { return parentWindow; }
  // The host's timer and descriptor watch that hand the editor's window its events.
  EditorRunLoop& editorLoop() { return runLoop; }
  // Main thread (gui.destroy, destroy): the editor's window closes, then the editor goes.
  void destroyEditor();

  // What the editor edits (main thread).
  float getParameter(std::int32_t index) override;
  void setParameter(std::int32_t index, float value) override;
  void automateParameter(std::int32_t index, float value) override;
  void beginEdit(std::int32_t index) override;
  void endEdit(std::int32_t index) override;

 private:
  explicit ClapInstance(const clap_host_t* host);
  ~ClapInstance() override;

  // The thread of process or flush: every input event, each at its frame of `block`;
  // notes and MIDI only when `playsNotes` (process).
  void applyEvents(const clap_input_events_t* in, BlockRenderer& block, bool playsNotes);
  void applyEvent(const clap_event_header_t& event, BlockRenderer& block, bool playsNotes);
  void applyMidi(const clap_event_midi_t& event, std::int32_t frame, BlockRenderer& block);
  void changeProgram(std::int32_t number, std::int32_t frame, BlockRenderer& block);
  void requestFlush();

  clap_plugin_t plugin;
  const clap_host_t* host;
  const clap_host_params_t* hostParams;
  Instrument instrument;
  EditorBase* editor;
  void* parentWindow;
  EditorRunLoop runLoop;
  HostNotifier notifier;
  EditQueue edits;
  NoteInput notes;
  BankGuard bankGuard;
  // Audio thread: a program change that found the bank busy, made at the next block.
  std::int32_t pendingProgram;
};
