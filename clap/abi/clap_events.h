// The CLAP binary interface: events (notes, parameters, transport, MIDI) and the event
// lists that carry them into and out of process and params.flush.
#pragma once

#include "clap/abi/clap_types.h"

// Every event starts with this header; `size` is the whole record in bytes.
struct clap_event_header_t {
  uint32_t size;
  uint32_t time;  // frame offset from the start of the block
  uint16_t space_id;
  uint16_t type;
  uint32_t flags;
};
QUINDLE_CLAP_CHECK_SIZE(clap_event_header_t, 16, 16);
QUINDLE_CLAP_CHECK_FIELD(clap_event_header_t, size, 0, 0);
QUINDLE_CLAP_CHECK_FIELD(clap_event_header_t, time, 4, 4);
QUINDLE_CLAP_CHECK_FIELD(clap_event_header_t, space_id, 8, 8);
QUINDLE_CLAP_CHECK_FIELD(clap_event_header_t, type, 10, 10);
QUINDLE_CLAP_CHECK_FIELD(clap_event_header_t, flags, 12, 12);

// The space of every event below; events of any other space are skipped.
inline constexpr uint16_t CLAP_CORE_EVENT_SPACE_ID = 0;

// Header flags.
inline constexpr uint32_t CLAP_EVENT_IS_LIVE = 1;      // a live user action
inline constexpr uint32_t CLAP_EVENT_DONT_RECORD = 2;  // not to be recorded as automation

// Core event types. A note-on with velocity 0 is a real note-on, not a note-off.
inline constexpr uint16_t CLAP_EVENT_NOTE_ON = 0;
inline constexpr uint16_t CLAP_EVENT_NOTE_OFF = 1;
inline constexpr uint16_t CLAP_EVENT_NOTE_CHOKE = 2;  // silence the matching voices at once
inline constexpr uint16_t CLAP_EVENT_NOTE_END = 3;    // sent by the plug-in when a voice has finished
inline constexpr uint16_t CLAP_EVENT_NOTE_EXPRESSION = 4;
inline constexpr uint16_t CLAP_EVENT_PARAM_VALUE = 5;
inline constexpr uint16_t CLAP_EVENT_PARAM_MOD = 6;
inline constexpr uint16_t CLAP_EVENT_PARAM_GESTURE_BEGIN = 7;
inline constexpr uint16_t CLAP_EVENT_PARAM_GESTURE_END = 8;
inline constexpr uint16_t CLAP_EVENT_TRANSPORT = 9;
inline constexpr uint16_t CLAP_EVENT_MIDI = 10;
inline constexpr uint16_t CLAP_EVENT_MIDI_SYSEX = 11;
inline constexpr uint16_t CLAP_EVENT_MIDI2 = 12;

// A voice is addressed by (port, channel, key, note id); -1 in any of them is a wildcard
// when matching (not in a note-on). key 0..127 (60 is middle C), channel 0..15.
struct clap_event_note_t {
  clap_event_header_t header;
  int32_t note_id;  // >= 0, or -1 when the host gives none
  int16_t port_index;
  int16_t channel;
  int16_t key;
  double velocity;  // 0..1
};
QUINDLE_CLAP_CHECK_SIZE(clap_event_note_t, 40, 40);
QUINDLE_CLAP_CHECK_FIELD(clap_event_note_t, header, 0, 0);
QUINDLE_CLAP_CHECK_FIELD(clap_event_note_t, note_id, 16, 16);
QUINDLE_CLAP_CHECK_FIELD(clap_event_note_t, port_index, 20, 20);
QUINDLE_CLAP_CHECK_FIELD(clap_event_note_t, channel, 22, 22);
QUINDLE_CLAP_CHECK_FIELD(clap_event_note_t, key, 24, 24);
QUINDLE_CLAP_CHECK_FIELD(clap_event_note_t, velocity, 32, 32);

using clap_note_expression = int32_t;
inline constexpr clap_note_expression CLAP_NOTE_EXPRESSION_VOLUME = 0;
inline constexpr clap_note_expression CLAP_NOTE_EXPRESSION_PAN = 1;
inline constexpr clap_note_expression CLAP_NOTE_EXPRESSION_TUNING = 2;  // semitones
inline constexpr clap_note_expression CLAP_NOTE_EXPRESSION_VIBRATO = 3;
inline constexpr clap_note_expression CLAP_NOTE_EXPRESSION_EXPRESSION = 4;
inline constexpr clap_note_expression CLAP_NOTE_EXPRESSION_BRIGHTNESS = 5;
inline constexpr clap_note_expression CLAP_NOTE_EXPRESSION_PRESSURE = 6;

