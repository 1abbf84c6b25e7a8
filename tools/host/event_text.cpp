#include "tools/host/event_text.h"

#include <sstream>
#include <vector>

#include "engine/midi_bytes.h"
#include "tools/host/number_text.h"
#include "tools/host/printable_text.h"

namespace eventtext {
namespace {

using namespace midi_bytes;

constexpr int kMaxDataValue = 127;
// Editors on Windows may start a UTF-8 text with this mark; it is no part of the list.
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr std::size_t kByteOrderMarkSize = sizeof kByteOrderMark - 1;

std::vector<std::string> splitWords(const std::string& line) {
  std::vector<std::string> words;
  std::istringstream stream(line);
  std::string word;
  while (stream >> word) words.push_back(word);
  return words;
}

bool parseDataValue(const std::string& text, int highest, int& value) {
  std::int64_t parsed = 0;
  if (!numbertext::parseInteger(text, 0, highest, parsed)) return false;
  value = static_cast<int>(parsed);
  return true;
}

TimedMidiEvent message(std::int64_t time, std::uint8_t status, int data1, int data2) {
  TimedMidiEvent event;
  event.time = time;
  event.bytes[0] = status;
  event.bytes[1] = static_cast<std::uint8_t>(data1);
  event.bytes[2] = static_cast<std::uint8_t>(data2);
  event.size = 3;
  return event;
}

// One non-empty line; `reason` says what is wrong when it is refused.
bool parseLine(const std::vector<std::string>& words, TimedMidiEvent& event, std::string& reason) {
  std::int64_t time = 0;
  if (!numbertext::parseSeconds(words[0], eventsequence::kMaxSeconds, time)) {
    reason = printabletext::quoted(words[0]) + " is not a time in seconds (0 to " +
             std::to_string(eventsequence::kMaxSeconds) + ", at most nine decimals)";
    return false;
  }
  if (words.size() < 2) {
    reason = "an event kind (on, off, bend, cc) must follow the time";
    return false;
  }
  const std::string& kind = words[1];
  const std::size_t arguments = words.size() - 2;
  int first = 0;
  int second = 0;
  if (kind == "on") {
    if (arguments != 2 || !parseDataValue(words[2], kMaxDataValue, first) ||
        !parseDataValue(words[3], kMaxDataValue, second)) {
      reason = "expected: <seconds> on <note 0..127> <velocity 0..127>";
      return false;
    }
    event = message(time, kNoteOn, first, second);
  } else if (kind == "off") {
    second = kDefaultReleaseVelocity;
    if (arguments < 1 || arguments > 2 || !parseDataValue(words[2], kMaxDataValue, first) ||
        (arguments == 2 && !parseDataValue(words[3], kMaxDataValue, second))) {
      reason = "expected: <seconds> off <note 0..127> [<velocity 0..127>]";
      return false;
    }
    event = message(time, kNoteOff, first, second);
  } else if (kind == "bend") {
    if (arguments != 1 || !parseDataValue(words[2], kBendTop, first)) {
      reason = "expected: <seconds> bend <0..16383>";
      return false;
    }
    event = message(time, kPitchBend, first & kDataMask, first >> kDataBits);
  } else if (kind == "cc") {
    if (arguments != 2 || !parseDataValue(words[2], kMaxDataValue, first) ||
        !parseDataValue(words[3], kMaxDataValue, second)) {
      reason = "expected: <seconds> cc <controller 0..127> <value 0..127>";
      return false;
    }
    event = message(time, kControlChange, first, second);
  } else {
    reason = "unknown event kind " + printabletext::quoted(kind) + " (on, off, bend, cc)";
    return false;
  }
  return true;
}

// Calls `take(lineNumber, words)` for every line that holds words once its comment is
// cut off, until `take` answers false.
template <typename Take>
void eachLine(const std::string& text, Take take) {
  const bool marked = text.compare(0, kByteOrderMarkSize, kByteOrderMark) == 0;
  std::istringstream lines(marked ? text.substr(kByteOrderMarkSize) : text);
  std::string line;
  int lineNumber = 0;
  while (std::getline(lines, line)) {
    ++lineNumber;
    const std::size_t comment = line.find('#');
    if (comment != std::string::npos) line.erase(comment);
    const std::vector<std::string> words = splitWords(line);
    if (!words.empty() && !take(lineNumber, words)) return;
  }
}

}  // namespace

bool parse(const std::string& text, EventSequence& out, std::string& error) {
  EventSequence sequence;
  sequence.unitsPerSecond = kUnitsPerSecond;
  bool ok = true;
  eachLine(text, [&](int lineNumber, const std::vector<std::string>& words) {
    TimedMidiEvent event;
    std::string reason;
    if (!parseLine(words, event, reason)) {
      error = "line " + std::to_string(lineNumber) + ": " + reason;
      ok = false;
      return false;
    }
    sequence.events.push_back(event);
    return true;
  });
  if (!ok) return false;
  eventsequence::sortByTime(sequence);
  out = std::move(sequence);
  return true;
}

bool startsLikeEventList(const std::string& text) {
  bool first = true;
  eachLine(text, [&first](int, const std::vector<std::string>& words) {
    TimedMidiEvent event;
    std::string reason;
    first = parseLine(words, event, reason);
    return false;
  });
  return first;
}

}  // namespace eventtext
