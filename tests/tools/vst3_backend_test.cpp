// The VST 3 backend against the VST 2.4 module of the same build, both opened by path and
// driven through quindle-host's own code, on every target: the same MIDI, values,
// programs, rate and blocks give the same bits; the bundle names its parameters and
// programs as the module does.
#include <gtest/gtest.h>

#include <string>

#include "tests/tools/backend_cases.h"
#include "tools/host/plugin_formats.h"

namespace {

using namespace backend_cases;

TEST(Vst3Backend, TheBundleIsHostedAsVst3WithItsClass) {
  auto bundle = openByPath(QUINDLE_VST3_BUNDLE);
  ASSERT_NE(bundle, nullptr);
  EXPECT_EQ(bundle->format(), PluginFormat::kVst3);
  EXPECT_EQ(bundle->vst2Instance(), nullptr);
  EXPECT_EQ(identityLine(*bundle, "name"), "Quindle");
  EXPECT_EQ(identityLine(*bundle, "class ID"), "313AD1CA8CA451ABFD5F28A91212A113");
  EXPECT_EQ(identityLine(*bundle, "sub-categories"), "Instrument|Synth");
  EXPECT_EQ(identityLine(*bundle, "audio outputs"), "1 (2 channels)");
}

TEST(Vst3Backend, RendersTheSameBitsAsTheVst2Module) {
  expectEveryCaseAsTheModule(QUINDLE_VST3_BUNDLE, QUINDLE_MODULE_FILE);
}

TEST(Vst3Backend, ParametersAndProgramsMatchTheModulesByNameAndValue) {
  auto bundle = openByPath(QUINDLE_VST3_BUNDLE);
  auto module = openByPath(QUINDLE_MODULE_FILE);
  ASSERT_NE(bundle, nullptr);
  ASSERT_NE(module, nullptr);
  ASSERT_EQ(bundle->parameterCount(), 13);  // the selector and the MIDI parameters are no user parameters
  ASSERT_EQ(bundle->programCount(), 8);
  EXPECT_EQ(bundle->currentProgram(), 0);
  EXPECT_EQ(bundle->parameterDisplay(0), "off");
  EXPECT_EQ(bundle->parameterDisplay(10), "0.035 s");
  const std::string error = expectProgramsAsTheModule(*bundle, *module);
  EXPECT_NE(error.find("no program 8"), std::string::npos) << error;
}

TEST(Vst3Backend, ABundleThatDoesNotLoadIsRefusedWithItsReason) {
  std::string error;
  EXPECT_EQ(pluginformats::open("no-such-bundle.vst3", error), nullptr);
  EXPECT_NE(error.find("cannot load no-such-bundle.vst3/Contents/"), std::string::npos) << error;
}

}  // namespace
