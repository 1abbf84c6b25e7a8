#include "tools/host/offline_renderer.h"

#include <algorithm>
#include <vector>

#include "tools/host/event_block.h"

namespace offlinerender {
namespace {

std::int64_t lastEventFrame(const EventSequence& sequence, std::int32_t sampleRate) {
  if (sequence.events.empty()) return 0;
  return eventsequence::samplePosition(sequence.events.back().time, sequence.unitsPerSecond, sampleRate);
}

// Starts processing and stops it again when the render ends, however it ends.
class ProcessingScope {
 public:
  ProcessingScope(PluginInstance& plugin, const Settings& settings) : instance(plugin) {
    instance.dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(settings.sampleRate));
    instance.dispatch(effSetBlockSize, 0, settings.blockSize);
    instance.dispatch(effMainsChanged, 0, 1);
    instance.dispatch(effStartProcess);
  }
  ~ProcessingScope() {
    instance.dispatch(effStopProcess);
    instance.dispatch(effMainsChanged, 0, 0);
  }
  ProcessingScope(const ProcessingScope&) = delete;
  ProcessingScope& operator=(const ProcessingScope&) = delete;

 private:
  PluginInstance& instance;
};

}  // namespace

std::int64_t totalFrames(const EventSequence& sequence, const Settings& settings) {
  return lastEventFrame(sequence, settings.sampleRate) + std::max<std::int64_t>(settings.tailFrames, 0);
}

bool render(PluginInstance& instance, const EventSequence& sequence, const Settings& settings,
            const BlockSink& sink, const ProgressSink& progress, std::string& error) {
  AEffect& effect = instance.effect();
  if (settings.sampleRate < kMinSampleRate || settings.sampleRate > kMaxSampleRate) {
    error = "sample rate " + std::to_string(settings.sampleRate) + " Hz is outside " +
            std::to_string(kMinSampleRate) + " to " + std::to_string(kMaxSampleRate);
    return false;
  }
  if (settings.blockSize < 1 || settings.blockSize > kMaxBlockSize) {
    error = "block size " + std::to_string(settings.blockSize) + " is outside 1 to " + std::to_string(kMaxBlockSize);
    return false;
  }
  if (effect.processReplacing == nullptr || (effect.flags & effFlagsCanReplacing) == 0) {
    error = "the module does not offer processReplacing";
    return false;
  }
  if (effect.numOutputs < 1) {
    error = "the module has no outputs";
    return false;
  }

  // Buffers for every input and output the module declares (silent inputs, at least two
  // for plug-ins that read them regardless); the file takes the first two outputs, a
  // single output goes to both channels.
  const std::size_t block = static_cast<std::size_t>(settings.blockSize);
  std::vector<std::vector<float>> inputBuffers(static_cast<std::size_t>(std::max(effect.numInputs, kOutputChannels)),
                                               std::vector<float>(block, 0.0f));
  std::vector<std::vector<float>> outputBuffers(static_cast<std::size_t>(effect.numOutputs),
                                                std::vector<float>(block, 0.0f));
  std::vector<float*> inputs;
  for (auto& buffer : inputBuffers) inputs.push_back(buffer.data());
  std::vector<float*> outputs;
  for (auto& buffer : outputBuffers) outputs.push_back(buffer.data());
  const float* channels[kOutputChannels] = {outputs[0], outputs[effect.numOutputs > 1 ? 1 : 0]};

  const std::int64_t total = totalFrames(sequence, settings);
  std::size_t next = 0;
  EventBlock blockEvents;
  ProcessingScope processing(instance, settings);
  for (std::int64_t start = 0; start < total; start += settings.blockSize) {
    const auto frames = static_cast<std::int32_t>(std::min<std::int64_t>(settings.blockSize, total - start));
    blockEvents.clear();
    while (next < sequence.events.size()) {
      const TimedMidiEvent& event = sequence.events[next];
      const std::int64_t at = eventsequence::samplePosition(event.time, sequence.unitsPerSecond, settings.sampleRate);
      if (at >= start + frames) break;
      blockEvents.add(static_cast<VstInt32>(at - start), event.bytes, event.size);
      ++next;
    }
    if (!blockEvents.empty()) instance.dispatch(effProcessEvents, 0, 0, blockEvents.events());
    for (auto& buffer : outputBuffers) std::fill(buffer.begin(), buffer.end(), 0.0f);
    effect.processReplacing(&effect, inputs.data(), outputs.data(), frames);
    if (!sink(channels, frames, error)) return false;
    if (progress) progress(start + frames, total);
  }
  return true;
}

}  // namespace offlinerender
