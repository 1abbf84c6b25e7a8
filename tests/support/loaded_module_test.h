// A test suite that loads the module built alongside the test program once, through its
// entry point only, as a host does. QUINDLE_MODULE_FILE names the module's file.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tools/host/host_callback.h"
#include "tools/host/plugin_module.h"

class LoadedModuleTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::string error;
    module = PluginModule::load(QUINDLE_MODULE_FILE, error).release();
    ASSERT_NE(module, nullptr) << error;
  }
  static void TearDownTestSuite() {
    delete module;
    module = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(module, nullptr);
    hostcallback::clear();
  }

  static PluginModule* module;
};

inline PluginModule* LoadedModuleTest::module = nullptr;
