// Parameters and state through their extensions: the thirteen parameters with their ids,
// names, range and defaults, value texts read back as written, changes through flush,
// and the versioned state through streams of any piece size, refused whole when bad.
#include <cmath>
#include <cstring>
#include <limits>

#include "params/parameter_table.h"
#include "params/program_bank.h"
#include "tests/clap_plugin/clap_fixture.h"

namespace claptest {
namespace {

constexpr std::size_t kStateSize = 620;
constexpr std::size_t kBankOffset = 12;

class ClapParameters : public ClapModuleTest {
 protected:
  void SetUp() override {
    ClapModuleTest::SetUp();
    instance = create(host);
    ASSERT_NE(instance, nullptr);
  }
  // params.flush with one parameter value, as hosts call it while not processing.
  void flushValue(clap_id id, double value, ClapOutputEvents* out = nullptr) {
    ClapInputEvents in;
    in.parameter(0, id, value);
    ClapOutputEvents ignored;
    instance->params->flush(instance->plugin, in.list(), (out != nullptr ? out : &ignored)->list());
  }
  std::unique_ptr<Instance> instance;
};

TEST_F(ClapParameters, ThirteenWithStableIdsNamesRangeAndDefaults) {
  const clap_plugin_params_t* params = instance->params;
  ASSERT_EQ(params->count(instance->plugin), static_cast<uint32_t>(PARAMETER_COUNT));
  for (std::uint32_t index = 0; index < PARAMETER_COUNT; ++index) {
    clap_param_info_t info;
    std::memset(&info, 0xA5, sizeof(info));
    ASSERT_TRUE(params->get_info(instance->plugin, index, &info));
    EXPECT_EQ(info.id, index);
    EXPECT_EQ(info.flags, CLAP_PARAM_IS_AUTOMATABLE);
    EXPECT_EQ(info.cookie, nullptr);
    EXPECT_STREQ(info.name, parameterName(static_cast<std::int32_t>(index)));
    EXPECT_STREQ(info.module, "");
    EXPECT_EQ(info.min_value, 0.0);
    EXPECT_EQ(info.max_value, 1.0);
    EXPECT_EQ(info.default_value, static_cast<double>(kFactoryPrograms[0].values[index]));
    EXPECT_EQ(instance->value(index), info.default_value) << "a new instance plays program 0";
  }
  clap_param_info_t info;
  EXPECT_FALSE(params->get_info(instance->plugin, PARAMETER_COUNT, &info));
  EXPECT_FALSE(params->get_info(instance->plugin, 0, nullptr));
  double value = 0.0;
  EXPECT_FALSE(params->get_value(instance->plugin, PARAMETER_COUNT, &value));
  EXPECT_FALSE(params->get_value(instance->plugin, 0, nullptr));
}

TEST_F(ClapParameters, TextsReadBackAsWrittenWithinTheirCapacity) {
  const clap_plugin_params_t* params = instance->params;
  char text[64];
  ASSERT_TRUE(params->value_to_text(instance->plugin, 0, 0.25, text, sizeof(text)));
  EXPECT_STREQ(text, "on");
  ASSERT_TRUE(params->value_to_text(instance->plugin, 7, 0.14, text, sizeof(text)));
  EXPECT_STREQ(text, "0.140 s");
  ASSERT_TRUE(params->value_to_text(instance->plugin, 12, 0.375, text, sizeof(text)));
  EXPECT_STREQ(text, "0.375");
  for (clap_id id = 0; id < PARAMETER_COUNT; ++id) {
    for (double value : {0.0, 0.0105, 0.5, 0.77777, 1.0}) {
      ASSERT_TRUE(params->value_to_text(instance->plugin, id, value, text, sizeof(text)));
      double parsed = -1.0;
      ASSERT_TRUE(params->text_to_value(instance->plugin, id, text, &parsed)) << text;
      char again[64];
      ASSERT_TRUE(params->value_to_text(instance->plugin, id, parsed, again, sizeof(again)));
      EXPECT_STREQ(again, text) << "id " << id << " value " << value;
    }
  }
  // A small buffer is filled to its end and terminated, never past it.
  char small[6];
  std::memset(small, 'x', sizeof(small));
  ASSERT_TRUE(params->value_to_text(instance->plugin, 7, 0.5, small, 4));
  EXPECT_STREQ(small, "0.5");
  EXPECT_EQ(small[4], 'x');
  EXPECT_FALSE(params->value_to_text(instance->plugin, 7, 0.5, small, 0));
  EXPECT_FALSE(params->value_to_text(instance->plugin, 7, std::nan(""), text, sizeof(text)));
  EXPECT_FALSE(params->value_to_text(instance->plugin, PARAMETER_COUNT, 0.5, text, sizeof(text)));
  double parsed = 0.0;
  EXPECT_FALSE(params->text_to_value(instance->plugin, 3, "loud", &parsed));
  EXPECT_FALSE(params->text_to_value(instance->plugin, 3, nullptr, &parsed));
  EXPECT_FALSE(params->text_to_value(instance->plugin, 3, "0.5", nullptr));
  EXPECT_FALSE(params->text_to_value(instance->plugin, PARAMETER_COUNT, "0.5", &parsed));
}

TEST_F(ClapParameters, FlushAppliesChangesOutsideProcessing) {
  flushValue(5, 0.625);
  EXPECT_EQ(instance->value(5), 0.625);
  flushValue(5, 2.0);
  EXPECT_EQ(instance->value(5), 1.0) << "held to the declared range";
  flushValue(5, -1.0);
  EXPECT_EQ(instance->value(5), 0.0);
  flushValue(5, std::numeric_limits<double>::infinity());
  flushValue(5, std::nan(""));
  flushValue(PARAMETER_COUNT, 0.5);
  EXPECT_EQ(instance->value(5), 0.0) << "not numbers and unknown ids change nothing";
  // Notes in a flush have no block to sound in: nothing plays later either.
  ClapInputEvents notes;
  notes.note(CLAP_EVENT_NOTE_ON, 0, 60, 1.0);
  notes.midi(0, 0x90, 64, 100);
  ClapOutputEvents out;
  instance->params->flush(instance->plugin, notes.list(), out.list());
  EXPECT_TRUE(out.events.empty());
  ASSERT_TRUE(instance->activate());
  std::vector<float> left, right;
  EXPECT_EQ(instance->process(ClapInputEvents(), 512, left, right), CLAP_PROCESS_SLEEP);
  for (float sample : left) ASSERT_EQ(sample, 0.0f);
  // While active the host's flush comes on the audio thread; the same changes apply.
  flushValue(9, 0.25);
  EXPECT_EQ(instance->value(9), 0.25);
  // The editor's changes only are told back, never the host's own.
  EXPECT_EQ(host.rescans(), 0);
}

class ClapState : public ClapParameters {};

TEST_F(ClapState, SavedInAnyPiecesTheSameRepeatably) {
  flushValue(1, 0.5);
  const std::vector<std::uint8_t> whole = instance->save();
  ASSERT_EQ(whole.size(), kStateSize);
  EXPECT_EQ(std::memcmp(whole.data(), "QNDS", 4), 0);
  for (std::size_t piece : {1u, 3u, 5u, 619u}) EXPECT_EQ(instance->save(piece), whole) << piece;
  ASSERT_TRUE(instance->load(whole, 7));
  EXPECT_EQ(instance->save(), whole) << "save, load, save gives the same bytes";
  MemoryOutStream failing(5, 100);
  EXPECT_FALSE(instance->state->save(instance->plugin, &failing.stream));
  EXPECT_FALSE(instance->state->save(instance->plugin, nullptr));
}

TEST_F(ClapState, LoadsIntoAnotherInstanceInPieces) {
  flushValue(3, 0.75);
  ClapInputEvents program;
  program.midi(0, 0xC2, 6, 0);  // program change on channel 3: program 6
  ASSERT_TRUE(instance->activate());
  std::vector<float> left, right;
  instance->process(program, 64, left, right);
  flushValue(12, 0.125);
  const std::vector<std::uint8_t> saved = instance->save();

  ClapHost otherHost;
  auto other = create(otherHost);
  ASSERT_NE(other, nullptr);
  ASSERT_TRUE(other->load(saved, 3));
  for (clap_id id = 0; id < PARAMETER_COUNT; ++id) EXPECT_EQ(other->value(id), instance->value(id)) << id;
  EXPECT_EQ(other->value(12), 0.125);
  EXPECT_EQ(other->save(), saved) << "program, bank and names";
  EXPECT_TRUE(otherHost.runCallback(other->plugin));
  EXPECT_EQ(otherHost.rescans(), 1);
  EXPECT_EQ(otherHost.rescanFlags(), CLAP_PARAM_RESCAN_VALUES);
  EXPECT_EQ(otherHost.dirtyMarks(), 0) << "the host loaded the state itself";
}

TEST_F(ClapState, BadBlobsAreRefusedWithNothingChanged) {
  flushValue(2, 0.5);
  const std::vector<std::uint8_t> good = instance->save();
  flushValue(2, 0.25);
  const std::vector<std::uint8_t> before = instance->save();

  std::vector<std::vector<std::uint8_t>> bad;
  bad.emplace_back(good.begin(), good.end() - 1);  // truncated
  bad.push_back(good);
  bad.back().push_back(0);  // one byte too many
  bad.push_back(good);
  bad.back()[4] = 2;  // another version
  bad.push_back(good);
  bad.back()[0] = 'X';  // not a state at all
  bad.push_back(good);
  bad.back()[8] = 8;  // no such program
  bad.push_back(good);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  std::memcpy(&bad.back()[kBankOffset + 24], &nan, sizeof(nan));  // a value that is no number
  bad.emplace_back();  // empty
  for (const std::vector<std::uint8_t>& blob : bad) {
    EXPECT_FALSE(instance->load(blob, 5)) << blob.size();
    EXPECT_EQ(instance->save(), before);
  }
  MemoryInStream broken(good, 100, 300);
  EXPECT_FALSE(instance->state->load(instance->plugin, &broken.stream)) << "a read error";
  EXPECT_FALSE(instance->state->load(instance->plugin, nullptr));
  EXPECT_EQ(instance->save(), before);
  EXPECT_EQ(instance->value(2), 0.25);
  EXPECT_TRUE(instance->load(good, 1));
  EXPECT_EQ(instance->value(2), 0.5);
}

}  // namespace
}  // namespace claptest
