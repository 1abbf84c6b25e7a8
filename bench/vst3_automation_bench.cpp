// Cost of the VST 3 plug-in's automation inside a block: every point of a parameter's
// queue applied at its own sample offset (what the plug-in does), against the cheapest
// alternative, the queue's last value applied once at the block start. Nine voices
// sound; each point changes the Volume, so each one cuts the block into one more
// segment and re-reads the levels of every voice there.
//
//   build/native/quindle_bench --benchmark_filter=Vst3 --benchmark_counters_tabular=true
//
// Counters: per_block is the time of one 512-frame block; realtime how many seconds of
// audio one second of processing yields at 44.1 kHz. On the development machine (loaded
// by other work) a block took 20 us without points or with the last value at the start,
// 20-22 us with 1 to 8 points, 31 us with 32, 74 us with 128 and 320 us with a point on
// every sample (36 x realtime): about half a microsecond a point.
#include <benchmark/benchmark.h>

#include <vector>

#include "core/instrument.h"
#include "params/parameter_table.h"
#include "tools/host/vst3_host_objects.h"
#include "vst3/block_translation.h"

namespace {

constexpr vst3::int32 kFrames = 512;
constexpr double kSampleRate = 44100.0;
constexpr int kVoices = 9;
constexpr int kPreRollBlocks = 32;

struct Vst3Rig {
  Instrument instrument;
  vst3host::ParameterChanges changes;
  std::vector<float> left = std::vector<float>(kFrames);
  std::vector<float> right = std::vector<float>(kFrames);
  float* channels[2] = {left.data(), right.data()};
  vst3::AudioBusBuffers output{};
  vst3::ProcessData data{};

  // `points` points spread over the block, or (lastOnly) just the last of them at 0.
  Vst3Rig(vst3::int32 points, bool lastOnly) {
    instrument.selectProgram(2);
    instrument.activate();
    for (int i = 0; i < kVoices; ++i) {
      const std::uint8_t noteOn[] = {0x90, static_cast<std::uint8_t>(48 + 3 * i), 100};
      instrument.receiveMidi(noteOn, sizeof noteOn, i);
    }
    output.numChannels = 2;
    output.channelBuffers32 = channels;
    data.symbolicSampleSize = vst3::kSample32;
    data.numSamples = kFrames;
    data.numOutputs = 1;
    data.outputs = &output;
    data.inputParameterChanges = &changes;
    for (vst3::int32 k = 0; k < points; ++k) {
      const double value = k % 2 == 0 ? 0.30 : 0.31;
      if (!lastOnly) changes.add(PARAM_VOLUME, k * kFrames / points, value);
      if (lastOnly && k == points - 1) changes.add(PARAM_VOLUME, 0, value);
    }
    for (int i = 0; i < kPreRollBlocks; ++i) block();
  }
  void block() {
    quindle_vst3::processBlock(instrument, data);
    benchmark::DoNotOptimize(left.data());
    benchmark::ClobberMemory();
  }
};

void report(benchmark::State& state) {
  state.counters["per_block"] =
      benchmark::Counter(1.0, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["realtime"] = benchmark::Counter(kFrames / kSampleRate, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Vst3PointsAtTheirOffsets(benchmark::State& state) {
  Vst3Rig rig(static_cast<vst3::int32>(state.range(0)), false);
  for (auto _ : state) rig.block();
  report(state);
}
BENCHMARK(BM_Vst3PointsAtTheirOffsets)->Arg(0)->Arg(1)->Arg(2)->Arg(8)->Arg(32)->Arg(128)->Arg(512);

void BM_Vst3LastValueAtBlockStart(benchmark::State& state) {
  Vst3Rig rig(static_cast<vst3::int32>(state.range(0)), true);
  for (auto _ : state) rig.block();
  report(state);
}
BENCHMARK(BM_Vst3LastValueAtBlockStart)->Arg(2)->Arg(32)->Arg(512);

}  // namespace
