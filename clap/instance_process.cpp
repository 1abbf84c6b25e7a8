// The audio cycle of the instance: process and params.flush. Each block's input events
// take effect at their frames through one BlockRenderer: parameter changes and program
// changes split the render there, notes of either dialect and MIDI go to the one intake.
#include <cmath>
#include <cstdint>

#include "clap/clap_instance.h"
#include "clap/parameter_range.h"
#include "core/block_renderer.h"
#include "engine/midi_bytes.h"

namespace {

// The plug-in's one note port (MIDI events name it by an unsigned index).
constexpr std::uint16_t kNotePort = 0;
constexpr std::size_t kMidiSize = sizeof(clap_event_midi_t::data);

std::int32_t frameOf(const clap_event_header_t& event) { return BlockRenderer::framesOf(event.time); }

// The main output's first two channels (either null where the host gave none): the
// renderer takes the render into one and its copy into the other.
void outputChannels(const clap_process_t& block, float*& left, float*& right) {
  left = nullptr;
  right = nullptr;
  if (block.audio_outputs == nullptr || block.audio_outputs_count == 0) return;
  const clap_audio_buffer_t& port = block.audio_outputs[0];
  if (port.data32 == nullptr || port.channel_count == 0) return;
  left = port.data32[0];
  if (port.channel_count > 1) right = port.data32[1];
}

}  // namespace

clap_process_status ClapInstance::process(const clap_process_t* block) {
  if (block == nullptr) return CLAP_PROCESS_ERROR;
  float* left = nullptr;
  float* right = nullptr;
  outputChannels(*block, left, right);
  BlockRenderer renderer(instrument, left, right, BlockRenderer::framesOf(block->frames_count));
  if (instrument.isActive()) {
    if (pendingProgram >= 0) changeProgram(pendingProgram, 0, renderer);
    applyEvents(block->in_events, renderer, true);
  }
  renderer.finish();
  if (block->audio_outputs != nullptr && block->audio_outputs_count > 0) block->audio_outputs[0].constant_mask = 0;
  edits.deliver(block->out_events, instrument);
  return pendingProgram >= 0 || instrument.isSounding() ? CLAP_PROCESS_CONTINUE : CLAP_PROCESS_SLEEP;
}

void ClapInstance::flush(const clap_input_events_t* in, const clap_output_events_t* out) {
  // No audio: changes apply at once, notes have no block to sound in.
  BlockRenderer changes(instrument, nullptr, nullptr, 0);
  applyEvents(in, changes, false);
  edits.deliver(out, instrument);
}

void ClapInstance::applyEvents(const clap_input_events_t* in, BlockRenderer& block, bool playsNotes) {
  if (in == nullptr || in->size == nullptr || in->get == nullptr) return;
  const std::uint32_t count = in->size(in);
  for (std::uint32_t index = 0; index < count; ++index) {
    if (const clap_event_header_t* event = clapabi::readableCoreEvent(in->get(in, index))) {
      applyEvent(*event, block, playsNotes);
    }
  }
}

void ClapInstance::applyEvent(const clap_event_header_t& event, BlockRenderer& block, bool playsNotes) {
  const std::int32_t frame = frameOf(event);
  switch (event.type) {
    case CLAP_EVENT_PARAM_VALUE: {
      const auto& change = reinterpret_cast<const clap_event_param_value_t&>(event);
      if (change.param_id >= static_cast<clap_id>(PARAMETER_COUNT) || !std::isfinite(change.value)) return;
      block.parameter(static_cast<std::int32_t>(change.param_id), quindleclap::withinRange(change.value), frame);
      return;
    }
    case CLAP_EVENT_NOTE_ON:
    case CLAP_EVENT_NOTE_OFF:
    case CLAP_EVENT_NOTE_CHOKE: {
      if (!playsNotes) return;
      NoteInput::Messages messages;
      notes.translate(event.type, reinterpret_cast<const clap_event_note_t&>(event), messages);
      if (messages.atOnce) block.renderTo(frame);
      for (std::int32_t i = 0; i < messages.count; ++i) block.midi(messages.bytes[i], NoteInput::kMessageSize, frame);
      return;
    }
    case CLAP_EVENT_MIDI:
      if (playsNotes) applyMidi(reinterpret_cast<const clap_event_midi_t&>(event), frame, block);
      return;
    default:
      // Modulation, note expressions, transport, system exclusive and MIDI 2: not played.
      return;
  }
}

void ClapInstance::applyMidi(const clap_event_midi_t& event, std::int32_t frame, BlockRenderer& block) {
  if (event.port_index != kNotePort) return;
  if ((event.data[0] & midi_bytes::kStatusMask) == midi_bytes::kProgramChange) {
    changeProgram(event.data[1] & midi_bytes::kDataMask, frame, block);
  } else {
    notes.midiSeen(event.data);
    block.midi(event.data, kMidiSize, frame);
  }
}

void ClapInstance::changeProgram(std::int32_t number, std::int32_t frame, BlockRenderer& block) {
  if (!instrument.bank().isProgram(number)) return;
  if (!bankGuard.tryEnter()) {
    pendingProgram = number;
    return;
  }
  block.program(number, frame);
  bankGuard.leave();
  pendingProgram = -1;
}
