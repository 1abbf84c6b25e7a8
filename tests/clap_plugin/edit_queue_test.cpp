// The editor's edits on their way to the host: in order at frame 0, what the host refuses
// offered again, gestures balanced and no final value lost however full the queue gets.
#include <gtest/gtest.h>

#include <map>

#include "clap/edit_queue.h"
#include "core/instrument.h"
#include "tools/host/clap_events.h"

namespace {

// Gestures balanced and never nested per parameter; the last value sent per parameter.
std::map<clap_id, double> checkGestures(const std::vector<ClapOutputEvents::Event>& events) {
  std::map<clap_id, int> open;
  std::map<clap_id, double> last;
  for (const ClapOutputEvents::Event& event : events) {
    EXPECT_EQ(event.time, 0u);
    if (event.type == CLAP_EVENT_PARAM_GESTURE_BEGIN) {
      EXPECT_EQ(open[event.param]++, 0) << "nested begin";
    } else if (event.type == CLAP_EVENT_PARAM_GESTURE_END) {
      EXPECT_EQ(open[event.param]--, 1) << "end without begin";
    } else if (event.type == CLAP_EVENT_PARAM_VALUE) {
      last[event.param] = event.value;
    }
  }
  for (const auto& entry : open) EXPECT_EQ(entry.second, 0) << "open gesture on " << entry.first;
  return last;
}

TEST(ClapEditQueue, InOrderAndWhatTheHostRefusesComesNextTime) {
  Instrument instrument;
  EditQueue queue;
  queue.begin(1);
  for (int i = 1; i <= 5; ++i) queue.value(1, i / 10.0f);
  queue.end(1);
  queue.value(7, 0.125f);  // without a gesture
  queue.end(7);            // an end without its begin is dropped
  queue.begin(20);         // no such parameter
  ClapOutputEvents first(3);
  EXPECT_FALSE(queue.deliver(first.list(), instrument));
  ClapOutputEvents second;
  EXPECT_TRUE(queue.deliver(second.list(), instrument));
  std::vector<ClapOutputEvents::Event> all = first.events;
  all.insert(all.end(), second.events.begin(), second.events.end());
  ASSERT_EQ(all.size(), 8u);
  EXPECT_EQ(all[0].type, CLAP_EVENT_PARAM_GESTURE_BEGIN);
  EXPECT_EQ(all[0].flags, CLAP_EVENT_IS_LIVE);
  EXPECT_EQ(all[3].value, static_cast<double>(0.3f)) << "the refused event came first next time";
  EXPECT_EQ(all[6].type, CLAP_EVENT_PARAM_GESTURE_END);
  EXPECT_EQ(all[7].param, 7u);
  checkGestures(all);
  EXPECT_FALSE(queue.deliver(nullptr, instrument));
}

TEST(ClapEditQueue, AFullQueueKeepsGesturesBalancedAndTheLatestValues) {
  Instrument instrument;
  EditQueue queue;
  // Long drags on every parameter while the host takes nothing.
  for (std::int32_t round = 0; round < 40; ++round) {
    for (std::int32_t index = 0; index < PARAMETER_COUNT; ++index) {
      queue.begin(index);
      instrument.setParameter(index, static_cast<float>(round) / 40.0f);
      queue.value(index, instrument.getParameter(index));
      queue.end(index);
    }
  }
  // Gestures held open while values pour in: their ends still fit.
  for (std::int32_t index = 0; index < PARAMETER_COUNT; ++index) queue.begin(index);
  for (std::uint32_t i = 0; i < 2 * EditQueue::kCapacity; ++i) queue.value(5, instrument.getParameter(5));
  for (std::int32_t index = 0; index < PARAMETER_COUNT; ++index) queue.end(index);
  ClapOutputEvents out;
  EXPECT_TRUE(queue.deliver(out.list(), instrument));
  EXPECT_GT(out.events.size(), EditQueue::kCapacity) << "the values set aside came after the queue";
  const std::map<clap_id, double> last = checkGestures(out.events);
  ASSERT_EQ(last.size(), static_cast<std::size_t>(PARAMETER_COUNT));
  for (const auto& entry : last) {
    EXPECT_EQ(entry.second, static_cast<double>(instrument.getParameter(static_cast<std::int32_t>(entry.first))));
  }
}

}  // namespace
