// What parameter changes at their frames cost (LV2, VST 3 and CLAP hand them over inside
// the block): nine sounding voices in blocks of 512 frames with a number of changes,
// either each at its own frame (the block is cut there; what CLAP does) or all at the
// block's start (what a plug-in applying changes once per block would do).
//
//   build/native/quindle_bench --benchmark_filter=BlockRenderer
//
// Counter: realtime is how many seconds of audio one second of processing yields at 44.1 kHz.
#include <benchmark/benchmark.h>

#include <vector>

#include "core/block_renderer.h"
#include "core/instrument.h"

namespace {

constexpr std::int32_t kFrames = 512;
constexpr std::int32_t kVoices = 9;
constexpr std::int32_t kSustainedProgram = 1;  // held at full level
constexpr float kSampleRate = 44100.0f;

void renderWithChanges(benchmark::State& state, bool atTheirFrames) {
  const auto changes = static_cast<std::int32_t>(state.range(0));
  Instrument instrument;
  instrument.selectProgram(kSustainedProgram);
  instrument.setSampleRate(kSampleRate);
  instrument.activate();
  std::vector<float> left(kFrames), right(kFrames);
  {
    BlockRenderer start(instrument, left.data(), right.data(), kFrames);
    for (std::int32_t i = 0; i < kVoices; ++i) {
      const std::uint8_t noteOn[] = {0x90, static_cast<std::uint8_t>(48 + 3 * i), 100};
      start.midi(noteOn, sizeof(noteOn), i);
    }
    start.finish();
  }
  std::int32_t round = 0;
  for (auto _ : state) {
    BlockRenderer block(instrument, left.data(), right.data(), kFrames);
    for (std::int32_t c = 0; c < changes; ++c) {
      // The tone moves a little with every change, so that every change is one.
      const float value = 0.3f + 0.001f * static_cast<float>((round * changes + c) % 200);
      block.parameter(PARAM_TONE_LEVEL, value, atTheirFrames ? c * kFrames / changes : 0);
    }
    block.finish();
    benchmark::DoNotOptimize(left.data());
    ++round;
  }
  state.counters["realtime"] = benchmark::Counter(static_cast<double>(kFrames) / kSampleRate,
                                                  benchmark::Counter::kIsIterationInvariantRate);
}

void BM_BlockRendererChangesAtTheirFrames(benchmark::State& state) { renderWithChanges(state, true); }
void BM_BlockRendererChangesAtBlockStart(benchmark::State& state) { renderWithChanges(state, false); }

BENCHMARK(BM_BlockRendererChangesAtTheirFrames)->Arg(0)->Arg(1)->Arg(4)->Arg(16)->Arg(64);
BENCHMARK(BM_BlockRendererChangesAtBlockStart)->Arg(1)->Arg(4)->Arg(16)->Arg(64);

}  // namespace