struct clap_event_note_expression_t {
  clap_event_header_t header;
  clap_note_expression expression_id;
  int32_t note_id;
  int16_t port_index;
  int16_t channel;
  int16_t key;
  double value;
};
QUINDLE_CLAP_CHECK_SIZE(clap_event_note_expression_t, 40, 40);
QUINDLE_CLAP_CHECK_FIELD(clap_event_note_expression_t, header, 0, 0);
QUINDLE_CLAP_CHECK_FIELD(clap_event_note_expression_t, expression_id, 16, 16);
QUINDLE_CLAP_CHECK_FIELD(clap_event_note_expression_t, note_id, 20, 20);
QUINDLE_CLAP_CHECK_FIELD(clap_event_note_expression_t, port_index, 24, 24);
QUINDLE_CLAP_CHECK_FIELD(clap_event_note_expression_t, channel, 26, 26);
QUINDLE_CLAP_CHECK_FIELD(clap_event_note_expression_t, key, 28, 28);
QUINDLE_CLAP_CHECK_FIELD(clap_event_note_expression_t, value, 32, 32);

// A parameter's new plain value in [min_value, max_value]; note_id, port_index, channel
// and key are -1 for an ordinary (global) change.
struct clap_event_param_value_t {
  clap_event_header_t header;
  clap_id param_id;
  void* cookie;  // what get_info gave, or null
  int32_t note_id;
  int16_t port_index;
  int16_t channel;
  int16_t key;
  double value;
};
QUINDLE_CLAP_CHECK_SIZE(clap_event_param_value_t, 48, 56);
QUINDLE_CLAP_CHECK_FIELD(clap_event_param_value_t, header, 0, 0);
QUINDLE_CLAP_CHECK_FIELD(clap_event_param_value_t, param_id, 16, 16);
QUINDLE_CLAP_CHECK_FIELD(clap_event_param_value_t, cookie, 20, 24);
QUINDLE_CLAP_CHECK_FIELD(clap_event_param_value_t, note_id, 24, 32);
QUINDLE_CLAP_CHECK_FIELD(clap_event_param_value_t, port_index, 28, 36);
QUINDLE_CLAP_CHECK_FIELD(clap_event_param_value_t, channel, 30, 38);
QUINDLE_CLAP_CHECK_FIELD(clap_event_param_value_t, key, 32, 40);
QUINDLE_CLAP_CHECK_FIELD(clap_event_param_value_t, value, 40, 48);

// Sent only to parameters flagged modulatable.
struct clap_event_param_mod_t {
  clap_event_header_t header;
  clap_id param_id;
  void* cookie;
  int32_t note_id;
  int16_t port_index;
  int16_t channel;
  int16_t key;
  double amount;
};
QUINDLE_CLAP_CHECK_SIZE(clap_event_param_mod_t, 48, 56);
QUINDLE_CLAP_CHECK_FIELD(clap_event_param_mod_t, header, 0, 0);
QUINDLE_CLAP_CHECK_FIELD(clap_event_param_mod_t, param_id, 16, 16);
QUINDLE_CLAP_CHECK_FIELD(clap_event_param_mod_t, cookie, 20, 24);
QUINDLE_CLAP_CHECK_FIELD(clap_event_param_mod_t, note_id, 24, 32);
QUINDLE_CLAP_CHECK_FIELD(clap_event_param_mod_t, port_index, 28, 36);
QUINDLE_CLAP_CHECK_FIELD(clap_event_param_mod_t, channel, 30, 38);
QUINDLE_CLAP_CHECK_FIELD(clap_event_param_mod_t, key, 32, 40);
QUINDLE_CLAP_CHECK_FIELD(clap_event_param_mod_t, amount, 40, 48);

// Begin on mouse-down, end on mouse-up, balanced; a gesture may span many blocks.
struct clap_event_param_gesture_t {
  clap_event_header_t header;
  clap_id param_id;
};
QUINDLE_CLAP_CHECK_SIZE(clap_event_param_gesture_t, 20, 20);
QUINDLE_CLAP_CHECK_FIELD(clap_event_param_gesture_t, header, 0, 0);
QUINDLE_CLAP_CHECK_FIELD(clap_event_param_gesture_t, param_id, 16, 16);

