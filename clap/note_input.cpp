#include "clap/note_input.h"

#include <cmath>

#include "engine/midi_bytes.h"

namespace {

using namespace midi_bytes;

constexpr double kVelocitySteps = 127.0;
constexpr long kSoftest = 1;
constexpr long kLoudest = 127;
// Note ids, keys, channels and ports of -1 stand for every one.
constexpr std::int32_t kWildcard = -1;
// The plug-in's one note port.
constexpr std::int16_t kNotePort = 0;

bool isKey(std::int32_t key) { return key >= 0 && key < NoteInput::kKeyCount; }

std::uint8_t channelNibble(std::int16_t channel) {
  return channel >= 0 && channel < kChannels ? static_cast<std::uint8_t>(channel) : 0;
}

}  // namespace

NoteInput::NoteInput() { forgetAll(); }

void NoteInput::forgetAll() {
  for (std::int32_t key = 0; key < kKeyCount; ++key) {
    held[key] = false;
    noteIdOfKey[key] = kWildcard;
  }
}

void NoteInput::midiSeen(const std::uint8_t (&bytes)[kMessageSize]) {
  const std::uint8_t status = bytes[0] & kStatusMask;
  const std::int32_t key = bytes[1] & kDataMask;
  if (status == kNoteOn || status == kNoteOff) {
    held[key] = status == kNoteOn && (bytes[2] & kDataMask) != 0;
    noteIdOfKey[key] = kWildcard;
  } else if (status == kControlChange && (bytes[1] == kAllNotesOff || bytes[1] == kMonoModeOn)) {
    forgetAll();
  }
}

std::uint8_t NoteInput::velocityByte(double velocity) {
  if (!(velocity > 0.0)) return kSoftest;
  if (velocity >= 1.0) return kLoudest;
  const long steps = std::lround(velocity * kVelocitySteps);
  return static_cast<std::uint8_t>(steps < kSoftest ? kSoftest : steps);
}

void NoteInput::add(Messages& out, std::uint8_t status, std::uint8_t first, std::uint8_t second) {
  if (out.count >= kKeyCount) return;
  std::uint8_t* message = out.bytes[out.count++];
  message[0] = status;
  message[1] = first;
  message[2] = second;
}

void NoteInput::translate(std::uint16_t type, const clap_event_note_t& event, Messages& out) {
  out.count = 0;
  out.atOnce = false;
  if (event.port_index != kNotePort && event.port_index != kWildcard) return;
  switch (type) {
    case CLAP_EVENT_NOTE_ON:
      noteOn(event, out);
      break;
    case CLAP_EVENT_NOTE_OFF:
      release(event, out);
      break;
    case CLAP_EVENT_NOTE_CHOKE:
      if (event.key == kWildcard && event.note_id == kWildcard) {
        add(out, static_cast<std::uint8_t>(kControlChange | channelNibble(event.channel)), kAllNotesOff, 0);
        out.atOnce = true;
        forgetAll();
      } else {
        release(event, out);
      }
      break;
    default:
      break;
  }
}

void NoteInput::noteOn(const clap_event_note_t& event, Messages& out) {
  if (!isKey(event.key) || std::isnan(event.velocity)) return;
  held[event.key] = true;
  noteIdOfKey[event.key] = event.note_id;
  add(out, static_cast<std::uint8_t>(kNoteOn | channelNibble(event.channel)), static_cast<std::uint8_t>(event.key),
      velocityByte(event.velocity));
}

void NoteInput::release(const clap_event_note_t& event, Messages& out) {
  const auto status = static_cast<std::uint8_t>(kNoteOff | channelNibble(event.channel));
  if (isKey(event.key)) {
    held[event.key] = false;
    noteIdOfKey[event.key] = kWildcard;
    add(out, status, static_cast<std::uint8_t>(event.key), 0);
    return;
  }
  if (event.key != kWildcard) return;
  for (std::int32_t key = 0; key < kKeyCount; ++key) {
    if (!held[key] || (event.note_id != kWildcard && noteIdOfKey[key] != event.note_id)) continue;
    held[key] = false;
    noteIdOfKey[key] = kWildcard;
    add(out, status, static_cast<std::uint8_t>(key), 0);
  }
}
