// The Standard MIDI File reader: both file types, the tempo map, running status, skipped
// meta and system-exclusive events, SMPTE timing, and refusal of broken files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/host/event_sequence.h"
#include "tools/host/midi_file.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void appendWord(Bytes& out, std::uint32_t value, int bytes) {
  for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void appendQuantity(Bytes& out, std::uint32_t value) {
  Bytes groups;
  do {
    groups.insert(groups.begin(), static_cast<std::uint8_t>(value & 0x7F));
    value >>= 7;
  } while (value != 0);
  for (std::size_t i = 0; i + 1 < groups.size(); ++i) groups[i] |= 0x80;
  out.insert(out.end(), groups.begin(), groups.end());
}

Bytes header(std::uint16_t format, std::uint16_t tracks, std::uint16_t division) {
  Bytes out = {'M', 'T', 'h', 'd'};
  appendWord(out, 6, 4);
  appendWord(out, format, 2);
  appendWord(out, tracks, 2);
  appendWord(out, division, 2);
  return out;
}

// A track's events as written: delta time then the raw event bytes.
struct TrackWriter {
  Bytes body;
  TrackWriter& at(std::uint32_t delta, Bytes event) {
    appendQuantity(body, delta);
    body.insert(body.end(), event.begin(), event.end());
    return *this;
  }
  TrackWriter& tempo(std::uint32_t delta, std::uint32_t microsecondsPerQuarter) {
    return at(delta, {0xFF, 0x51, 0x03, static_cast<std::uint8_t>(microsecondsPerQuarter >> 16),
                      static_cast<std::uint8_t>(microsecondsPerQuarter >> 8),
                      static_cast<std::uint8_t>(microsecondsPerQuarter)});
  }
  Bytes chunk(bool endOfTrack = true) const {
    Bytes events = body;
    if (endOfTrack) events.insert(events.end(), {0x00, 0xFF, 0x2F, 0x00});
    Bytes out = {'M', 'T', 'r', 'k'};
    appendWord(out, static_cast<std::uint32_t>(events.size()), 4);
    out.insert(out.end(), events.begin(), events.end());
    return out;
  }
};

Bytes join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

EventSequence parseOrFail(const Bytes& bytes) {
  EventSequence sequence;
  std::string error;
  EXPECT_TRUE(midifile::parse(bytes.data(), bytes.size(), sequence, error)) << error;
  return sequence;
}

std::int64_t sampleAt(const EventSequence& sequence, std::size_t index, std::int64_t rate = 44100) {
  return eventsequence::samplePosition(sequence.events.at(index).time, sequence.unitsPerSecond, rate);
}

Bytes messageOf(const TimedMidiEvent& event) { return Bytes(event.bytes, event.bytes + event.size); }

TEST(MidiFile, TypeZeroAtTheDefaultTempo) {
  TrackWriter track;
  track.at(0, {0x90, 60, 100}).at(480, {0x80, 60, 0}).at(240, {0xE0, 0x00, 0x40});
  const EventSequence sequence = parseOrFail(join({header(0, 1, 480), track.chunk()}));
  ASSERT_EQ(sequence.events.size(), 3u);
  EXPECT_EQ(messageOf(sequence.events[0]), (Bytes{0x90, 60, 100}));
  EXPECT_EQ(messageOf(sequence.events[1]), (Bytes{0x80, 60, 0}));
  EXPECT_EQ(messageOf(sequence.events[2]), (Bytes{0xE0, 0x00, 0x40}));
  // 120 beats per minute: a quarter note (480 ticks) is half a second.
  EXPECT_EQ(sampleAt(sequence, 0), 0);
  EXPECT_EQ(sampleAt(sequence, 1), 22050);
  EXPECT_EQ(sampleAt(sequence, 2), 33075);
  EXPECT_EQ(sampleAt(sequence, 2, 48000), 36000);
}

