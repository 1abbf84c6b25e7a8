// Events as a host hands them to process: records of different sizes side by side in
// the host's memory, reached by index, walked the way a plug-in reads them. Also the
// version rule.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "clap/abi/clap_events.h"

namespace {

TEST(ClapVersion, EveryReleaseFromOneOnIsCompatible) {
  EXPECT_FALSE(clapabi::versionIsCompatible({0, 0, 0}));
  EXPECT_FALSE(clapabi::versionIsCompatible({0, 9, 30}));
  EXPECT_TRUE(clapabi::versionIsCompatible({1, 0, 0}));
  EXPECT_TRUE(clapabi::versionIsCompatible({1, 1, 6}));  // an older host, a newer plug-in
  EXPECT_TRUE(clapabi::versionIsCompatible(CLAP_VERSION));
  EXPECT_TRUE(clapabi::versionIsCompatible({2, 0, 0}));
}

// The host's side: records packed one after another (each 8-aligned) in one buffer, and
// an index of where each starts. A null index entry stands for a host that hands out null.
class HostEventList {
 public:
  HostEventList() = default;
  HostEventList(const HostEventList&) = delete;
  HostEventList& operator=(const HostEventList&) = delete;

  template <class Record>
  HostEventList& add(const Record& record) {
    const size_t at = (used + kRecordAlignment - 1) / kRecordAlignment * kRecordAlignment;
    if (at + sizeof(record) > sizeof(storage)) {
      ADD_FAILURE() << "the test's event storage is full";
      return *this;
    }
    std::memcpy(storage + at, &record, sizeof(record));
    starts.push_back(reinterpret_cast<const clap_event_header_t*>(storage + at));
    used = at + sizeof(record);
    return *this;
  }
  HostEventList& addNull() {
    starts.push_back(nullptr);
    return *this;
  }
  const clap_input_events_t* list() const { return &table; }

 private:
  // Plug-in, inside process.
  static uint32_t CLAP_ABI size(const clap_input_events_t* list) {
    return static_cast<uint32_t>(static_cast<const HostEventList*>(list->ctx)->starts.size());
  }
  // Plug-in, inside process.
  static const clap_event_header_t* CLAP_ABI get(const clap_input_events_t* list, uint32_t index) {
    const auto& starts = static_cast<const HostEventList*>(list->ctx)->starts;
    return index < starts.size() ? starts[index] : nullptr;
  }

