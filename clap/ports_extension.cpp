// The audio-ports and note-ports extensions: no audio input, one stereo main output
// (both channels carry the same signal), one note input that takes notes in the CLAP
// dialect and as MIDI (the instrument's intake is MIDI, so MIDI is preferred; pitch bend,
// controllers and program changes come only as MIDI). No note output. The ports never
// change.
#include <cstring>

#include "clap/extensions.h"

namespace {

constexpr clap_id kPortId = 0;
constexpr std::uint32_t kOutputChannels = 2;
constexpr const char* kAudioOutputName = "Output";
constexpr const char* kNoteInputName = "Notes";

void copyName(char (&out)[CLAP_NAME_SIZE], const char* name) {
  std::strncpy(out, name, CLAP_NAME_SIZE - 1);
  out[CLAP_NAME_SIZE - 1] = '\0';
}

// Host, main thread.
uint32_t CLAP_ABI audioPortCount(const clap_plugin_t*, bool isInput) { return isInput ? 0 : 1; }

// Host, main thread.
bool CLAP_ABI audioPortInfo(const clap_plugin_t*, uint32_t index, bool isInput, clap_audio_port_info_t* info) {
  if (info == nullptr || isInput || index != 0) return false;
  std::memset(info, 0, sizeof(*info));
  info->id = kPortId;
  copyName(info->name, kAudioOutputName);
  info->flags = CLAP_AUDIO_PORT_IS_MAIN;
  info->channel_count = kOutputChannels;
  info->port_type = CLAP_PORT_STEREO;
  info->in_place_pair = CLAP_INVALID_ID;
  return true;
}

// Host, main thread.
uint32_t CLAP_ABI notePortCount(const clap_plugin_t*, bool isInput) { return isInput ? 1 : 0; }

// Host, main thread.
bool CLAP_ABI notePortInfo(const clap_plugin_t*, uint32_t index, bool isInput, clap_note_port_info_t* info) {
  if (info == nullptr || !isInput || index != 0) return false;
  std::memset(info, 0, sizeof(*info));
  info->id = kPortId;
  info->supported_dialects = CLAP_NOTE_DIALECT_CLAP | CLAP_NOTE_DIALECT_MIDI;
  info->preferred_dialect = CLAP_NOTE_DIALECT_MIDI;
  copyName(info->name, kNoteInputName);
  return true;
}

}  // namespace

const clap_plugin_audio_ports_t quindleclap::kAudioPorts = {audioPortCount, audioPortInfo};
const clap_plugin_note_ports_t quindleclap::kNotePorts = {notePortCount, notePortInfo};
