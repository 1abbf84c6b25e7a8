// The audio cycle as a host drives it: the process status follows the sound, 0-frame
// calls only apply their changes, outputs are written as far as the host gave them,
// a choke at its frame, a program change reaching the host's parameter view,
// and events the instrument cannot use changing nothing.
#include <algorithm>
#include <cmath>
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
  // `blocks` blocks with `events` in the first: the left channel of all (the right must
  // equal it), and the last status.
  std::vector<float> play(const ClapInputEvents& events, std::int32_t blocks, clap_process_status& last) {
    std::vector<float> all, left, right;
    const ClapInputEvents none;
    for (std::int32_t b = 0; b < blocks; ++b) {
      last = instance->process(b == 0 ? events : none, kBlock, left, right);
      EXPECT_EQ(left, right);
      all.insert(all.end(), left.begin(), left.end());
    }
    return all;
  }
  static bool silent(std::vector<float>::const_iterator from, std::vector<float>::const_iterator to) {
    return std::all_of(from, to, [](float sample) { return sample == 0.0f; });
  }
  std::unique_ptr<Instance> instance;
};

TEST_F(ClapProcess, SleepsWhileSilentAndContinuesWhileSounding) {
  clap_process_status status = CLAP_PROCESS_CONTINUE;
  std::vector<float> out = play(ClapInputEvents(), 1, status);
  EXPECT_EQ(status, CLAP_PROCESS_SLEEP);
  EXPECT_TRUE(silent(out.begin(), out.end())) << "every frame written, with exact zeros";
  ClapInputEvents note;
  note.note(CLAP_EVENT_NOTE_ON, 100, 57, 0.8);
  note.note(CLAP_EVENT_NOTE_OFF, 200, 57, 0.0);
  out = play(note, 1, status);
  EXPECT_EQ(status, CLAP_PROCESS_CONTINUE);
  EXPECT_FALSE(silent(out.begin(), out.end()));
  // Program 0 releases in well under a second; asleep, nothing more is to be heard.
  for (std::int32_t b = 0; b < 400 && status == CLAP_PROCESS_CONTINUE; ++b) play(ClapInputEvents(), 1, status);
  EXPECT_EQ(status, CLAP_PROCESS_SLEEP);
  out = play(ClapInputEvents(), 1, status);
  EXPECT_TRUE(silent(out.begin(), out.end()));
}

TEST_F(ClapProcess, ZeroFramesAndMissingBuffersAreServedAsFarAsTheyGo) {
  ClapInputEvents change;
  change.parameter(0, 6, 0.375);
  change.midi(0, 0x90, 60, 100);
  std::vector<float> left, right;
  EXPECT_EQ(instance->process(change, 0, left, right), CLAP_PROCESS_CONTINUE) << "the note waits for a block";
  EXPECT_EQ(instance->value(6), 0.375);
  std::vector<float> only(kBlock, 7.0f);
  float* channels[] = {nullptr, only.data()};
  clap_audio_buffer_t port = {channels, nullptr, 2, 0, 0};
  clap_process_t block = {};
  block.frames_count = kBlock;
  block.audio_outputs = &port;
  block.audio_outputs_count = 1;
  EXPECT_EQ(instance->plugin->process(instance->plugin, &block), CLAP_PROCESS_CONTINUE);
  EXPECT_FALSE(silent(only.begin(), only.end())) << "the one channel given takes the sound";
  EXPECT_NE(only[0], 7.0f);
  port.data32 = nullptr;
  EXPECT_EQ(instance->plugin->process(instance->plugin, &block), CLAP_PROCESS_CONTINUE);
  block.audio_outputs_count = 0;
  EXPECT_EQ(instance->plugin->process(instance->plugin, &block), CLAP_PROCESS_CONTINUE);
  EXPECT_EQ(instance->plugin->process(instance->plugin, nullptr), CLAP_PROCESS_ERROR);
}

