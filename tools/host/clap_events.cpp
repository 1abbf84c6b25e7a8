#include "tools/host/clap_events.h"

#include <cstring>

namespace {

clap_event_header_t header(std::uint32_t size, std::uint16_t type, std::uint32_t time) {
  return clap_event_header_t{size, time, CLAP_CORE_EVENT_SPACE_ID, type, 0};
}

}  // namespace

ClapInputEvents::ClapInputEvents() : slots(), record{this, countOf, eventAt} {}

template <typename Event>
void ClapInputEvents::add(const Event& event) {
  static_assert(sizeof(Event) <= sizeof(Slot), "every core event fits a slot");
  Slot slot = {};
  std::memcpy(slot.bytes, &event, sizeof(event));
  slots.push_back(slot);
}

void ClapInputEvents::note(std::uint16_t type, std::uint32_t time, std::int16_t key, double velocity,
                           std::int32_t noteId, std::int16_t channel, std::int16_t port) {
  clap_event_note_t event = {};
  event.header = header(sizeof(event), type, time);
  event.note_id = noteId;
  event.port_index = port;
  event.channel = channel;
  event.key = key;
  event.velocity = velocity;
  add(event);
}

void ClapInputEvents::midi(std::uint32_t time, std::uint8_t status, std::uint8_t first, std::uint8_t second,
                           std::uint16_t port) {
  clap_event_midi_t event = {};
  event.header = header(sizeof(event), CLAP_EVENT_MIDI, time);
  event.port_index = port;
  event.data[0] = status;
  event.data[1] = first;
  event.data[2] = second;
  add(event);
}

void ClapInputEvents::parameter(std::uint32_t time, clap_id id, double value) {
  clap_event_param_value_t event = {};
  event.header = header(sizeof(event), CLAP_EVENT_PARAM_VALUE, time);
  event.param_id = id;
  event.cookie = nullptr;
  event.note_id = -1;
  event.port_index = -1;
  event.channel = -1;
  event.key = -1;
  event.value = value;
  add(event);
}

void ClapInputEvents::raw(const clap_event_header_t& event) {
  Slot slot = {};
  std::memcpy(slot.bytes, &event, event.size < sizeof(slot.bytes) ? event.size : sizeof(slot.bytes));
  slots.push_back(slot);
}

// The instance, inside process or flush.
std::uint32_t CLAP_ABI ClapInputEvents::countOf(const clap_input_events_t* list) {
  return static_cast<std::uint32_t>(static_cast<const ClapInputEvents*>(list->ctx)->slots.size());
}

const clap_event_header_t* CLAP_ABI ClapInputEvents::eventAt(const clap_input_events_t* list, std::uint32_t index) {
  const auto* self = static_cast<const ClapInputEvents*>(list->ctx);
  if (index >= self->slots.size()) return nullptr;
  return reinterpret_cast<const clap_event_header_t*>(self->slots[index].bytes);
}

ClapOutputEvents::ClapOutputEvents(std::size_t roomFor) : events(), room(roomFor), record{this, push} {}

// The instance, inside process or flush.
bool CLAP_ABI ClapOutputEvents::push(const clap_output_events_t* list, const clap_event_header_t* event) {
  auto* self = static_cast<ClapOutputEvents*>(list->ctx);
  if (self->events.size() >= self->room) return false;
  const clap_event_header_t* readable = clapabi::readableCoreEvent(event);
  if (readable == nullptr) {
    ++self->malformed;
    return true;
  }
  Event seen = {readable->type, readable->time, readable->flags, CLAP_INVALID_ID, 0.0};
  if (readable->type == CLAP_EVENT_PARAM_VALUE) {
    const auto* value = reinterpret_cast<const clap_event_param_value_t*>(readable);
    seen.param = value->param_id;
    seen.value = value->value;
  } else if (readable->type == CLAP_EVENT_PARAM_GESTURE_BEGIN || readable->type == CLAP_EVENT_PARAM_GESTURE_END) {
    seen.param = reinterpret_cast<const clap_event_param_gesture_t*>(readable)->param_id;
  }
  self->events.push_back(seen);
  return true;
}
