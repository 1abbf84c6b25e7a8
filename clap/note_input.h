// Notes of the CLAP dialect as the MIDI messages the instrument's one intake takes, so
// that the same notes sound the same in either dialect. A note-on becomes a MIDI note-on
// whose velocity is the 7-bit value a host derives the CLAP velocity from (v / 127); a
// CLAP note-on of velocity 0 is a real note, played with the smallest MIDI velocity
// rather than turned into a MIDI note-off. A note-off becomes a MIDI note-off of its key;
// one that names its note by id alone (key -1) releases the held keys that id started,
// one with neither key nor id every held key (notes of the MIDI dialect included). A choke of every note silences every voice at once
// (all sound off); a choke of one note releases it, as the voices have no faster end.
// Channels play no part: the instrument answers every channel alike.
#pragma once

#include <cstdint>

#include "clap/abi/clap_events.h"

class NoteInput {
 public:
  static constexpr std::int32_t kKeyCount = 128;
  static constexpr std::int32_t kMessageSize = 3;

  // The MIDI messages one note event stands for: at most one per key. `atOnce`: they
  // silence every voice, so the block is to be rendered up to the event first.
  struct Messages {
    std::uint8_t bytes[kKeyCount][kMessageSize];
    std::int32_t count;
    bool atOnce;
  };

  NoteInput();

  // Audio thread: the messages for a note event of type NOTE_ON, NOTE_OFF or NOTE_CHOKE
  // (none for any other type, a key outside 0..127 or -1, another port, or a velocity
  // that is not a number).
  void translate(std::uint16_t type, const clap_event_note_t& event, Messages& out);

  // Audio thread: a message of the MIDI dialect, for the keys it holds or releases.
  void midiSeen(const std::uint8_t (&bytes)[kMessageSize]);

  // The MIDI velocity of a CLAP velocity (0..1): round(velocity * 127) within 1..127.
  static std::uint8_t velocityByte(double velocity);

 private:
  void noteOn(const clap_event_note_t& event, Messages& out);
  void release(const clap_event_note_t& event, Messages& out);
  static void add(Messages& out, std::uint8_t status, std::uint8_t first, std::uint8_t second);

  void forgetAll();

  // Per key: held since its latest note-on, and that note-on's id (-1 when unknown).
  bool held[kKeyCount];
  std::int32_t noteIdOfKey[kKeyCount];
};
