// What the backend tests share: cases of MIDI, rate, block size, program and parameter
// values, a plug-in opened by path, and its render through quindle-host's own offline
// renderer as the bits of both channels, so that equal renders compare equal bit for bit.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tools/host/hosted_plugin.h"

namespace backendtest {

struct Case {
  const char* name;
  const char* events;
  std::int32_t rate;
  std::int32_t block;
  std::int32_t program;  // -1: none chosen, the start-up sound
  std::vector<std::pair<std::int32_t, float>> values;
};

// Chords, voice stealing, bends; block sizes down to one frame; programs and edits.
extern const std::vector<Case> kCases;

std::unique_ptr<HostedPlugin> openByPath(const std::string& path);
// Both channels' sample bits, one after the other.
std::vector<std::uint32_t> renderBits(HostedPlugin& plugin, const Case& c);
// Samples that are neither +0 nor -0: identical near-silence proves nothing.
std::size_t soundingSamples(const std::vector<std::uint32_t>& bits);

}  // namespace backendtest
