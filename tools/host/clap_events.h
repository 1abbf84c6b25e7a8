// Event lists as a CLAP host hands them over: the input list of a process or flush call,
// filled in time order by the caller, and an output list that records what the instance
// pushes (and can be made to refuse events, as a host out of room does).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "clap/abi/clap_events.h"

class ClapInputEvents {
 public:
  ClapInputEvents();
  ClapInputEvents(const ClapInputEvents&) = delete;
  ClapInputEvents& operator=(const ClapInputEvents&) = delete;

  void clear() { slots.clear(); }
  // Room for `count` events, so that filling the list up to it allocates nothing.
  void reserve(std::size_t count) { slots.reserve(count); }
  // Every event of `other` after the ones here, in its order.
  void append(const ClapInputEvents& other) { slots.insert(slots.end(), other.slots.begin(), other.slots.end()); }
  std::size_t size() const { return slots.size(); }
  const clap_input_events_t* list() const { return &record; }

  // A note event of the CLAP dialect (NOTE_ON, NOTE_OFF, NOTE_CHOKE); -1 is a wildcard.
  void note(std::uint16_t type, std::uint32_t time, std::int16_t key, double velocity, std::int32_t noteId = -1,
            std::int16_t channel = 0, std::int16_t port = 0);
  // A MIDI 1.0 message on note port `port`.
  void midi(std::uint32_t time, std::uint8_t status, std::uint8_t first, std::uint8_t second,
            std::uint16_t port = 0);
  // A global parameter value.
  void parameter(std::uint32_t time, clap_id id, double value);
  // Any event: `header.size` bytes are copied from it (at most one slot's worth).
  void raw(const clap_event_header_t& header);

 private:
  // Room for the largest core event, aligned for every one.
  struct alignas(8) Slot {
    unsigned char bytes[sizeof(clap_event_transport_t)];
  };
  static std::uint32_t CLAP_ABI countOf(const clap_input_events_t* list);
  static const clap_event_header_t* CLAP_ABI eventAt(const clap_input_events_t* list, std::uint32_t index);
  template <typename Event>
  void add(const Event& event);

  std::vector<Slot> slots;
  clap_input_events_t record;
};

class ClapOutputEvents {
 public:
  // What a pushed event said: the type, time and flags, and for parameter events the id
  // and (value events) the value.
  struct Event {
    std::uint16_t type;
    std::uint32_t time;
    std::uint32_t flags;
    clap_id param;
    double value;
  };

  // `room`: how many events are taken before try_push answers false.
  explicit ClapOutputEvents(std::size_t roomFor = SIZE_MAX);
  ClapOutputEvents(const ClapOutputEvents&) = delete;
  ClapOutputEvents& operator=(const ClapOutputEvents&) = delete;

  const clap_output_events_t* list() const { return &record; }
  void setRoom(std::size_t count) { room = count; }

  std::vector<Event> events;
  // Pushed events whose header was unusable (wrong space, size or type).
  std::size_t malformed = 0;

 private:
  static bool CLAP_ABI push(const clap_output_events_t* list, const clap_event_header_t* event);

  std::size_t room;
  clap_output_events_t record;
};
