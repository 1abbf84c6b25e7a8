// The CLAP binary interface: one block of processing, its audio buffers and the status
// process returns.
#pragma once

#include "clap/abi/clap_events.h"
#include "clap/abi/clap_types.h"

// One port's channels. Exactly one of data32/data64 is set: 32-bit float is always
// offered, data64 only on ports flagged for 64-bit samples. Output buffers arrive with
// undefined contents: every frame of every channel is to be written.
struct clap_audio_buffer_t {
  float** data32;
  double** data64;
  uint32_t channel_count;
  uint32_t latency;  // to the audio interface
  // Bit i: channel i holds one value throughout (a hint; the channel is still filled).
  uint64_t constant_mask;
};
QUINDLE_CLAP_CHECK_SIZE(clap_audio_buffer_t, 24, 32);
QUINDLE_CLAP_CHECK_FIELD(clap_audio_buffer_t, data32, 0, 0);
QUINDLE_CLAP_CHECK_FIELD(clap_audio_buffer_t, data64, 4, 8);
QUINDLE_CLAP_CHECK_FIELD(clap_audio_buffer_t, channel_count, 8, 16);
QUINDLE_CLAP_CHECK_FIELD(clap_audio_buffer_t, latency, 12, 20);
QUINDLE_CLAP_CHECK_FIELD(clap_audio_buffer_t, constant_mask, 16, 24);

// Everything reachable from it is valid only until process returns.
struct clap_process_t {
  int64_t steady_time;  // sample counter, -1 when unknown; grows by >= frames_count per call
  uint32_t frames_count;
  const clap_event_transport_t* transport;  // state at frame 0; null for a free-running host
  const clap_audio_buffer_t* audio_inputs;  // one per input port
  clap_audio_buffer_t* audio_outputs;       // one per output port, in audio-ports order
  uint32_t audio_inputs_count;
  uint32_t audio_outputs_count;
  const clap_input_events_t* in_events;    // sorted by time
  const clap_output_events_t* out_events;  // pushed in time order
};
QUINDLE_CLAP_CHECK_SIZE(clap_process_t, 40, 64);
QUINDLE_CLAP_CHECK_FIELD(clap_process_t, steady_time, 0, 0);
QUINDLE_CLAP_CHECK_FIELD(clap_process_t, frames_count, 8, 8);
QUINDLE_CLAP_CHECK_FIELD(clap_process_t, transport, 12, 16);
QUINDLE_CLAP_CHECK_FIELD(clap_process_t, audio_inputs, 16, 24);
QUINDLE_CLAP_CHECK_FIELD(clap_process_t, audio_outputs, 20, 32);
QUINDLE_CLAP_CHECK_FIELD(clap_process_t, audio_inputs_count, 24, 40);
QUINDLE_CLAP_CHECK_FIELD(clap_process_t, audio_outputs_count, 28, 44);
QUINDLE_CLAP_CHECK_FIELD(clap_process_t, in_events, 32, 48);
QUINDLE_CLAP_CHECK_FIELD(clap_process_t, out_events, 36, 56);
static_assert(alignof(clap_process_t) == 8, "clap_process_t is 8-aligned on every target");

using clap_process_status = int32_t;
inline constexpr clap_process_status CLAP_PROCESS_ERROR = 0;     // failed; the host discards the output
inline constexpr clap_process_status CLAP_PROCESS_CONTINUE = 1;  // keep calling
inline constexpr clap_process_status CLAP_PROCESS_CONTINUE_IF_NOT_QUIET = 2;  // while the output is not silent
inline constexpr clap_process_status CLAP_PROCESS_TAIL = 3;   // for as long as the tail extension says
inline constexpr clap_process_status CLAP_PROCESS_SLEEP = 4;  // not until the next event
