// Loads the module built alongside this test program and creates instances through its
// entry point, exactly as a host does: only the binary interface is used.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/loaded_module_test.h"

class ModuleTest : public LoadedModuleTest {
 protected:
  void SetUp() override {
    hostcallback::setVersionAnswer(hostcallback::kHostVersion);
    LoadedModuleTest::SetUp();
  }
  void TearDown() override {
    for (AEffect* effect : created) effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    created.clear();
    hostcallback::setVersionAnswer(hostcallback::kHostVersion);
  }

  AEffect* create() {
    AEffect* effect = module->instantiate(hostcallback::answer);
    if (effect != nullptr) created.push_back(effect);
    return effect;
  }
  // Hands an instance back to the test, which then closes it itself.
  void forget(AEffect* effect) {
    for (auto it = created.begin(); it != created.end(); ++it) {
      if (*it == effect) {
        created.erase(it);
        return;
      }
    }
  }

  static VstIntPtr dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                            void* ptr = nullptr, float opt = 0.0f) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
  }

  // Asks for a text with a buffer pre-filled with a marker byte, so that both the zero
  // fill up to the bound and anything written past it show.
  static std::vector<unsigned char> textFrom(AEffect* effect, VstInt32 opcode, VstInt32 index = 0,
                                             VstIntPtr value = 0, VstIntPtr* answer = nullptr) {
    std::vector<unsigned char> buffer(256, kMarker);
    const VstIntPtr result = dispatch(effect, opcode, index, value, buffer.data());
    if (answer != nullptr) *answer = result;
    return buffer;
  }

  // Expects `text`, zeros through index `bound`, and the marker after that.
  static void expectBoundedText(const std::vector<unsigned char>& buffer, const char* text, size_t bound) {
    const size_t length = std::strlen(text);
    ASSERT_LE(length, bound);
    EXPECT_EQ(0, std::memcmp(buffer.data(), text, length)) << "text";
    for (size_t i = length; i <= bound; ++i) EXPECT_EQ(buffer[i], 0) << "zero fill at " << i;
    for (size_t i = bound + 1; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], kMarker) << "written past bound at " << i;
  }

  static constexpr unsigned char kMarker = 0xA5;
  std::vector<AEffect*> created;
};
