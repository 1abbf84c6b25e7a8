#include "tools/host/offline_renderer.h"

#include <algorithm>
#include <vector>

#include "tools/host/vst2_plugin.h"

namespace offlinerender {
namespace {

std::int64_t lastEventFrame(const EventSequence& sequence, std::int32_t sampleRate) {
  if (sequence.events.empty()) return 0;
  return eventsequence::samplePosition(sequence.events.back().time, sequence.unitsPerSecond, sampleRate);
}

// The most events that fall into one block.
std::size_t densestBlock(const EventSequence& sequence, const Settings& settings) {
  std::size_t most = 0;
  std::size_t inBlock = 0;
  std::int64_t block = -1;
  for (const TimedMidiEvent& event : sequence.events) {
    const std::int64_t at = eventsequence::samplePosition(event.time, sequence.unitsPerSecond, settings.sampleRate);
    inBlock = at / settings.blockSize == block ? inBlock + 1 : 1;
    block = at / settings.blockSize;
    most = std::max(most, inBlock);
  }
  return most;
}

// Stops processing when the render ends, however it ends.
class ProcessingScope {
 public:
  explicit ProcessingScope(HostedPlugin& processing) : plugin(processing) {}
  ~ProcessingScope() { plugin.stop(); }
  ProcessingScope(const ProcessingScope&) = delete;
  ProcessingScope& operator=(const ProcessingScope&) = delete;

 private:
  HostedPlugin& plugin;
};

}  // namespace

std::int64_t totalFrames(const EventSequence& sequence, const Settings& settings) {
  return lastEventFrame(sequence, settings.sampleRate) + std::max<std::int64_t>(settings.tailFrames, 0);
}

bool render(HostedPlugin& plugin, const EventSequence& sequence, const Settings& settings, const BlockSink& sink,
            const ProgressSink& progress, std::string& error) {
  if (settings.sampleRate < kMinSampleRate || settings.sampleRate > kMaxSampleRate) {
    error = "sample rate " + std::to_string(settings.sampleRate) + " Hz is outside " +
            std::to_string(kMinSampleRate) + " to " + std::to_string(kMaxSampleRate);
    return false;
  }
  if (settings.blockSize < 1 || settings.blockSize > kMaxBlockSize) {
    error = "block size " + std::to_string(settings.blockSize) + " is outside 1 to " + std::to_string(kMaxBlockSize);
    return false;
  }

  ProcessSetup setup;
  setup.sampleRate = settings.sampleRate;
  setup.maxBlockFrames = settings.blockSize;
  setup.maxMessagesPerBlock = densestBlock(sequence, settings);
  std::vector<MidiMessage> messages;
  messages.reserve(setup.maxMessagesPerBlock);
  const std::size_t block = static_cast<std::size_t>(settings.blockSize);
  std::vector<float> left(block, 0.0f);
  std::vector<float> right(block, 0.0f);
  const float* channels[kOutputChannels] = {left.data(), right.data()};

  if (!plugin.prepare(setup, error)) return false;
  ProcessingScope processing(plugin);
  const std::int64_t total = totalFrames(sequence, settings);
  std::size_t next = 0;
  for (std::int64_t start = 0; start < total; start += settings.blockSize) {
    const auto frames = static_cast<std::int32_t>(std::min<std::int64_t>(settings.blockSize, total - start));
    messages.clear();
    while (next < sequence.events.size()) {
      const TimedMidiEvent& event = sequence.events[next];
      const std::int64_t at = eventsequence::samplePosition(event.time, sequence.unitsPerSecond, settings.sampleRate);
      if (at >= start + frames) break;
      MidiMessage message;
      message.frame = static_cast<std::int32_t>(at - start);
      message.size = static_cast<std::uint8_t>(std::min<std::size_t>(event.size, MidiMessage::kMaxSize));
      std::copy(event.bytes, event.bytes + message.size, message.bytes);
      messages.push_back(message);
      ++next;
    }
    if (!plugin.process(messages.data(), messages.size(), left.data(), right.data(), frames, error)) return false;
    if (!sink(channels, frames, error)) return false;
    if (progress) progress(start + frames, total);
  }
  return true;
}

bool render(PluginInstance& instance, const EventSequence& sequence, const Settings& settings,
            const BlockSink& sink, const ProgressSink& progress, std::string& error) {
  Vst2Plugin plugin(instance);
  return render(plugin, sequence, settings, sink, progress, error);
}

}  // namespace offlinerender
