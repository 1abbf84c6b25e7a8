// What every backend test renders through quindle-host's own code, and how: the same
// MIDI at the same offsets, the same parameter values, sample rate and block boundaries,
// through a plug-in of any format opened by path.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tools/host/event_text.h"
#include "tools/host/host_session.h"
#include "tools/host/offline_renderer.h"
#include "tools/host/plugin_formats.h"

namespace backend_cases {

struct Case {
  const char* name;
  const char* events;
  std::int32_t rate;
  std::int32_t block;
  std::int32_t program;  // -1: none chosen, the start-up sound
  std::vector<std::pair<std::int32_t, float>> values;
};

inline const char* const kChords =
    "0.05 on 48 100\n0.05 on 55 90\n0.05 on 60 80\n0.05 on 64 70\n"
    "0.40 off 48\n0.40 off 55\n0.40 off 60\n0.40 off 64\n"
    "0.42 on 53 127\n0.42 on 57 64\n0.42 on 60 32\n0.42 on 65 1\n0.70 cc 123 0\n";
// Twelve notes on nine voices, repeated notes, a note-off by velocity 0, all notes off.
inline const char* const kStealing =
    "0.000 on 36 100\n0.004 on 40 100\n0.008 on 43 110\n0.012 on 47 90\n0.016 on 50 80\n0.020 on 54 120\n"
    "0.024 on 57 60\n0.028 on 61 100\n0.032 on 64 100\n0.036 on 68 127\n0.040 on 71 100\n0.044 on 75 100\n"
    "0.100 on 36 0\n0.150 on 80 90\n0.150 on 80 90\n0.200 off 80\n0.300 cc 126 0\n0.301 on 60 100\n0.400 off 60\n";
inline const char* const kBends =
    "0 on 57 100\n0.05 bend 0\n0.1 bend 16383\n0.1 on 64 80\n0.15 bend 4096\n0.2 bend 8192\n0.3 off 57\n0.3 off 64\n";

inline const Case kCases[] = {
    {"chords", kChords, 44100, 1024, 2, {}},
    {"stealing", kStealing, 48000, 1000, 5, {}},
    {"bends, 37-frame blocks", kBends, 96000, 37, 7, {}},
    {"start-up sound, one-frame blocks", kBends, 44100, 1, -1, {}},
    {"edited program", kChords, 44100, 333, 4, {{0, 0.5f}, {5, 0.9f}, {7, 0.2f}, {12, 0.6f}}},
};

inline std::unique_ptr<HostedPlugin> openByPath(const std::string& path) {
  std::string error;
  std::unique_ptr<HostedPlugin> plugin = pluginformats::open(path, error);
  EXPECT_NE(plugin, nullptr) << error;
  return plugin;
}

// Both channels' sample bits, one after the other: equal renders are equal bit for bit.
inline std::vector<std::uint32_t> renderBits(HostedPlugin& plugin, const Case& c) {
  InstanceSetup setup;
  setup.selectsProgram = c.program >= 0;
  setup.program = c.program;
  setup.parameterValues = c.values;
  std::string error;
  EventSequence sequence;
  EXPECT_TRUE(eventtext::parse(c.events, sequence, error)) << error;
  EXPECT_TRUE(hostsession::applySetup(plugin, setup, error)) << error;
  offlinerender::Settings settings;
  settings.sampleRate = c.rate;
  settings.blockSize = c.block;
  settings.tailFrames = c.rate / 4;
  std::vector<std::uint32_t> bits;
  const bool rendered = offlinerender::render(
      plugin, sequence, settings,
      [&bits](const float* const* channels, std::int32_t frames, std::string&) {
        for (int channel = 0; channel < offlinerender::kOutputChannels; ++channel) {
          for (std::int32_t i = 0; i < frames; ++i) {
            std::uint32_t word = 0;
            std::memcpy(&word, &channels[channel][i], sizeof word);
            bits.push_back(word);
          }
        }
        return true;
      },
      nullptr, error);
  EXPECT_TRUE(rendered) << error;
  return bits;
}

// Every case through the plug-in at `path` and through the VST 2.4 module, both opened
// anew for each: the same bits, and enough sound that the sameness proves something.
inline void expectEveryCaseAsTheModule(const std::string& path, const std::string& modulePath) {
  for (const Case& c : kCases) {
    auto plugin = openByPath(path);
    auto module = openByPath(modulePath);
    ASSERT_NE(plugin, nullptr);
    ASSERT_NE(module, nullptr);
    const std::vector<std::uint32_t> fromPlugin = renderBits(*plugin, c);
    const std::vector<std::uint32_t> fromModule = renderBits(*module, c);
    ASSERT_EQ(fromPlugin.size(), fromModule.size()) << c.name;
    std::size_t sounding = 0;
    for (std::uint32_t word : fromModule) sounding += (word << 1) != 0 ? 1 : 0;  // not +0 or -0
    EXPECT_GT(sounding, fromModule.size() / 4) << c.name << ": identical near-silence proves nothing";
    EXPECT_TRUE(fromPlugin == fromModule) << c.name;
  }
}

// The text of the plug-in's identity line `label`, "(none)" when it has none.
inline std::string identityLine(HostedPlugin& plugin, const std::string& label) {
  for (const InfoLine& line : plugin.identity()) {
    if (line.label == label) return line.text;
  }
  return "(none)";
}

// Every program selected on the plug-in and on the VST 2.4 module: the same names, and
// the same parameter names and values after each selection; a ninth program is refused.
// Answers the refusal's message.
inline std::string expectProgramsAsTheModule(HostedPlugin& plugin, HostedPlugin& module) {
  std::string error;
  for (std::int32_t p = 0; p < plugin.programCount(); ++p) {
    EXPECT_EQ(plugin.programName(p), module.programName(p)) << "program " << p;
    EXPECT_TRUE(plugin.selectProgram(p, error)) << error;
    EXPECT_TRUE(module.selectProgram(p, error)) << error;
    EXPECT_EQ(plugin.currentProgram(), p);
    for (std::int32_t i = 0; i < plugin.parameterCount(); ++i) {
      EXPECT_EQ(plugin.parameterName(i), module.parameterName(i)) << "parameter " << i;
      EXPECT_EQ(plugin.parameter(i), module.parameter(i)) << "program " << p << ", parameter " << i;
    }
  }
  error.clear();
  EXPECT_FALSE(plugin.selectProgram(plugin.programCount(), error));
  return error;
}

}  // namespace backend_cases
