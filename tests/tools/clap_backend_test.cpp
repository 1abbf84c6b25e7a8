// The CLAP backend against the VST 2.4 module of the same build, both opened by path and
// driven through quindle-host's own code: the same bits for the same MIDI, values, rate
// and blocks, also with changes between blocks; the plug-in's parameters and programs as
// the module's; files that hold no CLAP plug-in refused with their reason.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/tools/backend_cases.h"
#include "tools/host/plugin_formats.h"

namespace {

using backend_cases::identityLine;
using backend_cases::openByPath;

TEST(ClapBackend, TheFileIsHostedAsClapWithItsIdentity) {
  auto plugin = openByPath(QUINDLE_CLAP_FILE);
  ASSERT_NE(plugin, nullptr);
  EXPECT_EQ(plugin->format(), PluginFormat::kClap);
  EXPECT_EQ(plugin->vst2Instance(), nullptr);
  EXPECT_EQ(identityLine(*plugin, "name"), "Quindle");
  EXPECT_EQ(identityLine(*plugin, "id"), "com.velkor.quindle");
  EXPECT_EQ(identityLine(*plugin, "audio in:out"), "0:2");
  EXPECT_EQ(identityLine(*plugin, "note input"), "CLAP MIDI");
}

TEST(ClapBackend, RendersTheSameBitsAsTheVst2Module) {
  backend_cases::expectEveryCaseAsTheModule(QUINDLE_CLAP_FILE, QUINDLE_MODULE_FILE);
}

// Values and programs set while blocks are being processed take effect with the next one.
TEST(ClapBackend, ChangesBetweenBlocksSoundAsInTheVst2Module) {
  std::vector<std::vector<float>> outputs;
  for (const char* path : {QUINDLE_CLAP_FILE, QUINDLE_MODULE_FILE}) {
    auto plugin = openByPath(path);
    ASSERT_NE(plugin, nullptr);
    std::string error;
    ProcessSetup setup;
    setup.sampleRate = 48000;
    setup.maxBlockFrames = 500;
    setup.maxMessagesPerBlock = 2;
    ASSERT_TRUE(plugin->prepare(setup, error)) << error;
    MidiMessage chord[2];
    chord[0].size = chord[1].size = 3;
    chord[0].frame = 10;
    chord[1].frame = 250;
    const std::uint8_t first[] = {0x90, 60, 100};
    const std::uint8_t second[] = {0x90, 67, 80};
    std::copy(first, first + 3, chord[0].bytes);
    std::copy(second, second + 3, chord[1].bytes);
    std::vector<float> all, left(500), right(500);
    for (std::int32_t block = 0; block < 12; ++block) {
      if (block == 3) plugin->setParameter(5, 0.95f);
      if (block == 6) {
        ASSERT_TRUE(plugin->selectProgram(6, error)) << error;
        plugin->setParameter(12, 0.5f);
      }
      const bool notes = block == 0 || block == 7;
      ASSERT_TRUE(plugin->process(chord, notes ? 2 : 0, left.data(), right.data(), 500, error)) << error;
      EXPECT_EQ(left, right);
      all.insert(all.end(), left.begin(), left.end());
    }
    plugin->stop();
    EXPECT_EQ(plugin->parameter(12), 0.5f);
    outputs.push_back(all);
  }
  EXPECT_TRUE(outputs[0] == outputs[1]);
}

TEST(ClapBackend, ParametersAndProgramsMatchTheModules) {
  auto clap = openByPath(QUINDLE_CLAP_FILE);
  auto module = openByPath(QUINDLE_MODULE_FILE);
  ASSERT_NE(clap, nullptr);
  ASSERT_NE(module, nullptr);
  ASSERT_EQ(clap->parameterCount(), 13);
  EXPECT_EQ(clap->programCount(), 128) << "the MIDI program changes";
  EXPECT_EQ(clap->currentProgram(), -1);
  std::string error;
  for (std::int32_t p = 0; p < 8; ++p) {
    ASSERT_TRUE(clap->selectProgram(p, error)) << error;
    ASSERT_TRUE(module->selectProgram(p, error)) << error;
    for (std::int32_t i = 0; i < clap->parameterCount(); ++i) EXPECT_EQ(clap->parameter(i), module->parameter(i));
  }
  EXPECT_EQ(clap->currentProgram(), 7);
  clap->setParameter(3, 0.25f);
  EXPECT_EQ(clap->parameter(3), 0.25f) << "set at once while not processing";
  EXPECT_FALSE(clap->selectProgram(128, error));
}

TEST(ClapBackend, FilesWithoutAPlugInAreRefusedWithTheirReason) {
  std::string error;
  EXPECT_EQ(pluginformats::open("no-such-file.clap", error), nullptr);
  EXPECT_NE(error.find("cannot load"), std::string::npos) << error;
  // The VST 2.4 module under a CLAP name: a library without the entry record.
  const std::string impostor = "vst2-module-renamed.clap";
  std::filesystem::copy_file(QUINDLE_MODULE_FILE, impostor, std::filesystem::copy_options::overwrite_existing);
  EXPECT_EQ(pluginformats::open(impostor, error), nullptr);
  EXPECT_NE(error.find("exports no clap_entry"), std::string::npos) << error;
  std::filesystem::remove(impostor);
}

}  // namespace
