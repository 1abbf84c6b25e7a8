// Loads the module built alongside these tests once and opens fresh instances of it
// through the host's own classes, so that the tests go exactly the host's way: entry
// point, AEffect record and dispatcher only.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tools/host/event_text.h"
#include "tests/support/loaded_module_test.h"
#include "tools/host/host_callback.h"
#include "tools/host/offline_renderer.h"
#include "tools/host/plugin_instance.h"
#include "tools/host/plugin_module.h"

// Both channels of a render, one vector each.
struct Rendered {
  std::vector<float> left;
  std::vector<float> right;
};

class HostModuleTest : public LoadedModuleTest {
 public:
  // Helpers, also for free functions of the tests.

  static std::unique_ptr<PluginInstance> open() {
    std::string error;
    std::unique_ptr<PluginInstance> instance = PluginInstance::create(*module, error);
    EXPECT_NE(instance, nullptr) << error;
    return instance;
  }

  static EventSequence events(const std::string& text) {
    EventSequence sequence;
    std::string error;
    EXPECT_TRUE(eventtext::parse(text, sequence, error)) << error;
    return sequence;
  }

  static Rendered render(PluginInstance& instance, const EventSequence& sequence,
                         const offlinerender::Settings& settings) {
    Rendered out;
    std::string error;
    const bool ok = offlinerender::render(
        instance, sequence, settings,
        [&out](const float* const* channels, std::int32_t frames, std::string&) {
          out.left.insert(out.left.end(), channels[0], channels[0] + frames);
          out.right.insert(out.right.end(), channels[1], channels[1] + frames);
          return true;
        },
        nullptr, error);
    EXPECT_TRUE(ok) << error;
    return out;
  }

  static offlinerender::Settings settings(std::int32_t rate, std::int32_t block, std::int64_t tailFrames) {
    offlinerender::Settings result;
    result.sampleRate = rate;
    result.blockSize = block;
    result.tailFrames = tailFrames;
    return result;
  }

  static std::int64_t firstNonZero(const std::vector<float>& samples) {
    for (std::size_t i = 0; i < samples.size(); ++i) {
      if (samples[i] != 0.0f) return static_cast<std::int64_t>(i);
    }
    return -1;
  }
};

