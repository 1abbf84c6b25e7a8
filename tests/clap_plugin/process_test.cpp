// The audio cycle as a host drives it: the process status follows the sound, 0-frame
// calls only apply their changes, both outputs are always written, notes arrive in
// either dialect (wildcard releases and chokes included), a program change reaches the
// host's parameter view, and events the instrument cannot use change nothing.
#include <cmath>
#include <cstring>
#include <limits>

#include "params/program_bank.h"
#include "tests/clap_plugin/clap_fixture.h"

namespace claptest {
namespace {

constexpr std::uint32_t kBlock = 256;

class ClapProcess : public ClapModuleTest {
 protected:
  void SetUp() override {
    ClapModuleTest::SetUp();
    instance = create(host);
    ASSERT_NE(instance, nullptr);
    ASSERT_TRUE(instance->activate());
  }
  // `blocks` blocks with `events` in the first; the output of all of them.
  std::vector<float> play(const ClapInputEvents& events, std::int32_t blocks = 8,
                          clap_process_status* last = nullptr) {
    std::vector<float> all, left, right;
    const ClapInputEvents none;
    for (std::int32_t b = 0; b < blocks; ++b) {
      const clap_process_status status = instance->process(b == 0 ? events : none, kBlock, left, right);
      if (last != nullptr) *last = status;
      EXPECT_EQ(left, right);
      all.insert(all.end(), left.begin(), left.end());
    }
    return all;
  }
  static bool silent(const std::vector<float>& samples) {
    for (float sample : samples) {
      if (sample != 0.0f) return false;
    }
    return true;
  }
  std::unique_ptr<Instance> instance;
};

TEST_F(ClapProcess, SleepsWhileSilentAndContinuesWhileSounding) {
  std::vector<float> left, right;
  EXPECT_EQ(instance->process(ClapInputEvents(), kBlock, left, right), CLAP_PROCESS_SLEEP);
  EXPECT_TRUE(silent(left)) << "every frame written, with exact zeros";
  EXPECT_TRUE(silent(right));
  ClapInputEvents on;
  on.note(CLAP_EVENT_NOTE_ON, 100, 57, 0.8);
  EXPECT_EQ(instance->process(on, kBlock, left, right), CLAP_PROCESS_CONTINUE);
  EXPECT_FALSE(silent(left));
  ClapInputEvents off;
  off.note(CLAP_EVENT_NOTE_OFF, 0, 57, 0.0);
  clap_process_status status = instance->process(off, kBlock, left, right);
  // Program 0 releases in well under a second.
  for (std::int32_t b = 0; b < 400 && status == CLAP_PROCESS_CONTINUE; ++b) status = instance->process(ClapInputEvents(), kBlock, left, right);
  EXPECT_EQ(status, CLAP_PROCESS_SLEEP);
  EXPECT_EQ(instance->process(ClapInputEvents(), kBlock, left, right), CLAP_PROCESS_SLEEP);
  EXPECT_TRUE(silent(left)) << "asleep: nothing more to hear";
}

TEST_F(ClapProcess, ZeroFramesApplyChangesAndWriteNothing) {
  ClapInputEvents change;
  change.parameter(0, 6, 0.375);
  std::vector<float> left, right;
  EXPECT_EQ(instance->process(change, 0, left, right), CLAP_PROCESS_SLEEP);
  EXPECT_EQ(instance->value(6), 0.375);
  clap_process_t empty = {};
  empty.frames_count = 0;
  EXPECT_EQ(instance->plugin->process(instance->plugin, &empty), CLAP_PROCESS_SLEEP) << "no buffers, no lists";
  EXPECT_EQ(instance->plugin->process(instance->plugin, nullptr), CLAP_PROCESS_ERROR);
}

TEST_F(ClapProcess, OutputsWithMissingChannelsAreServedAsFarAsTheyGo) {
  ClapInputEvents on;
  on.midi(0, 0x90, 60, 100);
  std::vector<float> left(kBlock, 7.0f);
  float* channels[] = {nullptr, left.data()};
  clap_audio_buffer_t port = {channels, nullptr, 2, 0, 0};
  clap_process_t block = {};
  block.frames_count = kBlock;
  block.audio_outputs = &port;
  block.audio_outputs_count = 1;
  block.in_events = on.list();
  EXPECT_EQ(instance->plugin->process(instance->plugin, &block), CLAP_PROCESS_CONTINUE);
  EXPECT_FALSE(silent(left));
  EXPECT_NE(left[0], 7.0f);
  port.data32 = nullptr;
  EXPECT_EQ(instance->plugin->process(instance->plugin, &block), CLAP_PROCESS_CONTINUE);
  block.audio_outputs_count = 0;
  EXPECT_EQ(instance->plugin->process(instance->plugin, &block), CLAP_PROCESS_CONTINUE);
}

TEST_F(ClapProcess, ClapNotesEqualMidiNotesAndVelocityZeroStillSounds) {
  ClapInputEvents midi;
  midi.midi(3, 0x90, 60, 1);
  midi.midi(40, 0x91, 64, 127);
  midi.midi(200, 0x80, 64, 0);
  const std::vector<float> expected = play(midi);
  ASSERT_FALSE(silent(expected));

  auto second = create(host);
  ASSERT_NE(second, nullptr);
  instance.swap(second);
  ASSERT_TRUE(instance->activate());
  ClapInputEvents notes;
  notes.note(CLAP_EVENT_NOTE_ON, 3, 60, 0.0);   // velocity 0: the softest real note
  notes.note(CLAP_EVENT_NOTE_ON, 40, 64, 1.0, -1, 1);
  notes.note(CLAP_EVENT_NOTE_OFF, 200, 64, 0.0, -1, 1);
  EXPECT_EQ(play(notes), expected);
}

TEST_F(ClapProcess, VelocityIsTheSevenBitValueHostsDeriveItFrom) {
  // Through the module: every 7-bit velocity v sent as v / 127 sounds as MIDI velocity v.
  for (std::uint8_t v : {1, 2, 63, 64, 100, 126, 127}) {
    ClapInputEvents midi, notes;
    midi.midi(0, 0x90, 70, v);
    notes.note(CLAP_EVENT_NOTE_ON, 0, 70, v / 127.0);
    ClapHost hostA, hostB;
    auto a = create(hostA);
    auto b = create(hostB);
    ASSERT_TRUE(a->activate());
    ASSERT_TRUE(b->activate());
    std::vector<float> la, ra, lb, rb;
    a->process(midi, kBlock, la, ra);
    b->process(notes, kBlock, lb, rb);
    EXPECT_EQ(la, lb) << "velocity " << int(v);
  }
}

TEST_F(ClapProcess, WildcardReleasesAndChokes) {
  // A note-off naming neither key nor id releases every note: as the MIDI note-offs do.
  ClapInputEvents byKey;
  byKey.midi(0, 0x90, 50, 100);
  byKey.midi(0, 0x90, 55, 100);
  byKey.midi(128, 0x80, 50, 0);
  byKey.midi(128, 0x80, 55, 0);
  const std::vector<float> released = play(byKey);

  ClapHost otherHost;
  auto other = create(otherHost);
  ASSERT_TRUE(other->activate());
  instance.swap(other);
  ClapInputEvents wildcard;
  wildcard.note(CLAP_EVENT_NOTE_ON, 0, 50, 100 / 127.0, 7);
  wildcard.note(CLAP_EVENT_NOTE_ON, 0, 55, 100 / 127.0, 8);
  wildcard.note(CLAP_EVENT_NOTE_OFF, 128, -1, 0.0, 7);  // by id: key 50
  wildcard.note(CLAP_EVENT_NOTE_OFF, 128, -1, 0.0, -1, -1);  // everything left
  EXPECT_EQ(play(wildcard), released);

  // A choke of everything: silence at once from its frame on.
  ClapInputEvents choke;
  choke.note(CLAP_EVENT_NOTE_ON, 0, 62, 1.0);
  choke.note(CLAP_EVENT_NOTE_CHOKE, 100, -1, 0.0, -1, -1);
  clap_process_status status = CLAP_PROCESS_CONTINUE;
  const std::vector<float> choked = play(choke, 2, &status);
  EXPECT_FALSE(silent(std::vector<float>(choked.begin(), choked.begin() + 100)));
  EXPECT_TRUE(silent(std::vector<float>(choked.begin() + 100, choked.end())));
  EXPECT_EQ(status, CLAP_PROCESS_SLEEP);
}

TEST_F(ClapProcess, EventsTheInstrumentCannotUseChangeNothing) {
  ClapInputEvents junk;
  clap_event_note_t note = {};
  note.header = {sizeof(note), 0, 1, CLAP_EVENT_NOTE_ON, 0};  // another event space
  note.key = 60;
  note.velocity = 1.0;
  junk.raw(note.header);
  note.header = {sizeof(note) - 8, 0, 0, CLAP_EVENT_NOTE_ON, 0};  // shorter than a note event
  junk.raw(note.header);
  note.header = {sizeof(note), 0, 0, 99, 0};  // no such type
  junk.raw(note.header);
  junk.note(CLAP_EVENT_NOTE_ON, 0, 60, 1.0, -1, 0, 1);  // another port
  junk.note(CLAP_EVENT_NOTE_ON, 0, 200, 1.0);  // no such key
  junk.note(CLAP_EVENT_NOTE_ON, 0, -1, 1.0);  // a wildcard cannot start a note
  junk.note(CLAP_EVENT_NOTE_ON, 0, 60, std::nan(""));
  junk.midi(0, 0x90, 60, 100, 1);  // MIDI on another port
  junk.midi(0, 0xC0, 8, 0);        // no such program
  junk.parameter(0, 13, 0.5);
  junk.parameter(0, CLAP_INVALID_ID, 0.5);
  junk.parameter(0, 4, std::numeric_limits<double>::infinity());
  clap_event_param_mod_t modulation = {};
  modulation.header = {sizeof(modulation), 0, 0, CLAP_EVENT_PARAM_MOD, 0};
  modulation.param_id = 4;
  modulation.amount = 0.5;
  junk.raw(modulation.header);
  const std::vector<std::uint8_t> before = instance->save();
  clap_process_status status = CLAP_PROCESS_CONTINUE;
  EXPECT_TRUE(silent(play(junk, 2, &status)));
  EXPECT_EQ(status, CLAP_PROCESS_SLEEP);
  EXPECT_EQ(instance->save(), before);
}

TEST_F(ClapProcess, ProgramChangeLoadsTheProgramAndTellsTheHost) {
  ClapInputEvents change;
  change.midi(17, 0xC9, 4, 0);
  std::vector<float> left, right;
  instance->process(change, kBlock, left, right);
  for (clap_id id = 0; id < PARAMETER_COUNT; ++id) {
    EXPECT_EQ(instance->value(id), static_cast<double>(kFactoryPrograms[4].values[id])) << id;
  }
  EXPECT_EQ(host.rescans(), 0) << "nothing from the audio thread";
  EXPECT_GE(host.callbackRequests(), 1);
  EXPECT_TRUE(host.runCallback(instance->plugin));
  EXPECT_EQ(host.rescans(), 1);
  EXPECT_EQ(host.rescanFlags(), CLAP_PARAM_RESCAN_VALUES);
  EXPECT_EQ(host.dirtyMarks(), 1);
  EXPECT_FALSE(host.runCallback(instance->plugin)) << "one callback for what happened";
  // The edited value goes with the program it belongs to, as in the VST 2.4 build.
  ClapInputEvents edit;
  edit.parameter(0, 12, 0.8);
  edit.midi(1, 0xC0, 0, 0);
  edit.midi(2, 0xC0, 4, 0);
  instance->process(edit, kBlock, left, right);
  EXPECT_EQ(instance->value(12), static_cast<double>(0.8f));
}

TEST_F(ClapProcess, ResetSilencesAtOnceAndKeepsTheValues) {
  ClapInputEvents on;
  on.midi(0, 0x90, 60, 100);
  on.parameter(0, 12, 0.5);
  std::vector<float> left, right;
  EXPECT_EQ(instance->process(on, kBlock, left, right), CLAP_PROCESS_CONTINUE);
  instance->plugin->reset(instance->plugin);
  EXPECT_EQ(instance->process(ClapInputEvents(), kBlock, left, right), CLAP_PROCESS_SLEEP);
  EXPECT_TRUE(silent(left));
  EXPECT_EQ(instance->value(12), 0.5);
}

}  // namespace
}  // namespace claptest