// The tempo map lives in track 0 and applies to the notes of track 1; the tracks merge
// in time order.
TEST(MidiFile, TypeOneWithATempoChangeInTheFirstTrack) {
  TrackWriter tempoTrack;
  // Half a second per quarter until tick 960, a quarter of a second from there on.
  tempoTrack.tempo(0, 500000).tempo(960, 250000);
  TrackWriter notes;
  notes.at(480, {0x91, 64, 90}).at(960, {0x81, 64, 0}).at(480, {0x91, 67, 80});
  const EventSequence sequence = parseOrFail(join({header(1, 2, 480), tempoTrack.chunk(), notes.chunk()}));
  ASSERT_EQ(sequence.events.size(), 3u);
  EXPECT_EQ(sampleAt(sequence, 0), 22050);          // tick 480: 0.5 s
  EXPECT_EQ(sampleAt(sequence, 1), 44100 + 11025);  // tick 1440: 1 s + 480 ticks at 0.25 s
  EXPECT_EQ(sampleAt(sequence, 2), 44100 + 22050);  // tick 1920: 1.5 s
  EXPECT_EQ(messageOf(sequence.events[2]), (Bytes{0x91, 67, 80}));
}

TEST(MidiFile, EventsAtTheSameTickKeepTrackOrder) {
  TrackWriter first;
  first.at(10, {0x90, 1, 1});
  TrackWriter second;
  second.at(10, {0x90, 2, 2}).at(0, {0x90, 3, 3});
  TrackWriter third;
  third.at(5, {0x90, 4, 4}).at(5, {0x90, 5, 5});
  const EventSequence sequence = parseOrFail(join({header(1, 3, 96), first.chunk(), second.chunk(), third.chunk()}));
  ASSERT_EQ(sequence.events.size(), 5u);
  const int expectedNotes[] = {4, 1, 2, 3, 5};
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(sequence.events[i].bytes[1], expectedNotes[i]) << i;
}

TEST(MidiFile, RunningStatusAndOneByteMessages) {
  TrackWriter track;
  track.at(0, {0x90, 60, 100})
      .at(0, {62, 101})        // running note on
      .at(0, {0xC3, 5})        // program change: one data byte
      .at(0, {6})              // running program change
      .at(0, {0xD3, 7})        // channel pressure
      .at(0, {0x90, 64, 0});   // note on with velocity 0 passes as it is
  const EventSequence sequence = parseOrFail(join({header(0, 1, 96), track.chunk()}));
  ASSERT_EQ(sequence.events.size(), 6u);
  EXPECT_EQ(messageOf(sequence.events[1]), (Bytes{0x90, 62, 101}));
  EXPECT_EQ(messageOf(sequence.events[2]), (Bytes{0xC3, 5}));
  EXPECT_EQ(messageOf(sequence.events[3]), (Bytes{0xC3, 6}));
  EXPECT_EQ(messageOf(sequence.events[4]), (Bytes{0xD3, 7}));
  EXPECT_EQ(messageOf(sequence.events[5]), (Bytes{0x90, 64, 0}));
}

// Meta and system-exclusive events are stepped over by their lengths, even when their
// contents look like MIDI; the deltas still count.
TEST(MidiFile, MetaAndSystemExclusiveEventsAreSkipped) {
  Bytes longText = {0xFF, 0x01};
  appendQuantity(longText, 200);
  longText.insert(longText.end(), 200, 0x90);
  TrackWriter track;
  track.at(0, longText)
      .at(96, {0xF0, 0x04, 0x7E, 0x90, 0x40, 0xF7})
      .at(96, {0xF7, 0x02, 0x90, 0x40})
      .at(96, {0xFF, 0x58, 0x04, 4, 2, 24, 8})
      .at(96, {0x90, 60, 1});
  const EventSequence sequence = parseOrFail(join({header(0, 1, 96), track.chunk()}));
  ASSERT_EQ(sequence.events.size(), 1u);
  EXPECT_EQ(messageOf(sequence.events[0]), (Bytes{0x90, 60, 1}));
  EXPECT_EQ(sampleAt(sequence, 0), 2 * 44100);  // four quarters at 120 beats per minute
}

TEST(MidiFile, EndOfTrackEndsTheTrackAndUnknownChunksAreSkipped) {
  TrackWriter track;
  track.at(0, {0x90, 60, 1}).at(0, {0xFF, 0x2F, 0x00}).at(0, {0x90, 61, 1});
  Bytes unknown = {'X', 'f', 'o', 'o', 0, 0, 0, 2, 0x90, 0x90};
  const EventSequence sequence = parseOrFail(join({header(0, 1, 96), unknown, track.chunk(false)}));
  ASSERT_EQ(sequence.events.size(), 1u);
  EXPECT_EQ(sequence.events[0].bytes[1], 60);
}

