// The editor's edits on their way to the host: in order, at frame 0, what the host
// refuses offered again, gestures balanced and no final value lost however full the
// queue gets.
#include <gtest/gtest.h>

#include <map>

#include "clap/edit_queue.h"
#include "core/instrument.h"
#include "tools/host/clap_events.h"

namespace {

// Checks a host's view of the events: gestures balanced and never nested per parameter.
void expectBalanced(const std::vector<ClapOutputEvents::Event>& events) {
  std::map<clap_id, int> open;
  for (const ClapOutputEvents::Event& event : events) {
    if (event.type == CLAP_EVENT_PARAM_GESTURE_BEGIN) {
      EXPECT_EQ(open[event.param]++, 0) << "nested begin";
    } else if (event.type == CLAP_EVENT_PARAM_GESTURE_END) {
      EXPECT_EQ(open[event.param]--, 1) << "end without begin";
    }
  }
  for (const auto& entry : open) EXPECT_EQ(entry.second, 0) << "open gesture on " << entry.first;
}

TEST(ClapEditQueue, GesturesAndValuesGoOutInOrderAtFrameZero) {
  Instrument instrument;
  EditQueue queue;
  queue.begin(3);
  queue.value(3, 0.25f);
  queue.value(3, 0.5f);
  queue.end(3);
  queue.value(7, 0.125f);  // a change without a gesture
  queue.end(7);            // an end without its begin is dropped
  queue.begin(20);         // no such parameter
  ClapOutputEvents out;
  EXPECT_TRUE(queue.deliver(out.list(), instrument));
  ASSERT_EQ(out.events.size(), 5u);
  const std::uint16_t types[] = {CLAP_EVENT_PARAM_GESTURE_BEGIN, CLAP_EVENT_PARAM_VALUE, CLAP_EVENT_PARAM_VALUE,
                                 CLAP_EVENT_PARAM_GESTURE_END, CLAP_EVENT_PARAM_VALUE};
  for (std::size_t i = 0; i < out.events.size(); ++i) {
    EXPECT_EQ(out.events[i].type, types[i]) << i;
    EXPECT_EQ(out.events[i].time, 0u);
    EXPECT_EQ(out.events[i].flags, CLAP_EVENT_IS_LIVE);
  }
  EXPECT_EQ(out.events[2].value, 0.5);
  EXPECT_EQ(out.events[4].param, 7u);
  EXPECT_EQ(out.malformed, 0u);
  ClapOutputEvents again;
  EXPECT_TRUE(queue.deliver(again.list(), instrument));
  EXPECT_TRUE(again.events.empty());
}

TEST(ClapEditQueue, WhatTheHostRefusesComesNextTime) {
  Instrument instrument;
  EditQueue queue;
  queue.begin(1);
  for (int i = 1; i <= 5; ++i) queue.value(1, i / 10.0f);
  queue.end(1);
  ClapOutputEvents first(3);
  EXPECT_FALSE(queue.deliver(first.list(), instrument));
  ClapOutputEvents second;
  EXPECT_TRUE(queue.deliver(second.list(), instrument));
  ASSERT_EQ(first.events.size() + second.events.size(), 7u);
  EXPECT_EQ(second.events.front().value, static_cast<double>(0.3f));
  EXPECT_EQ(second.events.back().type, CLAP_EVENT_PARAM_GESTURE_END);
  EXPECT_FALSE(queue.deliver(nullptr, instrument));
}

TEST(ClapEditQueue, AFullQueueKeepsGesturesBalancedAndTheLatestValue) {
  Instrument instrument;
  EditQueue queue;
  // Long drags on every parameter while the host takes nothing.
  for (std::int32_t round = 0; round < 40; ++round) {
    for (std::int32_t index = 0; index < PARAMETER_COUNT; ++index) {
      queue.begin(index);
      const float value = static_cast<float>(round) / 40.0f;
      instrument.setParameter(index, value);
      queue.value(index, value);
      queue.end(index);
    }
  }
  ClapOutputEvents out;
  EXPECT_TRUE(queue.deliver(out.list(), instrument));
  EXPECT_GT(out.events.size(), EditQueue::kCapacity) << "the values set aside came after the queue";
  expectBalanced(out.events);
  // The last value each parameter sends is its live one.
  std::map<clap_id, double> last;
  for (const ClapOutputEvents::Event& event : out.events) {
    if (event.type == CLAP_EVENT_PARAM_VALUE) last[event.param] = event.value;
  }
  ASSERT_EQ(last.size(), static_cast<std::size_t>(PARAMETER_COUNT));
  for (const auto& entry : last) {
    EXPECT_EQ(entry.second, static_cast<double>(instrument.getParameter(static_cast<std::int32_t>(entry.first))));
  }
}

TEST(ClapEditQueue, AnOpenGestureCanAlwaysEnd) {
  Instrument instrument;
  EditQueue queue;
  for (std::int32_t index = 0; index < PARAMETER_COUNT; ++index) queue.begin(index);
  for (std::uint32_t i = 0; i < 2 * EditQueue::kCapacity; ++i) queue.value(5, 0.5f);
  for (std::int32_t index = 0; index < PARAMETER_COUNT; ++index) queue.end(index);
  ClapOutputEvents out;
  EXPECT_TRUE(queue.deliver(out.list(), instrument));
  expectBalanced(out.events);
  std::size_t ends = 0;
  for (const ClapOutputEvents::Event& event : out.events) ends += event.type == CLAP_EVENT_PARAM_GESTURE_END;
  EXPECT_EQ(ends, static_cast<std::size_t>(PARAMETER_COUNT));
}

}  // namespace
