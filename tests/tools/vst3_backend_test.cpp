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

std::string identityText(HostedPlugin& plugin, const std::string& label) {
  for (const InfoLine& line : plugin.identity()) {
    if (line.label == label) return line.text;
  }
  return "";
}

TEST(Vst3Backend, TheBundleIsHostedAsVst3WithItsClass) {
  auto bundle = openByPath(QUINDLE_VST3_BUNDLE);
  ASSERT_NE(bundle, nullptr);
  EXPECT_EQ(bundle->format(), PluginFormat::kVst3);
  EXPECT_EQ(bundle->vst2Instance(), nullptr);
  EXPECT_EQ(identityText(*bundle, "name"), "Quindle");
  EXPECT_EQ(identityText(*bundle, "class ID"), "313AD1CA8CA451ABFD5F28A91212A113");
  EXPECT_EQ(identityText(*bundle, "sub-categories"), "Instrument|Synth");
  EXPECT_EQ(identityText(*bundle, "audio outputs"), "1 (2 channels)");
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
  std::string error;
  for (std::int32_t p = 0; p < bundle->programCount(); ++p) {
    EXPECT_EQ(bundle->programName(p), module->programName(p)) << "program " << p;
    ASSERT_TRUE(bundle->selectProgram(p, error)) << error;
    ASSERT_TRUE(module->selectProgram(p, error)) << error;
    EXPECT_EQ(bundle->currentProgram(), p);
    for (std::int32_t i = 0; i < bundle->parameterCount(); ++i) {
      EXPECT_EQ(bundle->parameterName(i), module->parameterName(i)) << "parameter " << i;
      EXPECT_EQ(bundle->parameter(i), module->parameter(i)) << "program " << p << ", parameter " << i;
    }
  }
  EXPECT_FALSE(bundle->selectProgram(8, error));
  EXPECT_NE(error.find("no program 8"), std::string::npos) << error;
}

TEST(Vst3Backend, ABundleThatDoesNotLoadIsRefusedWithItsReason) {
  std::string error;
  EXPECT_EQ(pluginformats::open("no-such-bundle.vst3", error), nullptr);
  EXPECT_NE(error.find("cannot load no-such-bundle.vst3/Contents/"), std::string::npos) << error;
}

}  // namespace
