// Renders an event sequence through a plug-in of any format, as a host does while
// bouncing a track: the plug-in is prepared for the sample rate, the block size and the
// most messages any block carries; then block by block it gets the block's MIDI (offsets
// inside the block) and renders two output channels; then it is stopped. The sound runs
// from the start of the sequence to its last event plus the tail; every block is full
// but the last.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "tools/host/event_sequence.h"
#include "tools/host/hosted_plugin.h"
#include "tools/host/plugin_instance.h"

namespace offlinerender {

constexpr std::int32_t kDefaultSampleRate = 44100;
constexpr std::int32_t kMinSampleRate = 8000;
constexpr std::int32_t kMaxSampleRate = 384000;
constexpr std::int32_t kDefaultBlockSize = 1024;
constexpr std::int32_t kMaxBlockSize = 65536;
constexpr std::int64_t kDefaultTailNanoseconds = 2000000000;  // two seconds
constexpr std::int32_t kOutputChannels = 2;

struct Settings {
  std::int32_t sampleRate = kDefaultSampleRate;
  std::int32_t blockSize = kDefaultBlockSize;
  std::int64_t tailFrames = 0;
};

// Receives each rendered block (two channels); false with a reason stops the render.
using BlockSink = std::function<bool(const float* const* channels, std::int32_t frames, std::string& error)>;
// Told after each block how many of the total frames are done.
using ProgressSink = std::function<void(std::int64_t done, std::int64_t total)>;

// Frames from the start to the last event plus the tail.
std::int64_t totalFrames(const EventSequence& sequence, const Settings& settings);

bool render(HostedPlugin& plugin, const EventSequence& sequence, const Settings& settings, const BlockSink& sink,
            const ProgressSink& progress, std::string& error);
// The same through a VST 2.4 instance the caller keeps open.
bool render(PluginInstance& instance, const EventSequence& sequence, const Settings& settings,
            const BlockSink& sink, const ProgressSink& progress, std::string& error);

}  // namespace offlinerender
