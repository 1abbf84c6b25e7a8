// The text event list and the conversion of exact times to sample positions.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/host/event_sequence.h"
#include "tools/host/event_text.h"
#include "tools/host/printable_text.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

EventSequence parseOrFail(const std::string& text) {
  EventSequence sequence;
  std::string error;
  EXPECT_TRUE(eventtext::parse(text, sequence, error)) << error;
  return sequence;
}

Bytes messageOf(const TimedMidiEvent& event) { return Bytes(event.bytes, event.bytes + event.size); }

TEST(EventText, EveryKindBecomesItsChannelOneMessage) {
  const EventSequence sequence = parseOrFail(
      "0 on 60 100\n"
      "0.5 off 60\n"
      "0.5 off 61 12\n"
      "1 bend 8192\n"
      "1 bend 0\n"
      "1 bend 16383\n"
      "2 cc 123 0\n");
  ASSERT_EQ(sequence.events.size(), 7u);
  EXPECT_EQ(sequence.unitsPerSecond, eventtext::kUnitsPerSecond);
  EXPECT_EQ(messageOf(sequence.events[0]), (Bytes{0x90, 60, 100}));
  EXPECT_EQ(messageOf(sequence.events[1]), (Bytes{0x80, 60, eventtext::kDefaultReleaseVelocity}));
  EXPECT_EQ(messageOf(sequence.events[2]), (Bytes{0x80, 61, 12}));
  EXPECT_EQ(messageOf(sequence.events[3]), (Bytes{0xE0, 0x00, 0x40}));
  EXPECT_EQ(messageOf(sequence.events[4]), (Bytes{0xE0, 0x00, 0x00}));
  EXPECT_EQ(messageOf(sequence.events[5]), (Bytes{0xE0, 0x7F, 0x7F}));
  EXPECT_EQ(messageOf(sequence.events[6]), (Bytes{0xB0, 123, 0}));
}

TEST(EventText, TimesAreExactDecimals) {
  const EventSequence sequence = parseOrFail("0 on 1 1\n.25 on 2 1\n1.5 on 3 1\n3.000000001 on 4 1\n86400 on 5 1\n");
  ASSERT_EQ(sequence.events.size(), 5u);
  EXPECT_EQ(sequence.events[0].time, 0);
  EXPECT_EQ(sequence.events[1].time, 250000000);
  EXPECT_EQ(sequence.events[2].time, 1500000000);
  EXPECT_EQ(sequence.events[3].time, 3000000001);
  EXPECT_EQ(sequence.events[4].time, 86400LL * 1000000000LL);
}

TEST(EventText, CommentsBlankLinesAndWindowsLineEnds) {
  const EventSequence sequence = parseOrFail(
      "\xEF\xBB\xBF# a chord, saved with a byte order mark\r\n"
      "\r\n"
      "   0   on 60 100   # root\r\n"
      "\t0 on 64 100\r\n"
      "#0 on 67 100\n"
      "1 off 60");
  ASSERT_EQ(sequence.events.size(), 3u);
  EXPECT_EQ(sequence.events[1].bytes[1], 64);
  EXPECT_EQ(sequence.events[2].time, 1000000000);
}

TEST(EventText, LinesAreSortedByTimeAndEqualTimesKeepTheirOrder) {
  const EventSequence sequence = parseOrFail("2 on 1 1\n1 on 2 1\n1 off 2\n0 on 3 1\n1 on 4 1\n");
  const int expectedNotes[] = {3, 2, 2, 4, 1};
  ASSERT_EQ(sequence.events.size(), 5u);
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(sequence.events[i].bytes[1], expectedNotes[i]) << i;
  EXPECT_EQ(sequence.events[2].bytes[0], 0x80);
}

TEST(EventText, BadLinesAreRefusedWithTheirNumber) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"0 on 60 100\n1.2.3 on 60 1\n", "line 2:"},
      {"-1 on 60 1\n", "line 1:"},
      {"1e3 on 60 1\n", "line 1:"},
      {"0.0000000001 on 60 1\n", "line 1:"},
      {"86400.5 on 60 1\n", "line 1:"},
      {"\n\n0 on 128 1\n", "line 3:"},
      {"0 on 60\n", "line 1: expected"},
      {"0 on 60 1 2\n", "line 1: expected"},
      {"0 off\n", "line 1: expected"},
      {"0 bend 16384\n", "line 1: expected"},
      {"0 cc 7\n", "line 1: expected"},
      {"0 jump 1\n", "unknown event kind 'jump'"},
      {"5\n", "an event kind"},
  };
  for (const auto& c : cases) {
    EventSequence out;
    out.unitsPerSecond = 3;
    std::string error;
    EXPECT_FALSE(eventtext::parse(c.text, out, error)) << c.text;
    EXPECT_NE(error.find(c.expected), std::string::npos) << c.text << " -> " << error;
    EXPECT_EQ(out.unitsPerSecond, 3) << c.text;
  }
}

