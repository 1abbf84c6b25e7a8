#include "clap/edit_queue.h"

#include "core/instrument.h"

namespace {

static_assert((EditQueue::kCapacity & (EditQueue::kCapacity - 1)) == 0, "the capacity is a power of two");
static_assert(PARAMETER_COUNT <= 32, "one overflow bit per parameter");

// Changes the user makes in the editor: live actions.
constexpr std::uint32_t kEditFlags = CLAP_EVENT_IS_LIVE;
// A global change: no particular note, port, channel or key.
constexpr std::int32_t kEveryNote = -1;
constexpr std::int16_t kEveryPort = -1;

std::uint32_t bitOf(std::int32_t index) { return std::uint32_t{1} << index; }

clap_event_header_t header(std::uint32_t size, std::uint16_t type) {
  return clap_event_header_t{size, 0, CLAP_CORE_EVENT_SPACE_ID, type, kEditFlags};
}

bool pushValue(const clap_output_events_t* out, std::int32_t index, float value) {
  clap_event_param_value_t event = {};
  event.header = header(sizeof(event), CLAP_EVENT_PARAM_VALUE);
  event.param_id = static_cast<clap_id>(index);
  event.cookie = nullptr;
  event.note_id = kEveryNote;
  event.port_index = kEveryPort;
  event.channel = kEveryPort;
  event.key = kEveryPort;
  event.value = static_cast<double>(value);
  return out->try_push(out, &event.header);
}

bool pushGesture(const clap_output_events_t* out, std::uint16_t type, std::int32_t index) {
  clap_event_param_gesture_t event = {};
  event.header = header(sizeof(event), type);
  event.param_id = static_cast<clap_id>(index);
  return out->try_push(out, &event.header);
}

}  // namespace

EditQueue::EditQueue() : ring(), readCount(0), writeCount(0), gestureOpen(), reservedEnds(0), overflowed(0) {}

std::uint32_t EditQueue::freeSlots() const {
  const std::uint32_t used = writeCount.load(std::memory_order_relaxed) - readCount.load(std::memory_order_acquire);
  return kCapacity - used;
}

void EditQueue::push(const Edit& edit) {
  const std::uint32_t slot = writeCount.load(std::memory_order_relaxed);
  ring[slot % kCapacity] = edit;
  writeCount.store(slot + 1, std::memory_order_release);
}

void EditQueue::begin(std::int32_t index) {
  if (!isParameterIndex(index) || gestureOpen[index]) return;
  // Without room for the end as well, the gesture is left out whole.
  if (freeSlots() < reservedEnds + kGestureSlots) return;
  push(Edit{kBegin, index, 0.0f});
  gestureOpen[index] = true;
  ++reservedEnds;
}

void EditQueue::value(std::int32_t index, float newValue) {
  if (!isParameterIndex(index)) return;
  if (freeSlots() > reservedEnds) {
    push(Edit{kValue, index, newValue});
  } else {
    overflowed.fetch_or(bitOf(index), std::memory_order_release);
  }
}

void EditQueue::end(std::int32_t index) {
  if (!isParameterIndex(index) || !gestureOpen[index]) return;
  push(Edit{kEnd, index, 0.0f});
  gestureOpen[index] = false;
  --reservedEnds;
}

bool EditQueue::deliver(const clap_output_events_t* out, const Instrument& instrument) {
  if (out == nullptr || out->try_push == nullptr) return false;
  std::uint32_t next = readCount.load(std::memory_order_relaxed);
  const std::uint32_t last = writeCount.load(std::memory_order_acquire);
  for (; next != last; ++next) {
    const Edit& edit = ring[next % kCapacity];
    const bool taken = edit.kind == kValue ? pushValue(out, edit.index, edit.value)
                                           : pushGesture(out, edit.kind == kBegin ? CLAP_EVENT_PARAM_GESTURE_BEGIN
                                                                                  : CLAP_EVENT_PARAM_GESTURE_END,
                                                         edit.index);
    if (!taken) break;
  }
  readCount.store(next, std::memory_order_release);
  if (next != last) return false;
  // The values the full queue could not take: the newest value of each parameter.
  std::uint32_t marked = overflowed.exchange(0, std::memory_order_acquire);
  for (std::int32_t index = 0; index < PARAMETER_COUNT; ++index) {
    if ((marked & bitOf(index)) == 0) continue;
    if (!pushValue(out, index, instrument.getParameter(index))) {
      overflowed.fetch_or(marked, std::memory_order_release);
      return false;
    }
    marked &= ~bitOf(index);
  }
  return true;
}