// Transport flags: which fields hold something, and the transport's state.
inline constexpr uint32_t CLAP_TRANSPORT_HAS_TEMPO = 1;
inline constexpr uint32_t CLAP_TRANSPORT_HAS_BEATS_TIMELINE = 2;
inline constexpr uint32_t CLAP_TRANSPORT_HAS_SECONDS_TIMELINE = 4;
inline constexpr uint32_t CLAP_TRANSPORT_HAS_TIME_SIGNATURE = 8;
inline constexpr uint32_t CLAP_TRANSPORT_IS_PLAYING = 16;
inline constexpr uint32_t CLAP_TRANSPORT_IS_RECORDING = 32;
inline constexpr uint32_t CLAP_TRANSPORT_IS_LOOP_ACTIVE = 64;
inline constexpr uint32_t CLAP_TRANSPORT_IS_WITHIN_PRE_ROLL = 128;

struct clap_event_transport_t {
  clap_event_header_t header;
  uint32_t flags;
  clap_beattime song_pos_beats;
  clap_sectime song_pos_seconds;
  double tempo;
  double tempo_inc;
  clap_beattime loop_start_beats;
  clap_beattime loop_end_beats;
  clap_sectime loop_start_seconds;
  clap_sectime loop_end_seconds;
  clap_beattime bar_start;
  int32_t bar_number;
  uint16_t tsig_num;
  uint16_t tsig_denom;
};
QUINDLE_CLAP_CHECK_SIZE(clap_event_transport_t, 104, 104);
QUINDLE_CLAP_CHECK_FIELD(clap_event_transport_t, header, 0, 0);
QUINDLE_CLAP_CHECK_FIELD(clap_event_transport_t, flags, 16, 16);
QUINDLE_CLAP_CHECK_FIELD(clap_event_transport_t, song_pos_beats, 24, 24);
QUINDLE_CLAP_CHECK_FIELD(clap_event_transport_t, song_pos_seconds, 32, 32);
QUINDLE_CLAP_CHECK_FIELD(clap_event_transport_t, tempo, 40, 40);
QUINDLE_CLAP_CHECK_FIELD(clap_event_transport_t, tempo_inc, 48, 48);
QUINDLE_CLAP_CHECK_FIELD(clap_event_transport_t, loop_start_beats, 56, 56);
QUINDLE_CLAP_CHECK_FIELD(clap_event_transport_t, loop_end_beats, 64, 64);
QUINDLE_CLAP_CHECK_FIELD(clap_event_transport_t, loop_start_seconds, 72, 72);
QUINDLE_CLAP_CHECK_FIELD(clap_event_transport_t, loop_end_seconds, 80, 80);
QUINDLE_CLAP_CHECK_FIELD(clap_event_transport_t, bar_start, 88, 88);
QUINDLE_CLAP_CHECK_FIELD(clap_event_transport_t, bar_number, 96, 96);
QUINDLE_CLAP_CHECK_FIELD(clap_event_transport_t, tsig_num, 100, 100);
QUINDLE_CLAP_CHECK_FIELD(clap_event_transport_t, tsig_denom, 102, 102);

// A raw MIDI 1.0 message, channel in the low nibble of data[0]. Pitch bend, controllers
// and channel pressure have no other form: they arrive only as MIDI (or MIDI 2) events.
struct clap_event_midi_t {
  clap_event_header_t header;
  uint16_t port_index;
  uint8_t data[3];
};
QUINDLE_CLAP_CHECK_SIZE(clap_event_midi_t, 24, 24);
QUINDLE_CLAP_CHECK_FIELD(clap_event_midi_t, header, 0, 0);
QUINDLE_CLAP_CHECK_FIELD(clap_event_midi_t, port_index, 16, 16);
QUINDLE_CLAP_CHECK_FIELD(clap_event_midi_t, data, 18, 18);

