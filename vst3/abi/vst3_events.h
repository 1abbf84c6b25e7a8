// Events the host delivers with each block (notes, system exclusive data) and the list
// that carries them.
#pragma once

#include <cstddef>

#include "vst3/abi/vst3_unknown.h"

namespace vst3 {

struct NoteOnEvent {
  int16 channel;  // 0..15
  int16 pitch;    // MIDI note number
  float tuning;   // cents
  float velocity;  // 0..1
  int32 length;   // samples; optional
  int32 noteId;   // -1 if none
};

// Matches its note-on by noteId, or by channel and pitch when noteId is -1.
struct NoteOffEvent {
  int16 channel;
  int16 pitch;
  float velocity;
  int32 noteId;
  float tuning;
};

struct DataEvent {
  enum DataTypes : uint32 { kMidiSysEx = 0 };

  uint32 size;
  uint32 type;  // DataTypes
  const uint8* bytes;
};

struct PolyPressureEvent {
  int16 channel;
  int16 pitch;
  float pressure;
  int32 noteId;
};

// One event; `type` selects the payload. Only the payloads above are declared: the
// others (note expression, chord, scale, controller output) are skipped by type, like
// any unknown one. They must stay out of the union, where a double member would move the
// payload on 32-bit Windows.
struct Event {
  enum EventFlags : uint16 {
    kIsLive = 1 << 0,
    kUserReserved1 = 1 << 14,
    kUserReserved2 = 1 << 15,
  };
  enum EventTypes : uint16 {
    kNoteOnEvent = 0,
    kNoteOffEvent = 1,
    kDataEvent = 2,
    kPolyPressureEvent = 3,
    kNoteExpressionValueEvent = 4,
    kNoteExpressionTextEvent = 5,
    kChordEvent = 6,
    kScaleEvent = 7,
    kLegacyMIDICCOutEvent = 65535,  // output only
  };

  int32 busIndex;
  int32 sampleOffset;  // from the block's start; events come sorted by it
  TQuarterNotes ppqPosition;
  uint16 flags;  // EventFlags
  uint16 type;   // EventTypes
  union {
    NoteOnEvent noteOn;
    NoteOffEvent noteOff;
    DataEvent data;
    PolyPressureEvent polyPressure;
  };
};

// Note IDs hosts never use.
constexpr int32 kReservedNoteIdFirst = -10000;
constexpr int32 kReservedNoteIdLast = -1000;

// Audio thread, inside `process`; ProcessData::inputEvents may be null.
class IEventList : public FUnknown {
 public:
  static constexpr Uid iid = makeUid(0x3A2C4214, 0x346349FE, 0xB2C4F397, 0xB9695A44);

  virtual int32 PLUGIN_API getEventCount() = 0;  // slot 3
  // Slot 4. Copies a whole Event into `e`, so the record must match the host's layout.
  virtual tresult PLUGIN_API getEvent(int32 index, Event& e) = 0;
  virtual tresult PLUGIN_API addEvent(Event& e) = 0;  // slot 5

 protected:
  ~IEventList() = default;
};

// Layouts. The payload union is 8-aligned on x86-64 (DataEvent's pointer) but 4-aligned
// on 32-bit Windows, where it starts at 20 and Event is 40 bytes.
static_assert(sizeof(NoteOnEvent) == 20 && alignof(NoteOnEvent) == 4, "NoteOnEvent");
static_assert(offsetof(NoteOnEvent, channel) == 0 && offsetof(NoteOnEvent, pitch) == 2, "NoteOnEvent");
static_assert(offsetof(NoteOnEvent, tuning) == 4 && offsetof(NoteOnEvent, velocity) == 8, "NoteOnEvent");
static_assert(offsetof(NoteOnEvent, length) == 12 && offsetof(NoteOnEvent, noteId) == 16, "NoteOnEvent");

static_assert(sizeof(NoteOffEvent) == 16 && alignof(NoteOffEvent) == 4, "NoteOffEvent");
static_assert(offsetof(NoteOffEvent, channel) == 0 && offsetof(NoteOffEvent, pitch) == 2, "NoteOffEvent");
static_assert(offsetof(NoteOffEvent, velocity) == 4 && offsetof(NoteOffEvent, noteId) == 8, "NoteOffEvent");
static_assert(offsetof(NoteOffEvent, tuning) == 12, "NoteOffEvent");

static_assert(sizeof(PolyPressureEvent) == 12, "PolyPressureEvent");
static_assert(offsetof(PolyPressureEvent, channel) == 0 && offsetof(PolyPressureEvent, pitch) == 2,
              "PolyPressureEvent");
static_assert(offsetof(PolyPressureEvent, pressure) == 4 && offsetof(PolyPressureEvent, noteId) == 8,
              "PolyPressureEvent");

static_assert(offsetof(DataEvent, size) == 0 && offsetof(DataEvent, type) == 4, "DataEvent");
static_assert(offsetof(DataEvent, bytes) == 8, "DataEvent");

static_assert(alignof(Event) == 8, "Event");
static_assert(offsetof(Event, busIndex) == 0 && offsetof(Event, sampleOffset) == 4, "Event");
static_assert(offsetof(Event, ppqPosition) == 8 && offsetof(Event, flags) == 16, "Event");
static_assert(offsetof(Event, type) == 18, "Event");
#if QUINDLE_VST3_X86
static_assert(sizeof(DataEvent) == 12, "DataEvent x86");
static_assert(sizeof(Event) == 40, "Event x86");
static_assert(offsetof(Event, noteOn) == 20 && offsetof(Event, noteOff) == 20, "Event x86");
static_assert(offsetof(Event, data) == 20 && offsetof(Event, polyPressure) == 20, "Event x86");
#else
static_assert(sizeof(DataEvent) == 16, "DataEvent x64");
static_assert(sizeof(Event) == 48, "Event x64");
static_assert(offsetof(Event, noteOn) == 24 && offsetof(Event, noteOff) == 24, "Event x64");
static_assert(offsetof(Event, data) == 24 && offsetof(Event, polyPressure) == 24, "Event x64");
#endif

// The raw ID bytes on this platform.
#if QUINDLE_VST3_WINDOWS
static_assert(uidHasBytes(IEventList::iid, "14422C3A6334FE49B2C4F397B9695A44"), "IEventList IID");
#else
static_assert(uidHasBytes(IEventList::iid, "3A2C4214346349FEB2C4F397B9695A44"), "IEventList IID");
#endif

}  // namespace vst3
