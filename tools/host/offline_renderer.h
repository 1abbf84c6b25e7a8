// Renders an event sequence through an instance's binary interface, as a host does while
// bouncing a track: effSetSampleRate, effSetBlockSize, effMainsChanged 1 and
// effStartProcess; then block by block effProcessEvents with the block's MIDI (offsets
// inside the block) and processReplacing into two output channels; then effStopProcess
// and effMainsChanged 0. The sound runs from the start of the sequence to its last event
// plus the tail.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "tools/host/event_sequence.h"
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

bool render(PluginInstance& instance, const EventSequence& sequence, const Settings& settings,
            const BlockSink& sink, const ProgressSink& progress, std::string& error);

}  // namespace offlinerender