// The bytes belong to the sender and are valid only during the call that carries them.
struct clap_event_midi_sysex_t {
  clap_event_header_t header;
  uint16_t port_index;
  const uint8_t* buffer;
  uint32_t size;
};
QUINDLE_CLAP_CHECK_SIZE(clap_event_midi_sysex_t, 28, 40);
QUINDLE_CLAP_CHECK_FIELD(clap_event_midi_sysex_t, header, 0, 0);
QUINDLE_CLAP_CHECK_FIELD(clap_event_midi_sysex_t, port_index, 16, 16);
QUINDLE_CLAP_CHECK_FIELD(clap_event_midi_sysex_t, buffer, 20, 24);
QUINDLE_CLAP_CHECK_FIELD(clap_event_midi_sysex_t, size, 24, 32);

struct clap_event_midi2_t {
  clap_event_header_t header;
  uint16_t port_index;
  uint32_t data[4];
};
QUINDLE_CLAP_CHECK_SIZE(clap_event_midi2_t, 36, 36);
QUINDLE_CLAP_CHECK_FIELD(clap_event_midi2_t, header, 0, 0);
QUINDLE_CLAP_CHECK_FIELD(clap_event_midi2_t, port_index, 16, 16);
QUINDLE_CLAP_CHECK_FIELD(clap_event_midi2_t, data, 20, 20);

// Events handed in, sorted by time, reached by index (not by stepping `size` bytes).
// Owned by the host; valid only during the call that hands it over.
struct clap_input_events_t {
  void* ctx;  // the owner's
  // Plug-in, inside process or params.flush, on that call's thread: the number of events.
  uint32_t(CLAP_ABI* size)(const clap_input_events_t* list);
  // Plug-in, same call and thread: the event at `index`.
  const clap_event_header_t*(CLAP_ABI* get)(const clap_input_events_t* list, uint32_t index);
};
QUINDLE_CLAP_CHECK_SIZE(clap_input_events_t, 12, 24);
QUINDLE_CLAP_CHECK_ENTRY(clap_input_events_t, ctx, 0);
QUINDLE_CLAP_CHECK_ENTRY(clap_input_events_t, size, 1);
QUINDLE_CLAP_CHECK_ENTRY(clap_input_events_t, get, 2);

// Events handed out, in non-decreasing time below the block's frame count (0 in flush).
struct clap_output_events_t {
  void* ctx;  // the owner's
  // Plug-in, inside process or params.flush, on that call's thread: the host copies `size`
  // bytes from `event` on. False when it is out of room: drop, or retry next block.
  bool(CLAP_ABI* try_push)(const clap_output_events_t* list, const clap_event_header_t* event);
};
QUINDLE_CLAP_CHECK_SIZE(clap_output_events_t, 8, 16);
QUINDLE_CLAP_CHECK_ENTRY(clap_output_events_t, ctx, 0);
QUINDLE_CLAP_CHECK_ENTRY(clap_output_events_t, try_push, 1);

namespace clapabi {

// The record size of every core event type, indexed by type.
inline constexpr uint32_t kCoreEventSizes[] = {
    sizeof(clap_event_note_t),           sizeof(clap_event_note_t),          sizeof(clap_event_note_t),
    sizeof(clap_event_note_t),           sizeof(clap_event_note_expression_t), sizeof(clap_event_param_value_t),
    sizeof(clap_event_param_mod_t),      sizeof(clap_event_param_gesture_t), sizeof(clap_event_param_gesture_t),
    sizeof(clap_event_transport_t),      sizeof(clap_event_midi_t),          sizeof(clap_event_midi_sysex_t),
    sizeof(clap_event_midi2_t),
};
static_assert(sizeof(kCoreEventSizes) / sizeof(kCoreEventSizes[0]) == CLAP_EVENT_MIDI2 + 1,
              "one size per core event type");

// The size of the record of core event `type`; 0 for a type these declarations lack.
constexpr uint32_t coreEventSize(uint16_t type) {
  return type < sizeof(kCoreEventSizes) / sizeof(kCoreEventSizes[0]) ? kCoreEventSizes[type] : 0;
}

// The event when it may be read as the record of its type: present, in the core space,
// of a known type and at least as large as that record. Null for an event to skip.
inline const clap_event_header_t* readableCoreEvent(const clap_event_header_t* event) {
  if (event == nullptr || event->space_id != CLAP_CORE_EVENT_SPACE_ID) return nullptr;
  const uint32_t needed = coreEventSize(event->type);
  return needed != 0 && event->size >= needed ? event : nullptr;
}

}  // namespace clapabi
