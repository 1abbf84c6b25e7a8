// Loads the VST 3 bundle built alongside the test program once per suite, through its
// exported entry points only, and makes instances of its class as a host does.
// QUINDLE_VST3_BUNDLE names the bundle folder, relative to the build directory.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tools/host/vst3_instance.h"
#include "tools/host/vst3_module.h"

class BundleTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string error;
    module = Vst3Module::load(QUINDLE_VST3_BUNDLE, error).release();
    ASSERT_NE(module, nullptr) << error;
  }
  static void TearDownTestSuite() {
    delete module;
    module = nullptr;
  }
  void SetUp() override { ASSERT_NE(module, nullptr); }

  std::unique_ptr<Vst3Instance> makeInstance() {
    std::string error;
    std::unique_ptr<Vst3Instance> instance = Vst3Instance::create(*module, error);
    EXPECT_NE(instance, nullptr) << error;
    return instance;
  }

  static Vst3Module* module;
};

inline Vst3Module* BundleTest::module = nullptr;

// The text of a String128 (ASCII).
inline std::string textOf(const vst3::TChar* text) {
  std::string out;
  for (int i = 0; i < vst3::kString128Length && text[i] != 0; ++i) out += static_cast<char>(text[i]);
  return out;
}
