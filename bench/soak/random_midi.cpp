#include "bench/soak/random_midi.h"

#include <cstring>

#include "engine/midi_bytes.h"

namespace soak {
namespace {

using namespace midi_bytes;

constexpr std::uint8_t kLowestNote = 12;
constexpr std::int32_t kNoteRange = 100;
constexpr std::int32_t kLongBlockChance = 8;  // one block in eight may be up to 4096 long
constexpr std::int32_t kShortBlock = 512;

}  // namespace

RandomMidi::RandomMidi(std::uint32_t seed)
    : random(seed),
      records(static_cast<std::size_t>(kChannels * kNotes)),
      listStorage(2 + records.size()),
      used(0),
      events(0) {
  held.reserve(static_cast<std::size_t>(kMostEvents));
}

std::int32_t RandomMidi::nextBlockLength() {
  return 1 + below(below(kLongBlockChance) == 0 ? kMostFrames : kShortBlock);
}

void RandomMidi::add(std::uint8_t status, std::uint8_t first, std::uint8_t second, std::int32_t offset) {
  VstMidiEvent& event = records[static_cast<std::size_t>(used++)];
  std::memset(&event, 0, sizeof event);
  event.type = kVstMidiType;
  event.byteSize = static_cast<VstInt32>(sizeof event);
  event.deltaFrames = offset;
  event.midiData[0] = static_cast<char>(status);
  event.midiData[1] = static_cast<char>(first);
  event.midiData[2] = static_cast<char>(second);
  ++events;
}

VstEvents* RandomMidi::finish() {
  auto* list = reinterpret_cast<VstEvents*>(listStorage.data());
  list->numEvents = used;
  list->reserved = 0;
  for (std::int32_t i = 0; i < used; ++i) list->events[i] = reinterpret_cast<VstEvent*>(&records[static_cast<std::size_t>(i)]);
  return list;
}

VstEvents* RandomMidi::nextBlock(std::int32_t frames) {
  used = 0;
  const std::int32_t wanted = below(kMostEvents / 4) + (below(4) == 0 ? kMostEvents / 2 : 0);
  while (used < wanted) {
    const std::int32_t offset = below(frames);
    switch (below(10)) {
      case 0:
      case 1:
      case 2: {  // a chord
        const std::int32_t size = 1 + below(5);
        const auto root = static_cast<std::uint8_t>(kLowestNote + below(kNoteRange - 12));
        for (std::int32_t i = 0; i < size && used < kMostEvents; ++i) {
          const auto note = static_cast<std::uint8_t>(root + i * 3);
          add(static_cast<std::uint8_t>(kNoteOn | below(kChannels)), note, static_cast<std::uint8_t>(1 + below(127)), offset);
          if (held.size() < held.capacity()) held.push_back(note);
        }
        break;
      }
      case 3:  // a repeated note
        add(kNoteOn, 60, 100, offset);
        if (held.size() < held.capacity()) held.push_back(60);
        break;
      case 4:
      case 5:
      case 6:
        if (!held.empty()) {
          const std::size_t which = static_cast<std::size_t>(below(static_cast<std::int32_t>(held.size())));
          add(kNoteOff, held[which], 0, offset);
          held[which] = held.back();
          held.pop_back();
        }
        break;
      case 7:
      case 8:
        add(kPitchBend, static_cast<std::uint8_t>(below(128)), static_cast<std::uint8_t>(below(128)), offset);
        break;
      default:
        if (below(20) == 0) {
          add(kControlChange, kAllNotesOff, 0, offset);
          held.clear();
        } else {
          add(kNoteOn, static_cast<std::uint8_t>(kLowestNote + below(kNoteRange)), 0, offset);  // velocity 0: a note-off
        }
        break;
    }
  }
  return finish();
}

VstEvents* RandomMidi::releaseEverything() {
  used = 0;
  for (std::int32_t channel = 0; channel < kChannels; ++channel) {
    for (std::int32_t note = 0; note < kNotes; ++note) {
      add(static_cast<std::uint8_t>(kNoteOff | channel), static_cast<std::uint8_t>(note), 0, 0);
    }
  }
  held.clear();
  return finish();
}

}  // namespace soak
