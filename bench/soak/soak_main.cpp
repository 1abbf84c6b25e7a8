// The soak: one instance driven as a busy host drives it for an hour of audio (by
// default) — dense seeded MIDI in blocks of 1 to 4096 frames on the audio thread, and
// parameter automation inside 0..1, program changes and chunk saves and loads on a
// second thread — then every note released. It reports, and fails (exit 1) unless:
// every sample was finite, nothing was allocated on the audio thread, the release ended
// in exact silence within the longest release with no voice left active, and the
// processor time per second of audio at the end was within 5 % of the start.
//
//   build/native/quindle_soak [--minutes N] [--seed S]      (make soak)
#include <time.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/allocation_counter.h"
#include "bench/soak/random_midi.h"
#include "engine/synth_engine.h"
#include "params/program_bank.h"
#include "shell/synth_plugin.h"

namespace {

constexpr float kSampleRate = 44100.0f;
constexpr double kDefaultMinutes = 60.0;
constexpr std::uint32_t kDefaultSeed = 20261209;
constexpr double kWindowSeconds = 300.0;  // the stretches of audio compared for processor time
constexpr double kAllowedDrift = 0.05;
constexpr double kLongestRelease = 1.0;   // a release time of 1 (the top of the range) is one second
constexpr std::int32_t kTailBlock = 1024;
constexpr auto kControlPause = std::chrono::microseconds(50);
constexpr int kProgramEvery = 400;  // control-thread rounds between program changes
constexpr int kChunkEvery = 900;    // and between chunk saves and loads

VstIntPtr VSTCALLBACK host(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
  return opcode == audioMasterVersion ? 2400 : 0;
}

double threadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

struct Counts {
  std::int64_t parameterChanges = 0;
  std::int64_t programChanges = 0;
  std::int64_t chunkLoads = 0;
};

// The second thread: automation inside 0..1, program changes, chunks saved and loaded.
void control(AEffect* effect, std::uint32_t seed, const std::atomic<bool>& stop, Counts& counts) {
  std::mt19937 random(seed ^ 0x5EEDu);
  std::vector<unsigned char> copy;
  for (int round = 1; !stop.load(std::memory_order_relaxed); ++round) {
    const auto index = static_cast<VstInt32>(random() % PARAMETER_COUNT);
    effect->setParameter(effect, index, static_cast<float>(random() % 1001) / 1000.0f);
    ++counts.parameterChanges;
    if (round % kProgramEvery == 0) {
      effect->dispatcher(effect, effSetProgram, 0, static_cast<VstIntPtr>(random() % kProgramCount), nullptr, 0.0f);
      ++counts.programChanges;
    }
    if (round % kChunkEvery == 0) {
      const VstInt32 isProgram = static_cast<VstInt32>(random() % 2);
      void* chunk = nullptr;
      const VstIntPtr size = effect->dispatcher(effect, effGetChunk, isProgram, 0, &chunk, 0.0f);
      copy.assign(static_cast<unsigned char*>(chunk), static_cast<unsigned char*>(chunk) + size);
      effect->dispatcher(effect, effSetChunk, isProgram, size, copy.data(), 0.0f);
      ++counts.chunkLoads;
    }
    std::this_thread::sleep_for(kControlPause);
  }
}

bool finite(const float* samples, std::int32_t frames) {
  for (std::int32_t i = 0; i < frames; ++i) {
    if (!std::isfinite(samples[i])) return false;
  }
  return true;
}

int failures = 0;
void check(bool ok, const std::string& text) {
  std::printf("%s %s\n", ok ? "ok  " : "FAIL", text.c_str());
  if (!ok) ++failures;
}

}  // namespace

