// Parameters and state through their extensions: ids, names, range and defaults, value
// texts read back as written within their buffers, changes through flush, and the
// versioned state through streams of any piece size, refused whole when bad.
#include <cmath>
#include <cstring>
#include <limits>

#include "params/parameter_table.h"
#include "params/program_bank.h"
#include "tests/clap_plugin/clap_fixture.h"

namespace claptest {
namespace {

constexpr std::size_t kStateSize = 620;
constexpr std::size_t kFirstValueOffset = 12 + 24;  // header, then the first program's name

class ClapParameters : public ClapModuleTest {
 protected:
  void SetUp() override {
    ClapModuleTest::SetUp();
    instance = create(host);
    ASSERT_NE(instance, nullptr);
  }
  // params.flush with one value, as hosts call it while not processing.
  void flushValue(clap_id id, double value) {
    ClapInputEvents in;
    in.parameter(0, id, value);
    ClapOutputEvents out;
    instance->params->flush(instance->plugin, in.list(), out.list());
    EXPECT_TRUE(out.events.empty()) << "the host's own changes are not told back";
  }
  std::unique_ptr<Instance> instance;
};

TEST_F(ClapParameters, ThirteenWithStableIdsNamesRangeAndDefaults) {
  const clap_plugin_params_t* params = instance->params;
  ASSERT_EQ(params->count(instance->plugin), static_cast<uint32_t>(PARAMETER_COUNT));
  for (std::uint32_t index = 0; index < PARAMETER_COUNT; ++index) {
    clap_param_info_t info;
    ASSERT_TRUE(params->get_info(instance->plugin, index, &info));
    EXPECT_EQ(info.id, index);
    EXPECT_EQ(info.flags, CLAP_PARAM_IS_AUTOMATABLE);
    EXPECT_STREQ(info.name, parameterName(static_cast<std::int32_t>(index)));
    EXPECT_EQ(info.min_value, 0.0);
    EXPECT_EQ(info.max_value, 1.0);
    EXPECT_EQ(info.default_value, static_cast<double>(kFactoryPrograms[0].values[index]));
    EXPECT_EQ(instance->value(index), info.default_value) << "a new instance plays program 0";
  }
  clap_param_info_t info;
  double value = 0.0;
  EXPECT_FALSE(params->get_info(instance->plugin, PARAMETER_COUNT, &info));
  EXPECT_FALSE(params->get_value(instance->plugin, PARAMETER_COUNT, &value));
}

TEST_F(ClapParameters, TextsReadBackAsWrittenWithinTheirBuffers) {
  const clap_plugin_params_t* params = instance->params;
  const clap_plugin_t* plugin = instance->plugin;
  char text[64];
  for (clap_id id = 0; id < PARAMETER_COUNT; ++id) {
    for (double value : {0.0, 0.0105, 0.5, 0.77777, 1.0}) {
      ASSERT_TRUE(params->value_to_text(plugin, id, value, text, sizeof(text)));
      double parsed = -1.0;
      ASSERT_TRUE(params->text_to_value(plugin, id, text, &parsed)) << text;
      char again[64];
      ASSERT_TRUE(params->value_to_text(plugin, id, parsed, again, sizeof(again)));
      EXPECT_STREQ(again, text) << "id " << id << " value " << value;
    }
  }
  char small[6];
  std::memset(small, 'x', sizeof(small));
  ASSERT_TRUE(params->value_to_text(plugin, 7, 0.5, small, 4));
  EXPECT_STREQ(small, "0.5") << "cut to the buffer and terminated";
  EXPECT_EQ(small[4], 'x');
  EXPECT_FALSE(params->value_to_text(plugin, 7, 0.5, small, 0));
  EXPECT_FALSE(params->value_to_text(plugin, 7, std::nan(""), text, sizeof(text)));
  double parsed = 0.0;
  EXPECT_FALSE(params->text_to_value(plugin, 3, "loud", &parsed));
  EXPECT_FALSE(params->text_to_value(plugin, PARAMETER_COUNT, "0.5", &parsed));
}

TEST_F(ClapParameters, FlushAppliesChangesHeldToTheRange) {
  flushValue(5, 0.625);
  EXPECT_EQ(instance->value(5), 0.625);
  flushValue(5, 2.0);
  EXPECT_EQ(instance->value(5), 1.0);
  flushValue(5, -1.0);
  EXPECT_EQ(instance->value(5), 0.0);
  flushValue(5, std::numeric_limits<double>::infinity());
  flushValue(5, std::nan(""));
  EXPECT_EQ(instance->value(5), 0.0) << "values that are no numbers change nothing";
  // Notes in a flush have no block to sound in, now or later.
  ClapInputEvents notes;
  notes.note(CLAP_EVENT_NOTE_ON, 0, 60, 1.0);
  notes.midi(0, 0x90, 64, 100);
  instance->params->flush(instance->plugin, notes.list(), nullptr);
  ASSERT_TRUE(instance->activate());
  std::vector<float> left, right;
  EXPECT_EQ(instance->process(ClapInputEvents(), 512, left, right), CLAP_PROCESS_SLEEP);
  flushValue(9, 0.25);  // while active: the audio thread's flush
  EXPECT_EQ(instance->value(9), 0.25);
}

using ClapState = ClapParameters;

TEST_F(ClapState, SavedInAnyPiecesTheSameAndLoadedElsewhere) {
  flushValue(3, 0.75);
  ClapInputEvents program;
  program.midi(0, 0xC2, 6, 0);  // program 6, on channel 3
  ASSERT_TRUE(instance->activate());
  std::vector<float> left, right;
  instance->process(program, 64, left, right);
  flushValue(12, 0.125);
  const std::vector<std::uint8_t> whole = instance->save();
  ASSERT_EQ(whole.size(), kStateSize);
  EXPECT_EQ(instance->save(1), whole);
  MemoryOutStream failing(5, 100);
  EXPECT_FALSE(instance->state->save(instance->plugin, &failing.stream));

  ClapHost otherHost;
  auto other = create(otherHost);
  ASSERT_NE(other, nullptr);
  ASSERT_TRUE(other->load(whole, 3));
  EXPECT_EQ(other->value(12), 0.125);
  EXPECT_EQ(other->save(), whole) << "program, bank and names: save, load, save";
  EXPECT_TRUE(otherHost.runCallback(other->plugin));
  EXPECT_EQ(otherHost.rescanFlags(), CLAP_PARAM_RESCAN_VALUES);
  EXPECT_EQ(otherHost.dirtyMarks(), 0) << "the host loaded the state itself";
  other.reset();
}

TEST_F(ClapState, BadBlobsAreRefusedWithNothingChanged) {
  flushValue(2, 0.5);
  const std::vector<std::uint8_t> good = instance->save();
  flushValue(2, 0.25);
  const std::vector<std::uint8_t> before = instance->save();
  std::vector<std::vector<std::uint8_t>> bad(6, good);
  bad[0].pop_back();      // cut short
  bad[1].push_back(0);    // a byte too many
  bad[2][4] = 2;          // another version
  bad[3][0] = 'X';        // no state at all
  bad[4][8] = 8;          // no such program
  const float nan = std::numeric_limits<float>::quiet_NaN();
  std::memcpy(&bad[5][kFirstValueOffset], &nan, sizeof(nan));
  bad.emplace_back();     // empty
  for (const std::vector<std::uint8_t>& blob : bad) {
    EXPECT_FALSE(instance->load(blob, 5)) << blob.size();
    EXPECT_EQ(instance->save(), before);
  }
  MemoryInStream broken(good, 100, 300);
  EXPECT_FALSE(instance->state->load(instance->plugin, &broken.stream)) << "a read error";
  EXPECT_FALSE(instance->state->load(instance->plugin, nullptr));
  EXPECT_EQ(instance->value(2), 0.25);
  EXPECT_TRUE(instance->load(good, 1));
  EXPECT_EQ(instance->value(2), 0.5);
}

}  // namespace
}  // namespace claptest
