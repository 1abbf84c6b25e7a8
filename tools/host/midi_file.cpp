#include "tools/host/midi_file.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "tools/host/byte_order.h"

namespace midifile {
namespace {

using byteorder::ByteReader;

constexpr char kHeaderId[] = "MThd";
constexpr char kTrackId[] = "MTrk";
constexpr std::size_t kChunkIdSize = 4;
constexpr std::size_t kMinHeaderLength = 6;
constexpr std::uint16_t kFormatSingleTrack = 0;
constexpr std::uint16_t kFormatSimultaneousTracks = 1;
constexpr std::uint16_t kSmpteDivisionFlag = 0x8000;
// A variable-length quantity has at most four bytes of seven bits.
constexpr int kMaxQuantityBytes = 4;

constexpr std::uint8_t kStatusBit = 0x80;
constexpr std::uint8_t kDataBits = 0x7F;
constexpr std::uint8_t kMessageKindBits = 0xF0;  // the status without its channel
constexpr int kBitsPerQuantityByte = 7;
constexpr std::uint8_t kProgramChange = 0xC0;
constexpr std::uint8_t kChannelPressure = 0xD0;
constexpr std::uint8_t kSystemExclusive = 0xF0;
constexpr std::uint8_t kSystemExclusiveContinued = 0xF7;
constexpr std::uint8_t kMeta = 0xFF;
constexpr std::uint8_t kMetaEndOfTrack = 0x2F;
constexpr std::uint8_t kMetaTempo = 0x51;
constexpr std::uint32_t kTempoLength = 3;

// SMPTE frame rates stored as a negative byte; 29 stands for 30000/1001 frames per second.
constexpr int kDropFrameRate = 29;
constexpr std::int64_t kDropFrameNumerator = 30000;
constexpr std::int64_t kDropFrameDenominator = 1001;
// An SMPTE division: the negative frame rate in the high byte, ticks per frame in the low.
constexpr int kSmpteRateShift = 8;
constexpr std::uint16_t kTicksPerFrameBits = 0xFF;

// One event of one track before the merge: a channel message or a tempo change.
struct TrackEvent {
  std::int64_t tick = 0;
  bool isTempo = false;
  std::int64_t tempo = 0;  // microseconds per quarter note
  TimedMidiEvent message;
};

bool readQuantity(ByteReader& reader, std::uint32_t& value) {
  value = 0;
  for (int i = 0; i < kMaxQuantityBytes; ++i) {
    const std::uint8_t byte = reader.byte();
    if (!reader.ok()) return false;
    value = (value << kBitsPerQuantityByte) | (byte & kDataBits);
    if ((byte & kStatusBit) == 0) return true;
  }
  return false;
}

int channelDataLength(std::uint8_t status) {
  const std::uint8_t kind = status & kMessageKindBits;
  return kind == kProgramChange || kind == kChannelPressure ? 1 : 2;
}

bool parseTrack(ByteReader track, std::size_t trackIndex, std::vector<TrackEvent>& out, std::string& error) {
  const std::string where = "track " + std::to_string(trackIndex);
  std::int64_t tick = 0;
  std::uint8_t runningStatus = 0;
  while (track.remaining() > 0) {
    std::uint32_t delta = 0;
    if (!readQuantity(track, delta)) {
      error = where + ": truncated or overlong delta time at byte " + std::to_string(track.offset());
      return false;
    }
    tick += delta;
    std::uint8_t status = track.byte();
    if (!track.ok()) {
      error = where + ": truncated after a delta time";
      return false;
    }
    bool hasFirstDataByte = false;
    std::uint8_t firstDataByte = 0;
    if ((status & kStatusBit) == 0) {
      if (runningStatus == 0) {
        error = where + ": data byte without a status at byte " + std::to_string(track.offset() - 1);
        return false;
      }
      firstDataByte = status;
      hasFirstDataByte = true;
      status = runningStatus;
    }
    if (status < kSystemExclusive) {
      runningStatus = status;
      TrackEvent event;
      event.tick = tick;
      event.message.bytes[0] = status;
      const int length = channelDataLength(status);
      for (int i = 0; i < length; ++i) {
        const std::uint8_t data = i == 0 && hasFirstDataByte ? firstDataByte : track.byte();
        if (!track.ok()) {
          error = where + ": truncated channel message";
          return false;
        }
        if ((data & kStatusBit) != 0) {
          error = where + ": status byte inside a channel message at byte " + std::to_string(track.offset() - 1);
          return false;
        }
        event.message.bytes[1 + i] = data;
      }
      event.message.size = static_cast<std::uint8_t>(1 + length);
      out.push_back(event);
    } else if (status == kMeta || status == kSystemExclusive || status == kSystemExclusiveContinued) {
      const std::uint8_t metaType = status == kMeta ? track.byte() : 0;
      std::uint32_t length = 0;
      if (!readQuantity(track, length) || length > track.remaining()) {
        error = where + ": truncated meta or system-exclusive event";
        return false;
      }
      const std::vector<std::uint8_t> payload = track.bytes(length);
      if (status == kMeta && metaType == kMetaEndOfTrack) break;
      if (status == kMeta && metaType == kMetaTempo) {
        if (length != kTempoLength) {
          error = where + ": tempo event of " + std::to_string(length) + " bytes";
          return false;
        }
        TrackEvent event;
        event.tick = tick;
        event.isTempo = true;
        event.tempo = (payload[0] << 16) | (payload[1] << 8) | payload[2];
        if (event.tempo == 0) {
          error = where + ": tempo of 0 microseconds per quarter note";
          return false;
        }
        out.push_back(event);
      }
    } else {
      error = where + ": unexpected status " + std::to_string(status) + " at byte " +
              std::to_string(track.offset() - 1);
      return false;
    }
  }
  return true;
}

}  // namespace

bool looksLikeMidiFile(const std::uint8_t* bytes, std::size_t size) {
  return bytes != nullptr && size >= kChunkIdSize && std::memcmp(bytes, kHeaderId, kChunkIdSize) == 0;
}

bool parse(const std::uint8_t* bytes, std::size_t size, EventSequence& out, std::string& error) {
  if (!looksLikeMidiFile(bytes, size)) {
    error = "not a Standard MIDI File (no MThd header)";
    return false;
  }
  ByteReader reader(bytes, size);
  reader.skip(kChunkIdSize);
  const std::uint32_t headerLength = reader.bigEndian32();
  if (!reader.ok() || headerLength < kMinHeaderLength || headerLength > reader.remaining()) {
    error = "truncated MIDI file header";
    return false;
  }
  ByteReader header = reader.slice(headerLength);
  const std::uint16_t format = header.bigEndian16();
  const std::uint16_t trackCount = header.bigEndian16();
  const std::uint16_t division = header.bigEndian16();
  if (format != kFormatSingleTrack && format != kFormatSimultaneousTracks) {
    error = "MIDI file type " + std::to_string(format) + " is not supported (types 0 and 1 are)";
    return false;
  }
  // Exact time: time = ticks * unitScale (+ tempo for tick-based files), counted in
  // unitsPerSecond per second.
  const bool smpte = (division & kSmpteDivisionFlag) != 0;
  EventSequence sequence;
  std::int64_t tickScale = 1;
  if (smpte) {
    const int framesPerSecond = -static_cast<int>(static_cast<std::int8_t>(division >> kSmpteRateShift));
    const int ticksPerFrame = division & kTicksPerFrameBits;
    if (framesPerSecond <= 0 || ticksPerFrame == 0) {
      error = "invalid SMPTE time division";
      return false;
    }
    const bool dropFrame = framesPerSecond == kDropFrameRate;
    sequence.unitsPerSecond = (dropFrame ? kDropFrameNumerator : framesPerSecond) * ticksPerFrame;
    tickScale = dropFrame ? kDropFrameDenominator : 1;
  } else {
    if (division == 0) {
      error = "time division of 0 ticks per quarter note";
      return false;
    }
    sequence.unitsPerSecond = static_cast<std::int64_t>(division) * kMicrosecondsPerSecond;
  }

  std::vector<TrackEvent> merged;
  std::size_t tracksFound = 0;
  while (tracksFound < trackCount) {
    if (reader.remaining() < kChunkIdSize + sizeof(std::uint32_t)) {
      error = "truncated: " + std::to_string(tracksFound) + " of " + std::to_string(trackCount) + " tracks present";
      return false;
    }
    const std::vector<std::uint8_t> id = reader.bytes(kChunkIdSize);
    const std::uint32_t length = reader.bigEndian32();
    if (length > reader.remaining()) {
      error = "truncated: track " + std::to_string(tracksFound) + " announces " + std::to_string(length) +
              " bytes, " + std::to_string(reader.remaining()) + " follow";
      return false;
    }
    ByteReader chunk = reader.slice(length);
    if (std::memcmp(id.data(), kTrackId, kChunkIdSize) != 0) continue;  // unknown chunks are skipped
    if (!parseTrack(chunk, tracksFound, merged, error)) return false;
    ++tracksFound;
  }
  // Merge: by tick; at equal ticks, earlier tracks first, each track in its own order.
  std::stable_sort(merged.begin(), merged.end(),
                   [](const TrackEvent& a, const TrackEvent& b) { return a.tick < b.tick; });

  const std::int64_t maxTime = eventsequence::kMaxSeconds * sequence.unitsPerSecond;
  std::int64_t tempo = kDefaultMicrosecondsPerQuarter;
  std::int64_t time = 0;
  std::int64_t lastTick = 0;
  for (const TrackEvent& event : merged) {
    const std::int64_t ticks = event.tick - lastTick;
    const std::int64_t rate = smpte ? tickScale : tempo;
    if (ticks > (maxTime - time) / rate) {
      error = "longer than " + std::to_string(eventsequence::kMaxSeconds) + " seconds";
      return false;
    }
    time += ticks * rate;
    lastTick = event.tick;
    if (event.isTempo) {
      tempo = event.tempo;
    } else {
      TimedMidiEvent message = event.message;
      message.time = time;
      sequence.events.push_back(message);
    }
  }
  out = std::move(sequence);
  return true;
}

}  // namespace midifile
