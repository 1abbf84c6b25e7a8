// The component state through the interfaces: blocks of the wrong size or version, cut
// short, naming no program or holding a value that is not a finite number are refused
// with nothing changed; streams that move a few bytes per call work.
#include <cstring>
#include <limits>

#include "params/program_bank.h"
#include "tests/vst3_plugin/bundle_fixture.h"

namespace {

using namespace vst3;

constexpr std::size_t kVersionAt = 4;
constexpr std::size_t kProgramAt = 8;
constexpr std::size_t kBankAt = 12;

class Vst3State : public BundleTest {
 protected:
  void SetUp() override {
    BundleTest::SetUp();
    instance = makeInstance();
    ASSERT_NE(instance, nullptr);
    instance->setParameter(13, 4 / 7.0);
    instance->setParameter(PARAM_TONE_LEVEL, 0.625);
    instance->setParameter(PARAM_VOLUME, 0.125);
    std::string error;
    ASSERT_TRUE(instance->process(nullptr, nullptr, 0, error)) << error;  // a flush takes them
    ASSERT_TRUE(instance->saveState(saved, controllerState));
    ASSERT_EQ(saved.size(), 620u);
  }
  std::vector<std::uint8_t> currentState() {
    std::vector<std::uint8_t> state, ignored;
    EXPECT_TRUE(instance->saveState(state, ignored));
    return state;
  }

  std::unique_ptr<Vst3Instance> instance;
  std::vector<std::uint8_t> saved;
  std::vector<std::uint8_t> controllerState;
};

TEST_F(Vst3State, RefusedBlocksChangeNothing) {
  EXPECT_EQ(saved[kProgramAt], 4);
  EXPECT_TRUE(controllerState.empty());
  const auto with = [&](std::size_t at, std::uint8_t value) {
    std::vector<std::uint8_t> changed = saved;
    changed[at] = value;
    return changed;
  };
  std::vector<std::uint8_t> notFinite = saved;
  const float nan = std::numeric_limits<float>::quiet_NaN();
  std::memcpy(notFinite.data() + kBankAt + 3 * kProgramRecordSize + kProgramNameSize + 8, &nan, sizeof nan);
  std::vector<std::uint8_t> infinite = saved;
  const float inf = std::numeric_limits<float>::infinity();
  std::memcpy(infinite.data() + kBankAt + kProgramNameSize, &inf, sizeof inf);
  const std::vector<std::vector<std::uint8_t>> refused = {
      {},
      std::vector<std::uint8_t>(saved.begin(), saved.end() - 1),
      std::vector<std::uint8_t>(saved.begin(), saved.begin() + 300),
      [&] { auto longer = saved; longer.push_back(0); return longer; }(),
      with(0, 'X'),            // magic
      with(kVersionAt, 2),     // a later version
      with(kProgramAt, 8),     // no such program
      notFinite,
      infinite,
  };
  for (std::size_t i = 0; i < refused.size(); ++i) {
    vst3host::MemoryStream component(refused[i]);
    EXPECT_EQ(instance->component().setState(&component), kResultFalse) << "case " << i;
    vst3host::MemoryStream controller(refused[i]);
    EXPECT_EQ(instance->controller().setComponentState(&controller), kResultFalse) << "case " << i;
    ASSERT_EQ(currentState(), saved) << "case " << i;
    EXPECT_EQ(instance->controller().getParamNormalized(PARAM_TONE_LEVEL), 0.625);
  }
  EXPECT_EQ(instance->component().setState(nullptr), kInvalidArgument);
  EXPECT_EQ(instance->component().getState(nullptr), kInvalidArgument);
}

TEST_F(Vst3State, LoadingRestoresProgramValuesAndNamesWhateverTheStreamsPace) {
  std::vector<std::uint8_t> renamed = saved;
  std::memcpy(renamed.data() + kBankAt + kProgramRecordSize, "Night", 6);  // program 1's name
  auto other = makeInstance();
  ASSERT_NE(other, nullptr);
  vst3host::MemoryStream slow(renamed);
  slow.setChunkLimit(5);
  ASSERT_EQ(other->component().setState(&slow), kResultOk);
  EXPECT_EQ(other->controller().getParamNormalized(13), 4 / 7.0);
  EXPECT_EQ(other->controller().getParamNormalized(PARAM_VOLUME), 0.125);
  String128 name{};
  ASSERT_EQ(other->unitInfo()->getProgramName(1, 1, name), kResultOk);
  EXPECT_EQ(textOf(name), "Night");

  vst3host::MemoryStream written;
  written.setChunkLimit(7);
  ASSERT_EQ(other->component().getState(&written), kResultOk);
  EXPECT_EQ(written.contents(), renamed);
  // The same state twice, as hosts hand it to both interfaces, is the same state.
  written.rewind();
  ASSERT_EQ(other->controller().setComponentState(&written), kResultOk);
  vst3host::MemoryStream again;
  ASSERT_EQ(other->component().getState(&again), kResultOk);
  EXPECT_EQ(again.contents(), renamed);
  vst3host::MemoryStream anything(std::vector<std::uint8_t>{1, 2, 3});
  EXPECT_EQ(other->controller().setState(&anything), kResultOk);
}

}  // namespace
