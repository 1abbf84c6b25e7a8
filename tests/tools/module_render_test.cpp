// Rendering through the built module: where notes land, what reaches the two channels,
// and that the host's program and preset choices reach the sound.
#include <algorithm>
#include <cmath>
#include <string>

#include "tests/tools/host_module_fixture.h"
#include "tools/host/host_session.h"
#include "tools/host/midi_file.h"

namespace {

constexpr std::int32_t kRate = 44100;

const char* const kChord =
    "0.1 on 60 100\n"
    "0.1 on 64 90\n"
    "0.1 on 67 80\n"
    "0.3 bend 12000\n"
    "0.5 off 60\n0.5 off 64\n0.5 off 67\n";

TEST_F(HostModuleTest, AShortSequenceRendersToTheLastEventPlusTheTail) {
  auto instance = open();
  ASSERT_NE(instance, nullptr);
  const Rendered out = render(*instance, events(kChord), settings(kRate, 512, 11025));
  ASSERT_EQ(out.left.size(), static_cast<std::size_t>(kRate / 2 + 11025));
  float peak = 0.0f;
  for (float sample : out.left) peak = std::max(peak, std::fabs(sample));
  EXPECT_GT(peak, 0.01f);
  // The module asked for MIDI when processing was switched on.
  EXPECT_GE(hostcallback::countOf(audioMasterWantMidi), 1u);
}

// The first sound is at the note's exact sample, wherever that falls in the blocks: at a
// block start, inside a block, at the last sample of a block.
TEST_F(HostModuleTest, TheFirstSoundIsAtTheNotesExactSample) {
  const struct {
    const char* time;
    std::int32_t rate;
    std::int32_t block;
    std::int64_t sample;
  } cases[] = {
      {"0.5", 44100, 1024, 22050},  {"0.5", 44100, 64, 22050},    {"0.5", 48000, 1000, 24000},
      {"0.021", 48000, 1000, 1008}, {"0.0125", 96000, 4096, 1200}, {"0.02", 44100, 32, 882},
      {"1", 44100, 1, 44100},       {"0.000022675", 44100, 32, 1}, {"0", 96000, 4096, 0},
  };
  for (const auto& c : cases) {
    auto instance = open();
    ASSERT_NE(instance, nullptr);
    const Rendered out =
        render(*instance, events(std::string(c.time) + " on 69 127\n"), settings(c.rate, c.block, c.rate / 10));
    EXPECT_EQ(firstNonZero(out.left), c.sample) << c.time << " s at " << c.rate << " Hz, block " << c.block;
  }
}

TEST_F(HostModuleTest, TheSecondChannelEqualsTheFirst) {
  auto instance = open();
  ASSERT_NE(instance, nullptr);
  const Rendered out = render(*instance, events(kChord), settings(48000, 1000, 4800));
  ASSERT_EQ(out.left.size(), out.right.size());
  ASSERT_GT(firstNonZero(out.left), 0);
  for (std::size_t i = 0; i < out.left.size(); ++i) ASSERT_EQ(out.left[i], out.right[i]) << "sample " << i;
}

// A MIDI file goes the same way: its note lands where its tempo map puts it.
TEST_F(HostModuleTest, AMidiFileNoteLandsAtItsTempoMappedSample) {
  // 96 ticks per quarter, 100 beats per minute (600000 us per quarter); note at tick 48:
  // 0.3 s, sample 13230.
  const std::vector<std::uint8_t> file = {
      'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96,
      'M', 'T', 'r', 'k', 0, 0, 0, 19,
      0x00, 0xFF, 0x51, 0x03, 0x09, 0x27, 0xC0,
      0x30, 0x90, 60, 100,
      0x60, 0x80, 60, 0,
      0x00, 0xFF, 0x2F, 0x00};
  EventSequence sequence;
  std::string error;
  ASSERT_TRUE(midifile::parse(file.data(), file.size(), sequence, error)) << error;
  auto instance = open();
  ASSERT_NE(instance, nullptr);
  const Rendered out = render(*instance, sequence, settings(kRate, 256, 0));
  EXPECT_EQ(out.left.size(), static_cast<std::size_t>(kRate * 9 / 10));  // the note-off at 0.9 s
  EXPECT_EQ(firstNonZero(out.left), 13230);
}

Rendered renderWith(const InstanceSetup& setup, const char* sequence, bool& applied) {
  auto instance = HostModuleTest::open();
  Rendered out;
  std::string error;
  applied = instance != nullptr && hostsession::applySetup(*instance, setup, error);
  EXPECT_TRUE(applied) << error;
  if (applied) {
    out = HostModuleTest::render(*instance, HostModuleTest::events(sequence),
                                 HostModuleTest::settings(kRate, 1024, 4410));
  }
  return out;
}

TEST_F(HostModuleTest, TheProgramChoiceReachesTheSound) {
  InstanceSetup programZero;
  programZero.selectsProgram = true;
  programZero.program = 0;
  InstanceSetup programThree = programZero;
  programThree.program = 3;
  bool applied = false;
  const Rendered zero = renderWith(programZero, kChord, applied);
  ASSERT_TRUE(applied);
  const Rendered three = renderWith(programThree, kChord, applied);
  ASSERT_TRUE(applied);
  const Rendered byDefault = renderWith(InstanceSetup(), kChord, applied);
  ASSERT_TRUE(applied);
  EXPECT_NE(zero.left, three.left);
  EXPECT_EQ(zero.left, byDefault.left);  // program 0 is current from the start
}

TEST_F(HostModuleTest, AParameterEditReachesTheSound) {
  InstanceSetup edited;
  edited.parameterValues = {{12, 0.9f}};  // volume
  bool applied = false;
  const Rendered louder = renderWith(edited, kChord, applied);
  ASSERT_TRUE(applied);
  const Rendered plain = renderWith(InstanceSetup(), kChord, applied);
  ASSERT_TRUE(applied);
  EXPECT_NE(louder.left, plain.left);
}

TEST_F(HostModuleTest, ProgramsAndParametersOutsideTheModuleAreRefusedBeforeAnyChange) {
  auto instance = open();
  ASSERT_NE(instance, nullptr);
  InstanceSetup badProgram;
  badProgram.selectsProgram = true;
  badProgram.program = 8;
  std::string error;
  EXPECT_FALSE(hostsession::applySetup(*instance, badProgram, error));
  EXPECT_NE(error.find("program 8"), std::string::npos) << error;
  InstanceSetup badParameter;
  badParameter.selectsProgram = true;
  badParameter.program = 2;
  badParameter.parameterValues = {{13, 0.5f}};
  EXPECT_FALSE(hostsession::applySetup(*instance, badParameter, error));
  EXPECT_NE(error.find("parameter 13"), std::string::npos) << error;
  EXPECT_EQ(instance->currentProgram(), 0);
}

TEST_F(HostModuleTest, SettingsOutsideTheLimitsAreRefused) {
  auto instance = open();
  ASSERT_NE(instance, nullptr);
  std::string error;
  const auto sink = [](const float* const*, std::int32_t, std::string&) { return true; };
  EXPECT_FALSE(offlinerender::render(*instance, events(kChord), settings(100, 64, 0), sink, nullptr, error));
  EXPECT_NE(error.find("sample rate"), std::string::npos);
  EXPECT_FALSE(offlinerender::render(*instance, events(kChord), settings(kRate, 0, 0), sink, nullptr, error));
  EXPECT_NE(error.find("block size"), std::string::npos);
}

TEST_F(HostModuleTest, ASinkFailureStopsTheRender) {
  auto instance = open();
  ASSERT_NE(instance, nullptr);
  int blocks = 0;
  std::string error;
  const bool ok = offlinerender::render(
      *instance, events(kChord), settings(kRate, 64, 0),
      [&blocks](const float* const*, std::int32_t, std::string& sinkError) {
        sinkError = "disk full";
        return ++blocks < 3;
      },
      nullptr, error);
  EXPECT_FALSE(ok);
  EXPECT_EQ(blocks, 3);
  EXPECT_EQ(error, "disk full");
}

}  // namespace