TEST_F(ClapProcess, AChokeOfEveryNoteSilencesFromItsFrameOn) {
  ClapInputEvents choke;
  choke.note(CLAP_EVENT_NOTE_ON, 0, 62, 1.0);
  choke.note(CLAP_EVENT_NOTE_CHOKE, 100, -1, 0.0, -1, -1);
  clap_process_status status;
  const std::vector<float> choked = play(choke, 2, status);
  EXPECT_FALSE(silent(choked.begin(), choked.begin() + 100));
  EXPECT_TRUE(silent(choked.begin() + 100, choked.end()));
  EXPECT_EQ(status, CLAP_PROCESS_SLEEP);
}

TEST_F(ClapProcess, EventsTheInstrumentCannotUseChangeNothing) {
  ClapInputEvents junk;
  clap_event_note_t note = {};
  note.key = 60;
  note.velocity = 1.0;
  for (const clap_event_header_t& header : {clap_event_header_t{sizeof(note), 0, 1, CLAP_EVENT_NOTE_ON, 0},
                                            clap_event_header_t{sizeof(note) - 8, 0, 0, CLAP_EVENT_NOTE_ON, 0},
                                            clap_event_header_t{sizeof(note), 0, 0, 99, 0},
                                            clap_event_header_t{sizeof(note), 0, 0, CLAP_EVENT_PARAM_MOD, 0}}) {
    note.header = header;  // another space, too short, no such type, modulation
    junk.raw(note.header);
  }
  junk.note(CLAP_EVENT_NOTE_ON, 0, 60, 1.0, -1, 0, 1);  // another port
  junk.note(CLAP_EVENT_NOTE_ON, 0, 200, 1.0);
  junk.note(CLAP_EVENT_NOTE_ON, 0, 60, std::nan(""));
  junk.midi(0, 0x90, 60, 100, 1);  // MIDI on another port
  junk.midi(0, 0xC0, 8, 0);        // no such program
  junk.parameter(0, 13, 0.5);
  junk.parameter(0, CLAP_INVALID_ID, 0.5);
  junk.parameter(0, 4, std::numeric_limits<double>::infinity());
  const std::vector<std::uint8_t> before = instance->save();
  clap_process_status status;
  const std::vector<float> out = play(junk, 2, status);
  EXPECT_TRUE(silent(out.begin(), out.end()));
  EXPECT_EQ(status, CLAP_PROCESS_SLEEP);
  EXPECT_EQ(instance->save(), before);
}

TEST_F(ClapProcess, ProgramChangeLoadsTheProgramAndTellsTheHostOnTheMainThread) {
  ClapInputEvents change;
  change.parameter(0, 12, 0.8);  // an edit of program 0, kept with it
  change.midi(17, 0xC9, 4, 0);
  clap_process_status status;
  play(change, 1, status);
  for (clap_id id = 0; id < PARAMETER_COUNT; ++id) {
    EXPECT_EQ(instance->value(id), static_cast<double>(kFactoryPrograms[4].values[id])) << id;
  }
  EXPECT_EQ(host.rescans(), 0) << "nothing from the audio thread";
  EXPECT_TRUE(host.runCallback(instance->plugin));
  EXPECT_EQ(host.rescans(), 1);
  EXPECT_EQ(host.rescanFlags(), CLAP_PARAM_RESCAN_VALUES);
  EXPECT_EQ(host.dirtyMarks(), 1);
  EXPECT_FALSE(host.runCallback(instance->plugin)) << "one callback for what happened";
  ClapInputEvents back;
  back.midi(0, 0xC0, 0, 0);
  play(back, 1, status);
  EXPECT_EQ(instance->value(12), static_cast<double>(0.8f));
}

TEST_F(ClapProcess, ResetSilencesAtOnceAndKeepsTheValues) {
  ClapInputEvents on;
  on.midi(0, 0x90, 60, 100);
  on.parameter(0, 12, 0.5);
  clap_process_status status;
  play(on, 1, status);
  instance->plugin->reset(instance->plugin);
  const std::vector<float> after = play(ClapInputEvents(), 1, status);
  EXPECT_EQ(status, CLAP_PROCESS_SLEEP);
  EXPECT_TRUE(silent(after.begin(), after.end()));
  EXPECT_EQ(instance->value(12), 0.5);
}

}  // namespace
}  // namespace claptest
