// The CLAP binary interface: the audio-ports extension, the plug-in's list of audio
// inputs and outputs. Port lists change only while deactivated.
#pragma once

#include "clap/abi/clap_plugin.h"
#include "clap/abi/clap_types.h"

inline constexpr char CLAP_EXT_AUDIO_PORTS[] = "clap.audio-ports";

// Port types: a pointer to one of these static strings, or null.
inline constexpr char CLAP_PORT_MONO[] = "mono";
inline constexpr char CLAP_PORT_STEREO[] = "stereo";

// Port flags. Only one main port per direction, at index 0.
inline constexpr uint32_t CLAP_AUDIO_PORT_IS_MAIN = 1;
inline constexpr uint32_t CLAP_AUDIO_PORT_SUPPORTS_64BITS = 2;
inline constexpr uint32_t CLAP_AUDIO_PORT_PREFERS_64BITS = 4;
inline constexpr uint32_t CLAP_AUDIO_PORT_REQUIRES_COMMON_SAMPLE_SIZE = 8;

struct clap_audio_port_info_t {
  clap_id id;
  char name[CLAP_NAME_SIZE];
  uint32_t flags;
  uint32_t channel_count;
  const char* port_type;
  clap_id in_place_pair;  // CLAP_INVALID_ID when none
};
QUINDLE_CLAP_CHECK_SIZE(clap_audio_port_info_t, 276, 288);
QUINDLE_CLAP_CHECK_FIELD(clap_audio_port_info_t, id, 0, 0);
QUINDLE_CLAP_CHECK_FIELD(clap_audio_port_info_t, name, 4, 4);
QUINDLE_CLAP_CHECK_FIELD(clap_audio_port_info_t, flags, 260, 260);
QUINDLE_CLAP_CHECK_FIELD(clap_audio_port_info_t, channel_count, 264, 264);
QUINDLE_CLAP_CHECK_FIELD(clap_audio_port_info_t, port_type, 268, 272);
QUINDLE_CLAP_CHECK_FIELD(clap_audio_port_info_t, in_place_pair, 272, 280);

struct clap_plugin_audio_ports_t {
  // Host, main thread: the number of input or output ports.
  uint32_t(CLAP_ABI* count)(const clap_plugin_t* plugin, bool is_input);
  // Host, main thread: fills `info` for port `index`; false for a bad index.
  bool(CLAP_ABI* get)(const clap_plugin_t* plugin, uint32_t index, bool is_input, clap_audio_port_info_t* info);
};
QUINDLE_CLAP_CHECK_SIZE(clap_plugin_audio_ports_t, 8, 16);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_audio_ports_t, count, 0);
QUINDLE_CLAP_CHECK_ENTRY(clap_plugin_audio_ports_t, get, 1);

// What changed, for the host's rescan.
inline constexpr uint32_t CLAP_AUDIO_PORTS_RESCAN_NAMES = 1;
inline constexpr uint32_t CLAP_AUDIO_PORTS_RESCAN_FLAGS = 2;
inline constexpr uint32_t CLAP_AUDIO_PORTS_RESCAN_CHANNEL_COUNT = 4;
inline constexpr uint32_t CLAP_AUDIO_PORTS_RESCAN_PORT_TYPE = 8;
inline constexpr uint32_t CLAP_AUDIO_PORTS_RESCAN_IN_PLACE_PAIR = 16;
inline constexpr uint32_t CLAP_AUDIO_PORTS_RESCAN_LIST = 32;

struct clap_host_audio_ports_t {
  // Plug-in, main thread: whether the host handles rescan flag `flag`.
  bool(CLAP_ABI* is_rescan_flag_supported)(const clap_host_t* host, uint32_t flag);
  // Plug-in, main thread: the ports changed as `flags` say.
  void(CLAP_ABI* rescan)(const clap_host_t* host, uint32_t flags);
};
QUINDLE_CLAP_CHECK_SIZE(clap_host_audio_ports_t, 8, 16);
QUINDLE_CLAP_CHECK_ENTRY(clap_host_audio_ports_t, is_rescan_flag_supported, 0);
QUINDLE_CLAP_CHECK_ENTRY(clap_host_audio_ports_t, rescan, 1);