bool printable(const std::string& text) {
  for (const char c : text) {
    if (c < 0x20 || c > 0x7E) return false;
  }
  return true;
}

TEST(EventText, WordsOfTheFileAreQuotedEscapedAndCut) {
  const struct {
    std::string text;
    const char* expected;
  } cases[] = {
      {"0 \x1b[2Jon 60 1\n", "unknown event kind '\\x1B[2Jon'"},
      {"0 on 60 1\n\xC3\xA9 on 60 1\n", "line 2: '\\xC3\\xA9' is not a time"},
      {std::string(50, '7') + "x on 60 1\n", "'7777777777777777777777777777777777777777...' is not"},
  };
  for (const auto& c : cases) {
    EventSequence out;
    std::string error;
    EXPECT_FALSE(eventtext::parse(c.text, out, error));
    EXPECT_NE(error.find(c.expected), std::string::npos) << error;
    EXPECT_TRUE(printable(error)) << error;
  }
  EXPECT_EQ(printabletext::escaped(std::string("a\\b\0\x7F\xFF~", 7)), "a\\b\\x00\\x7F\\xFF~");
}

TEST(EventFile, AFileThatIsNeitherSaysSo) {
  const std::string neither = "neither a Standard MIDI File (it does not start with \"MThd\") nor a text event list";
  const struct {
    std::string bytes;
    bool isNeither;
    const char* reason;
  } cases[] = {
      {std::string("RIFF\x24\0\0\0W", 9), true, "(byte 5 is \\x00, which no text holds)"},
      {"hi\x1b[m", true, "(byte 2 is \\x1B, which no text holds)"},
      {"Dear user\n", true, "(line 1: 'Dear' is not a time in seconds"},
      // An event list with a mistake in a later line is an event list.
      {"# x\n0 off 1\nbad\n", false, "line 3: 'bad' is not a time"},
  };
  for (const auto& c : cases) {
    EventSequence out;
    std::string error;
    EXPECT_FALSE(eventsequence::parse(reinterpret_cast<const std::uint8_t*>(c.bytes.data()), c.bytes.size(), out,
                                      error));
    EXPECT_TRUE(printable(error)) << error;
    EXPECT_EQ(error.rfind(neither, 0) == 0, c.isNeither) << error;
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
  }
  // A list with a comment in UTF-8 and one with no events at all are event lists.
  const std::string utf8 = "0 on 60 1 # f\xC3\xBCr Fl\xC3\xB6te\n";
  EventSequence out;
  std::string error;
  EXPECT_TRUE(eventsequence::parse(reinterpret_cast<const std::uint8_t*>(utf8.data()), utf8.size(), out, error));
  EXPECT_EQ(out.events.size(), 1u);
  EXPECT_TRUE(eventsequence::parse(reinterpret_cast<const std::uint8_t*>("# none\n"), 7, out, error));
  EXPECT_TRUE(out.events.empty());
}

TEST(SamplePosition, RoundsToTheNearestSampleWithHalvesGoingLater) {
  using eventsequence::samplePosition;
  const std::int64_t nanosecond = 1000000000;
  EXPECT_EQ(samplePosition(nanosecond / 2, nanosecond, 44100), 22050);
  EXPECT_EQ(samplePosition(nanosecond, nanosecond, 96000), 96000);
  // 1/88200 s is exactly half a sample at 44100 Hz (in units of 1/88200 s).
  EXPECT_EQ(samplePosition(1, 88200, 44100), 1);
  EXPECT_EQ(samplePosition(3, 88200, 44100), 2);
  // Just below and above half a sample.
  EXPECT_EQ(samplePosition(11337, nanosecond, 44100), 0);  // 0.49996 samples
  EXPECT_EQ(samplePosition(11338, nanosecond, 44100), 1);  // 0.50001 samples
  EXPECT_EQ(samplePosition(0, nanosecond, 44100), 0);
  EXPECT_EQ(samplePosition(-5, nanosecond, 44100), 0);
  // A day at the largest rate and the finest unit a MIDI file uses stays exact.
  const std::int64_t unitsPerSecond = 32767LL * 1000000LL;
  EXPECT_EQ(samplePosition(86400LL * unitsPerSecond, unitsPerSecond, 384000), 86400LL * 384000LL);
  EXPECT_EQ(samplePosition(86400LL * unitsPerSecond - 1, unitsPerSecond, 384000), 86400LL * 384000LL);
}

}  // namespace