int main(int argc, char** argv) {
  double minutes = kDefaultMinutes;
  std::uint32_t seed = kDefaultSeed;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--minutes") == 0) minutes = std::atof(argv[i + 1]);
    if (std::strcmp(argv[i], "--seed") == 0) seed = static_cast<std::uint32_t>(std::strtoul(argv[i + 1], nullptr, 10));
  }
  SynthPlugin* plugin = createSynthPlugin(host);
  if (plugin == nullptr) return 1;
  AEffect* effect = plugin->getAEffect();
  effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, kSampleRate);
  effect->dispatcher(effect, effSetBlockSize, 0, soak::RandomMidi::kMostFrames, nullptr, 0.0f);
  effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);

  std::vector<float> left(soak::RandomMidi::kMostFrames), right(soak::RandomMidi::kMostFrames);
  float* outputs[2] = {left.data(), right.data()};
  soak::RandomMidi midi(seed);
  Counts counts;
  std::atomic<bool> stop{false};
  std::thread automation(control, effect, seed, std::cref(stop), std::ref(counts));

  const auto total = static_cast<std::int64_t>(minutes * 60.0 * kSampleRate);
  const auto window = static_cast<std::int64_t>(kWindowSeconds * kSampleRate);
  std::int64_t rendered = 0;
  std::int64_t blocks = 0;
  bool allFinite = true;
  double firstWindow = 0.0, lastWindow = 0.0, processing = 0.0;
  const auto wallStart = std::chrono::steady_clock::now();
  {
    allocation_counter::MarkedThread audioThread;
    while (rendered < total) {
      const std::int32_t frames = midi.nextBlockLength();
      VstEvents* events = midi.nextBlock(frames);
      const double before = threadSeconds();
      effect->dispatcher(effect, effProcessEvents, 0, 0, events, 0.0f);
      effect->processReplacing(effect, nullptr, outputs, frames);
      const double spent = threadSeconds() - before;
      processing += spent;
      if (rendered < window) firstWindow += spent;
      if (rendered >= total - window) lastWindow += spent;
      allFinite = allFinite && finite(left.data(), frames) && finite(right.data(), frames);
      rendered += frames;
      ++blocks;
    }
  }
  stop.store(true);
  automation.join();

  // Every note released: exact silence once the longest release is over.
  std::int64_t releaseFrames = 0;
  std::int64_t lastSound = -1;
  {
    allocation_counter::MarkedThread audioThread;
    effect->dispatcher(effect, effProcessEvents, 0, 0, midi.releaseEverything(), 0.0f);
    const auto limit = static_cast<std::int64_t>((kLongestRelease * 2.0) * kSampleRate);
    for (; releaseFrames < limit; releaseFrames += kTailBlock) {
      effect->processReplacing(effect, nullptr, outputs, kTailBlock);
      for (std::int32_t i = 0; i < kTailBlock; ++i) {
        if (left[static_cast<std::size_t>(i)] != 0.0f) lastSound = releaseFrames + i;
      }
    }
  }
  bool anyActive = false;
  for (std::int32_t v = 0; v < SynthEngine::kVoiceCount; ++v) anyActive = anyActive || plugin->synthEngine().voice(v).isActive();
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
  const double audioSeconds = static_cast<double>(rendered) / kSampleRate;

  std::printf("soak: %.1f minutes of audio (seed %u) in %llu blocks of 1..%d frames, %lld MIDI events,\n"
              "      %lld parameter changes, %lld program changes, %lld chunk loads; %.1f s wall, %.1f s processing\n"
              "      (%.0fx realtime)\n",
              audioSeconds / 60.0, seed, static_cast<unsigned long long>(blocks), soak::RandomMidi::kMostFrames,
              static_cast<long long>(midi.eventCount()), static_cast<long long>(counts.parameterChanges),
              static_cast<long long>(counts.programChanges), static_cast<long long>(counts.chunkLoads), wall,
              processing, audioSeconds / processing);
  check(allFinite, "every sample finite");
  check(allocation_counter::onMarkedThreads() == 0,
        "allocations on the audio thread: " + std::to_string(allocation_counter::onMarkedThreads()));
  check(lastSound < static_cast<std::int64_t>(kLongestRelease * kSampleRate),
        "exact silence " + std::to_string(lastSound + 1) + " samples after every note was released (at most " +
            std::to_string(static_cast<long>(kLongestRelease * kSampleRate)) + ")");
  check(!anyActive, "no voice active after the release");
  const double windows = std::fmin(kWindowSeconds, audioSeconds);
  const double startCost = firstWindow / windows * 1000.0;
  const double endCost = lastWindow / windows * 1000.0;
  char line[160];
  std::snprintf(line, sizeof line, "processor time per second of audio: %.3f ms at the start, %.3f ms at the end (%+.1f %%)",
                startCost, endCost, (endCost / startCost - 1.0) * 100.0);
  check(std::fabs(endCost / startCost - 1.0) <= kAllowedDrift, line);
  effect->dispatcher(effect, effMainsChanged, 0, 0, nullptr, 0.0f);
  effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
  return failures == 0 ? 0 : 1;
}