  static constexpr size_t kRecordAlignment = 8;
  alignas(8) unsigned char storage[1024] = {};
  size_t used = 0;
  std::vector<const clap_event_header_t*> starts;
  clap_input_events_t table = {this, size, get};
};

clap_event_header_t header(uint16_t type, uint32_t size, uint32_t time, uint16_t space = CLAP_CORE_EVENT_SPACE_ID) {
  return {size, time, space, type, 0};
}

// The plug-in's side: one line per event it understood.
std::vector<std::string> walk(const clap_input_events_t* events) {
  std::vector<std::string> seen;
  const uint32_t count = events->size(events);
  for (uint32_t i = 0; i < count; ++i) {
    const clap_event_header_t* event = clapabi::readableCoreEvent(events->get(events, i));
    if (event == nullptr) continue;
    const std::string at = "@" + std::to_string(event->time) + " ";
    switch (event->type) {
      case CLAP_EVENT_NOTE_ON:
      case CLAP_EVENT_NOTE_OFF: {
        const auto* note = reinterpret_cast<const clap_event_note_t*>(event);
        seen.push_back(at + (event->type == CLAP_EVENT_NOTE_ON ? "on " : "off ") + std::to_string(note->key) +
                       " id " + std::to_string(note->note_id) + " vel " + std::to_string(note->velocity));
        break;
      }
      case CLAP_EVENT_PARAM_VALUE: {
        const auto* change = reinterpret_cast<const clap_event_param_value_t*>(event);
        seen.push_back(at + "param " + std::to_string(change->param_id) + " = " + std::to_string(change->value) +
                       (change->cookie != nullptr ? " cookie" : ""));
        break;
      }
      case CLAP_EVENT_MIDI: {
        const auto* midi = reinterpret_cast<const clap_event_midi_t*>(event);
        seen.push_back(at + "midi " + std::to_string(midi->data[0]) + " " + std::to_string(midi->data[1]) + " " +
                       std::to_string(midi->data[2]));
        break;
      }
      default:
        seen.push_back(at + "type " + std::to_string(event->type));
    }
  }
  return seen;
}

TEST(ClapEvents, ARecordsFieldsAreReadWhereTheHostWroteThem) {
  int cookie = 0;
  HostEventList host;
  host.add(clap_event_note_t{header(CLAP_EVENT_NOTE_ON, sizeof(clap_event_note_t), 0), 7, 0, 0, 60, 0.0})
      .add(clap_event_midi_t{header(CLAP_EVENT_MIDI, sizeof(clap_event_midi_t), 3), 0, {0xE1, 0x00, 0x40}})
      .add(clap_event_param_value_t{header(CLAP_EVENT_PARAM_VALUE, sizeof(clap_event_param_value_t), 5), 3, &cookie,
                                    -1, -1, -1, -1, 0.25})
      .add(clap_event_note_t{header(CLAP_EVENT_NOTE_OFF, sizeof(clap_event_note_t), 9), -1, 0, 0, 60, 0.5});
  const std::vector<std::string> expected = {
      "@0 on 60 id 7 vel 0.000000",  // velocity 0 is still a note-on
      "@3 midi 225 0 64",            // pitch bend, channel 2, centre
      "@5 param 3 = 0.250000 cookie",
      "@9 off 60 id -1 vel 0.500000",
  };
  EXPECT_EQ(walk(host.list()), expected);
}

TEST(ClapEvents, ForeignUnknownShortAndMissingEventsAreSkipped) {
  HostEventList host;
  const clap_event_note_t note{header(CLAP_EVENT_NOTE_ON, sizeof(clap_event_note_t), 1), -1, 0, 0, 64, 1.0};
  clap_event_note_t foreign = note;
  foreign.header.space_id = 7;
  clap_event_note_t unknown = note;
  unknown.header.type = CLAP_EVENT_MIDI2 + 1;
  clap_event_param_value_t truncated{};
  truncated.header = header(CLAP_EVENT_PARAM_VALUE, sizeof(clap_event_header_t) + sizeof(clap_id), 2);
  clap_event_transport_t transport{};
  transport.header = header(CLAP_EVENT_TRANSPORT, sizeof(clap_event_transport_t), 4);
  host.add(foreign).add(unknown).add(truncated).addNull().add(transport).add(note);
  const std::vector<std::string> expected = {"@4 type 9", "@1 on 64 id -1 vel 1.000000"};
  EXPECT_EQ(walk(host.list()), expected);
  EXPECT_EQ(host.list()->get(host.list(), 99), nullptr);
}

TEST(ClapEvents, EveryCoreTypeHasTheSizeOfItsRecord) {
  EXPECT_EQ(clapabi::coreEventSize(CLAP_EVENT_NOTE_CHOKE), sizeof(clap_event_note_t));
  EXPECT_EQ(clapabi::coreEventSize(CLAP_EVENT_NOTE_END), sizeof(clap_event_note_t));
  EXPECT_EQ(clapabi::coreEventSize(CLAP_EVENT_NOTE_EXPRESSION), sizeof(clap_event_note_expression_t));
  EXPECT_EQ(clapabi::coreEventSize(CLAP_EVENT_PARAM_MOD), sizeof(clap_event_param_mod_t));
  EXPECT_EQ(clapabi::coreEventSize(CLAP_EVENT_PARAM_GESTURE_BEGIN), sizeof(clap_event_param_gesture_t));
  EXPECT_EQ(clapabi::coreEventSize(CLAP_EVENT_PARAM_GESTURE_END), sizeof(clap_event_param_gesture_t));
  EXPECT_EQ(clapabi::coreEventSize(CLAP_EVENT_MIDI_SYSEX), sizeof(clap_event_midi_sysex_t));
  EXPECT_EQ(clapabi::coreEventSize(CLAP_EVENT_MIDI2), sizeof(clap_event_midi2_t));
  EXPECT_EQ(clapabi::coreEventSize(CLAP_EVENT_MIDI2 + 1), 0u);
}

}  // namespace
