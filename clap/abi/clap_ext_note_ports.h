// The CLAP binary interface: the note-ports extension, the plug-in's note inputs and
// outputs and the dialects each accepts.
#pragma once

#include "clap/abi/clap_plugin.h"
#include "clap/abi/clap_types.h"

inline constexpr char CLAP_EXT_NOTE_PORTS[] = "clap.note-ports";

// Note dialects, as a bit set. A port with both CLAP and MIDI accepts notes in either
// form and must never count one note twice.
inline constexpr uint32_t CLAP_NOTE_DIALECT_CLAP = 1;
inline constexpr uint32_t CLAP_NOTE_DIALECT_MIDI = 2;
inline constexpr uint32_t CLAP_NOTE_DIALECT_MIDI_MPE = 4;
inline constexpr uint32_t CLAP_NOTE_DIALECT_MIDI2 = 8;

struct clap_note_port_info_t {
  clap_id id;
  uint32_t supported_dialects;
  uint32_t preferred_dialect;  // one bit of supported_dialects
  char name[CLAP_NAME_SIZE];
};
QUINDLE_CLAP_CHECK_SIZE(clap_note_port_info_t, 268, 268);
QUINDLE_CLAP_CHECK_FIELD(clap_note_port_info_t, id, 0, 0);
QUINDLE_CLAP_CHECK_FIELD(clap_note_port_info_t, supported_dialects, 4, 4);
QUINDLE_CLAP_CHECK_FIELD(clap_note_port_info_t, preferred_dialect, 8, 8);
QUINDLE_CLAP_CHECK_FIELD(clap_note_port_info_t, name, 12, 12);

struct clap_plugin_note_ports_t {
  // Host, main thread: the number of input or output note ports.
  uint32_t(CLAP_ABI* count)(const clap_plugin_t* plugin, bool is_input);
  // Host, main thread: fills `info` for port `index`; false for a bad index.
  bool(CLAP_ABI* get)(const clap_plugin_t* plugin, uint32_t index, bool is_input, clap_note_port_info_t* info);
};
QUINDLE_CLAP_CHECK_SIZE(clap_plugin_note_ports_t, 8, 16);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_note_ports_t, count, 0);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_note_ports_t, get, 1);

inline constexpr uint32_t CLAP_NOTE_PORTS_RESCAN_ALL = 1;
inline constexpr uint32_t CLAP_NOTE_PORTS_RESCAN_NAMES = 2;

struct clap_host_note_ports_t {
  // Plug-in, main thread: the dialects the host can send, as a bit set.
  uint32_t(CLAP_ABI* supported_dialects)(const clap_host_t* host);
  // Plug-in, main thread: the note ports changed as `flags` say.
  void(CLAP_ABI* rescan)(const clap_host_t* host, uint32_t flags);
};
QUINDLE_CLAP_CHECK_SIZE(clap_host_note_ports_t, 8, 16);
QUINDLE_CLAP_CHECK_ENTRY(clap_host_note_ports_t, supported_dialects, 0);
QUINDLE_CLAP_CHECK_ENTRY(clap_host_note_ports_t, rescan, 1);
