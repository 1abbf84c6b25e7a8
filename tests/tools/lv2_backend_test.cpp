// The LV2 backend against the VST 2.4 module of the same build, both opened by path and
// driven through quindle-host's own code: the same MIDI at the same offsets, the same
// parameter values, sample rate and block boundaries give the same bits; the bundle
// names its parameters and presets as the module names its parameters and programs.
#include <gtest/gtest.h>

#include <string>

#include "tests/tools/backend_cases.h"
#include "tools/host/plugin_formats.h"

namespace {

using namespace backend_cases;

TEST(Lv2Backend, TheBundleIsHostedAsLv2AndTheModuleAsVst2) {
  auto bundle = openByPath(QUINDLE_LV2_BUNDLE);
  auto module = openByPath(QUINDLE_MODULE_FILE);
  ASSERT_NE(bundle, nullptr);
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(bundle->format(), PluginFormat::kLv2);
  EXPECT_EQ(bundle->vst2Instance(), nullptr);
  EXPECT_EQ(module->format(), PluginFormat::kVst2);
}

TEST(Lv2Backend, RendersTheSameBitsAsTheVst2Module) {
  expectEveryCaseAsTheModule(QUINDLE_LV2_BUNDLE, QUINDLE_MODULE_FILE);
}

// A preset holds its program's values exactly, and the parameters and programs carry the
// module's names in the module's order.
TEST(Lv2Backend, ParametersAndPresetsMatchTheModulesByNameAndValue) {
  auto bundle = openByPath(QUINDLE_LV2_BUNDLE);
  auto module = openByPath(QUINDLE_MODULE_FILE);
  ASSERT_NE(bundle, nullptr);
  ASSERT_NE(module, nullptr);
  ASSERT_EQ(bundle->parameterCount(), 13);
  ASSERT_EQ(bundle->programCount(), 8);
  EXPECT_EQ(bundle->currentProgram(), -1);  // nothing applied yet
  for (std::int32_t i = 0; i < bundle->parameterCount(); ++i) {
    EXPECT_EQ(bundle->parameterName(i), module->parameterName(i)) << "parameter " << i;
    EXPECT_EQ(bundle->parameter(i), module->parameter(i)) << "start-up value of parameter " << i;
  }
  expectProgramsAsTheModule(*bundle, *module);
}

TEST(Lv2Backend, FormatsAreToldApartByPath) {
  EXPECT_EQ(pluginformats::detect("build/native/Quindle.lv2"), PluginFormat::kLv2);
  EXPECT_EQ(pluginformats::detect("Quindle.LV2/"), PluginFormat::kLv2);
  EXPECT_EQ(pluginformats::detect("Quindle.vst3"), PluginFormat::kVst3);
  EXPECT_EQ(pluginformats::detect("Quindle.clap"), PluginFormat::kClap);
  EXPECT_EQ(pluginformats::detect("Quindle.so"), PluginFormat::kVst2);
  EXPECT_EQ(pluginformats::detect("no-such-file-lv2"), PluginFormat::kVst2);
  EXPECT_EQ(pluginformats::detect("."), PluginFormat::kLv2);  // a folder without an extension
}

TEST(Lv2Backend, AFolderThatIsNoBundleIsRefusedWithItsReason) {
  std::string error;
  EXPECT_EQ(pluginformats::open(".", error), nullptr);
  EXPECT_NE(error.find("manifest.ttl"), std::string::npos) << error;
  EXPECT_EQ(pluginformats::open("no-such-bundle.lv2", error), nullptr);
  EXPECT_NE(error.find("no such folder"), std::string::npos) << error;
}

}  // namespace
