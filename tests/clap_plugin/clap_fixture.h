// A small CLAP host for the plug-in's tests: the module built alongside (Quindle.clap)
// loaded once per suite as hosts load it, instances made through its factory and driven
// through their record, their extensions, event lists and streams only.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "clap/abi/clap.h"
#include "tests/clap_plugin/memory_streams.h"
#include "tools/host/clap_events.h"
#include "tools/host/clap_host.h"
#include "tools/host/clap_module.h"

namespace claptest {

constexpr const char* kPluginId = "com.velkor.quindle";
constexpr double kRate = 44100.0;
constexpr std::uint32_t kMaxFrames = 4096;

// One instance, created and initialised; destroyed (deactivated first) at the end.
class Instance {
 public:
  Instance(const ClapModule& module, ClapHost& host);
  ~Instance();
  Instance(const Instance&) = delete;
  Instance& operator=(const Instance&) = delete;

  bool valid() const { return plugin != nullptr; }
  bool activate(double rate = kRate);
  void deactivate();
  // One block of `frames` into left and right (resized, pre-filled with a marker).
  clap_process_status process(const ClapInputEvents& in, std::uint32_t frames, std::vector<float>& left,
                              std::vector<float>& right, ClapOutputEvents* out = nullptr);
  double value(clap_id id) const;
  // The state as saved through a stream that takes at most `piece` bytes per call.
  std::vector<std::uint8_t> save(std::size_t piece = SIZE_MAX) const;
  // Loads `bytes` through a stream that hands over at most `piece` bytes per call.
  bool load(const std::vector<std::uint8_t>& bytes, std::size_t piece = SIZE_MAX) const;

  ClapHost& host;
  const clap_plugin_t* plugin = nullptr;
  const clap_plugin_params_t* params = nullptr;
  const clap_plugin_state_t* state = nullptr;
  const clap_plugin_audio_ports_t* audioPorts = nullptr;
  const clap_plugin_note_ports_t* notePorts = nullptr;
  bool active = false;
};

class ClapModuleTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void SetUp() override { ASSERT_NE(module, nullptr); }
  std::unique_ptr<Instance> create(ClapHost& host);

  static ClapModule* module;
  ClapHost host;
};

}  // namespace claptest
