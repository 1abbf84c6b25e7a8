// The CLAP note dialect as MIDI messages: the velocity hosts derive from a 7-bit value
// comes back as that value, and releases and chokes find the keys they name.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "clap/note_input.h"

namespace {

clap_event_note_t noteEvent(std::int16_t key, double velocity, std::int32_t noteId = -1, std::int16_t channel = 0) {
  clap_event_note_t event = {};
  event.header = {sizeof(event), 0, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_NOTE_ON, 0};
  event.note_id = noteId;
  event.channel = channel;
  event.key = key;
  event.velocity = velocity;
  return event;
}

std::set<int> releasedKeys(const NoteInput::Messages& messages) {
  std::set<int> keys;
  for (std::int32_t i = 0; i < messages.count; ++i) {
    EXPECT_EQ(messages.bytes[i][0] & 0xF0, 0x80);
    keys.insert(messages.bytes[i][1]);
  }
  return keys;
}

TEST(ClapNoteInput, VelocitiesAreTheSevenBitValuesAndNotesKeepTheirChannel) {
  for (int v = 1; v <= 127; ++v) EXPECT_EQ(NoteInput::velocityByte(v / 127.0), v);
  EXPECT_EQ(NoteInput::velocityByte(0.0), 1) << "a CLAP note-on of velocity 0 is a note";
  EXPECT_EQ(NoteInput::velocityByte(-3.0), 1);
  EXPECT_EQ(NoteInput::velocityByte(1.5), 127);
  EXPECT_EQ(NoteInput::velocityByte(0.5), 64);  // 63.5 rounds away from zero
  NoteInput input;
  NoteInput::Messages out;
  input.translate(CLAP_EVENT_NOTE_ON, noteEvent(64, 100 / 127.0, -1, 5), out);
  ASSERT_EQ(out.count, 1);
  EXPECT_EQ(out.bytes[0][0], 0x95);
  EXPECT_EQ(out.bytes[0][2], 100);
  input.translate(CLAP_EVENT_NOTE_OFF, noteEvent(64, 0.3, -1, 20), out);
  ASSERT_EQ(out.count, 1);
  EXPECT_EQ(out.bytes[0][0], 0x80) << "a channel outside 0..15 plays on the first";
  for (std::int16_t key : {-1, -2, 128}) {
    input.translate(CLAP_EVENT_NOTE_ON, noteEvent(key, 1.0), out);
    EXPECT_EQ(out.count, 0) << key;
  }
  input.translate(CLAP_EVENT_NOTE_END, noteEvent(60, 1.0), out);
  EXPECT_EQ(out.count, 0) << "only the plug-in sends note ends";
}

TEST(ClapNoteInput, WildcardReleasesAndChokesFindTheHeldKeys) {
  NoteInput input;
  NoteInput::Messages out;
  input.translate(CLAP_EVENT_NOTE_ON, noteEvent(40, 1.0, 11), out);
  input.translate(CLAP_EVENT_NOTE_ON, noteEvent(41, 1.0, 12), out);
  input.translate(CLAP_EVENT_NOTE_ON, noteEvent(42, 1.0, 11), out);
  input.midiSeen({0x90, 50, 90});
  input.midiSeen({0x90, 51, 90});
  input.midiSeen({0x90, 51, 0});  // a MIDI note-off
  input.translate(CLAP_EVENT_NOTE_OFF, noteEvent(-1, 0.0, 11), out);
  EXPECT_EQ(releasedKeys(out), (std::set<int>{40, 42}));
  input.translate(CLAP_EVENT_NOTE_CHOKE, noteEvent(-1, 0.0, 12), out);
  EXPECT_EQ(releasedKeys(out), (std::set<int>{41})) << "a choke of one note releases it";
  EXPECT_FALSE(out.atOnce);
  input.translate(CLAP_EVENT_NOTE_OFF, noteEvent(-1, 0.0, -1), out);
  EXPECT_EQ(releasedKeys(out), (std::set<int>{50})) << "every key still held";
  input.translate(CLAP_EVENT_NOTE_ON, noteEvent(70, 1.0), out);
  input.translate(CLAP_EVENT_NOTE_CHOKE, noteEvent(-1, 0.0, -1, 2), out);
  ASSERT_EQ(out.count, 1);
  EXPECT_EQ(out.bytes[0][0], 0xB2);
  EXPECT_EQ(out.bytes[0][1], 123) << "all sound off";
  EXPECT_TRUE(out.atOnce) << "from the choke's frame on";
  input.translate(CLAP_EVENT_NOTE_OFF, noteEvent(-1, 0.0, -1), out);
  EXPECT_EQ(out.count, 0) << "the choke forgot every key";
}

}  // namespace
