// The text event list: a hand-writable alternative to a MIDI file.
//
//   # a comment runs from '#' to the end of the line; blank lines are ignored
//   <seconds> on <note> <velocity>       note on   (note 0..127, velocity 0..127)
//   <seconds> off <note> [<velocity>]    note off  (release velocity, 64 when left out)
//   <seconds> bend <value>               pitch bend, 0..16383 (8192 is the centre)
//   <seconds> cc <controller> <value>    control change (both 0..127)
//
// <seconds> is a decimal number without sign or exponent, with at most nine digits after
// the point ("0", "1.5", ".25"); it is kept exactly (in nanoseconds). Every message goes
// out on MIDI channel 1. Lines need not be in time order: events are sorted by time, and
// events at the same time keep the order of their lines. A UTF-8 byte order mark at the
// start is skipped.
#pragma once

#include <cstdint>
#include <string>

#include "tools/host/event_sequence.h"

namespace eventtext {

constexpr std::int64_t kUnitsPerSecond = 1000000000;  // nanoseconds
constexpr int kDefaultReleaseVelocity = 64;

// False with "line N: reason" (and `out` untouched) for the first line that is not one of
// the forms above or whose numbers are out of range.
bool parse(const std::string& text, EventSequence& out, std::string& error);

// Whether the first line that holds more than a comment is one of the forms above (a text
// without any such line counts too): what tells an event list with a mistake in it from
// a file of another kind.
bool startsLikeEventList(const std::string& text);

}  // namespace eventtext
