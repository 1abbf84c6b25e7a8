// The editor's edits on their way to the host. The main thread queues gestures and values
// as the user makes them (the instrument holds each value already); the thread of process
// or params.flush hands them to the host as output events. One producer, one consumer,
// no lock, nothing allocated.
// The queue never unbalances a gesture: a begin is queued only while there is room for
// its end as well. A value that finds the queue full is not lost either: its parameter is
// marked, and once the queue is empty the parameter's live value goes out instead.
#pragma once

#include <atomic>
#include <cstdint>

#include "clap/abi/clap_events.h"
#include "params/parameter_table.h"

class Instrument;

class EditQueue {
 public:
  // A power of two: the read and write counters wrap around it.
  static constexpr std::uint32_t kCapacity = 256;
  // Slots a gesture needs when it starts: its begin and, kept aside, its end.
  static constexpr std::uint32_t kGestureSlots = 2;

  EditQueue();

  // Main thread (the editor): the user takes hold of parameter `index`'s control, moves
  // it to `value`, lets it go. Indices outside 0..12 are ignored; so are a second begin
  // and an end without its begin.
  void begin(std::int32_t index);
  void value(std::int32_t index, float value);
  void end(std::int32_t index);

  // The thread of process or params.flush: pushes the edits in order, each at frame 0,
  // until the host refuses one; the refused one and the rest wait for the next call.
  // True when nothing is left waiting.
  bool deliver(const clap_output_events_t* out, const Instrument& instrument);

 private:
  enum Kind : std::uint8_t { kBegin, kValue, kEnd };
  struct Edit {
    Kind kind;
    std::int32_t index;
    float value;
  };

  // Producer side.
  std::uint32_t freeSlots() const;
  void push(const Edit& edit);

  Edit ring[kCapacity];
  std::atomic<std::uint32_t> readCount;   // written by the consumer
  std::atomic<std::uint32_t> writeCount;  // written by the producer
  // Producer only: open gestures, and the slots their ends are sure of.
  bool gestureOpen[PARAMETER_COUNT];
  std::uint32_t reservedEnds;
  // Parameters whose value found the queue full, one bit each.
  std::atomic<std::uint32_t> overflowed;
};