TEST(MidiFile, SmpteTiming) {
  // 25 frames per second, 40 ticks per frame: 1000 ticks per second; tempo is ignored.
  TrackWriter track;
  track.tempo(0, 250000).at(500, {0x90, 60, 1}).at(1500, {0x80, 60, 0});
  const EventSequence sequence = parseOrFail(join({header(0, 1, 0xE728), track.chunk()}));
  ASSERT_EQ(sequence.events.size(), 2u);
  EXPECT_EQ(sampleAt(sequence, 0, 48000), 24000);
  EXPECT_EQ(sampleAt(sequence, 1, 48000), 96000);
  // 29.97 frames per second (stored as 29), 100 ticks per frame: 2997 ticks per second.
  TrackWriter dropFrame;
  dropFrame.at(2997, {0x90, 60, 1});
  const EventSequence drop = parseOrFail(join({header(0, 1, 0xE364), dropFrame.chunk()}));
  EXPECT_EQ(sampleAt(drop, 0, 48000), 48000);
}

void expectRefused(const Bytes& bytes, const std::string& expectedWords, const std::string& label) {
  EventSequence out;
  out.unitsPerSecond = 7;
  std::string error;
  EXPECT_FALSE(midifile::parse(bytes.data(), bytes.size(), out, error)) << label;
  EXPECT_NE(error.find(expectedWords), std::string::npos) << label << ": " << error;
  EXPECT_EQ(out.unitsPerSecond, 7) << label;
  EXPECT_TRUE(out.events.empty()) << label;
}

TEST(MidiFile, TruncatedFilesAreRefused) {
  TrackWriter first;
  first.tempo(0, 400000).at(10, {0x90, 60, 1});
  TrackWriter second;
  second.at(0, {0x90, 62, 1}).at(300, {0x80, 62, 0});
  const Bytes whole = join({header(1, 2, 96), first.chunk(), second.chunk()});
  for (std::size_t length = 4; length < whole.size(); ++length) {
    const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
    expectRefused(cut, "truncated", "length " + std::to_string(length));
  }
}

TEST(MidiFile, MalformedFilesAreRefused) {
  TrackWriter track;
  track.at(0, {0x90, 60, 1});
  expectRefused(join({header(2, 1, 96), track.chunk()}), "type 2", "type 2");

  TrackWriter noStatus;
  noStatus.at(0, {60, 1});
  expectRefused(join({header(0, 1, 96), noStatus.chunk()}), "without a status", "data byte first");

  TrackWriter badTempo;
  badTempo.at(0, {0xFF, 0x51, 0x02, 0x07, 0xA1});
  expectRefused(join({header(0, 1, 96), badTempo.chunk()}), "tempo", "tempo of two bytes");

  TrackWriter longDelta;
  longDelta.at(0, {0x90, 60, 1});
  Bytes overlong = longDelta.chunk();
  overlong.insert(overlong.begin() + 8, {0x81, 0x81, 0x81, 0x81});
  overlong[7] = static_cast<std::uint8_t>(overlong[7] + 4);
  expectRefused(join({header(0, 1, 96), overlong}), "delta time", "five-byte delta time");

  TrackWriter statusInData;
  statusInData.at(0, {0x90, 60, 0x90});
  expectRefused(join({header(0, 1, 96), statusInData.chunk()}), "status byte inside", "status as data");

  TrackWriter systemCommon;
  systemCommon.at(0, {0xF2, 0, 0});
  expectRefused(join({header(0, 1, 96), systemCommon.chunk()}), "unexpected status", "song position");

  expectRefused(header(0, 0, 0), "division", "division 0");
  expectRefused(Bytes{'R', 'I', 'F', 'F'}, "not a Standard MIDI File", "no MThd");
}

TEST(MidiFile, SequencesLongerThanADayAreRefused) {
  TrackWriter track;
  // 0x0FFFFFFF ticks at 1 tick per quarter and a slow tempo: far beyond a day.
  track.tempo(0, 0xFFFFFF).at(0x0FFFFFFF, {0x90, 60, 1});
  expectRefused(join({header(0, 1, 1), track.chunk()}), "longer than", "too long");
}

}  // namespace
