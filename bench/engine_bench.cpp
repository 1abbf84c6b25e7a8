// Cost of the synthesis engine on one core: nine sounding voices (held, and struck anew
// every block), one voice, an idle engine, nine voices held at sustain level 0 (with and
// without the denormal guard), short and long blocks, and the intake of a dense MIDI
// block.
//
//   build/<dir>/quindle_bench --benchmark_counters_tabular=true
//
// Counters: per_voice_sample is the time per voice and output sample; realtime is how
// many seconds of audio one second of processing yields at 44.1 kHz.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "engine/denormal_guard.h"
#include "shell/vst_midi_events.h"
#include "engine/note_table.h"
#include "engine/synth_engine.h"
#include "params/parameter_table.h"
#include "params/program_bank.h"

namespace {

constexpr float kSampleRate = 44100.0f;
constexpr std::int32_t kPreRollBlocks = 64;

struct Rig {
  std::unique_ptr<SynthEngine> engine{new SynthEngine()};
  std::vector<float> scratch = std::vector<float>(SynthEngine::kScratchFloats);
  std::vector<float> output;

  Rig(std::int32_t program, std::int32_t frames) : output(static_cast<std::size_t>(frames)) {
    NoteFrequencyTable::fill();
    setProgram(program);
    engine->setSampleRate(kSampleRate);
  }
  void setProgram(std::int32_t program) {
    for (std::int32_t i = 0; i < PARAMETER_COUNT; ++i)
      engine->liveParameters()[i].store(kFactoryPrograms[program].values[i]);
    engine->updateVoices(ALL_ENVELOPES);
  }
  void set(std::int32_t index, float value) {
    engine->liveParameters()[index].store(value);
    engine->updateVoices(index);
  }
  // Nine note-ons in one block start all nine voices.
  void play(std::int32_t voices) {
    for (std::int32_t i = 0; i < voices; ++i)
      engine->noteOn(48 + 3 * i, NoteFrequencyTable::frequency(48 + 3 * i), 0.8f, i);
  }
  void block() {
    std::fill(output.begin(), output.end(), 0.0f);
    engine->render(scratch.data(), output.data(), static_cast<std::int32_t>(output.size()));
    benchmark::DoNotOptimize(output.data());
    benchmark::ClobberMemory();
  }
  void preRoll() {
    for (std::int32_t i = 0; i < kPreRollBlocks * 1024 / static_cast<std::int32_t>(output.size()); ++i) block();
  }
};

void report(benchmark::State& state, std::int32_t voices, std::int32_t frames) {
  const double samples = static_cast<double>(frames);
  if (voices > 0) {
    state.counters["per_voice_sample"] =
        benchmark::Counter(samples * voices, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  }
  state.counters["realtime"] = benchmark::Counter(samples / kSampleRate, benchmark::Counter::kIsIterationInvariantRate);
}

void renderVoices(benchmark::State& state, std::int32_t voices, std::int32_t program) {
  const std::int32_t frames = static_cast<std::int32_t>(state.range(0));
  Rig rig(program, frames);
  rig.play(voices);
  rig.preRoll();
  DenormalGuard guard;
  for (auto _ : state) rig.block();
  report(state, voices, frames);
}

// Program 0 holds its notes at a sustain level of 0.835.
void BM_NineVoices(benchmark::State& state) { renderVoices(state, 9, 0); }
void BM_OneVoice(benchmark::State& state) { renderVoices(state, 1, 0); }
void BM_Idle(benchmark::State& state) { renderVoices(state, 0, 0); }
// A strongly modulated program.
void BM_NineVoicesFmClassic(benchmark::State& state) { renderVoices(state, 9, 2); }

// Nine notes struck again at the start of every block: the envelopes attack and decay
// step by step instead of holding, and the attack operator is still sounding.
void BM_NineVoicesRestruck(benchmark::State& state) {
  const std::int32_t frames = static_cast<std::int32_t>(state.range(0));
  Rig rig(2, frames);
  DenormalGuard guard;
  for (auto _ : state) {
    rig.play(9);
    rig.block();
  }
  report(state, 9, frames);
}

// Nine voices held at sustain level 0: the carrier is silent and the low-pass state
// decays toward zero through the subnormal range.
void sustainZero(benchmark::State& state, bool guarded) {
  const std::int32_t frames = static_cast<std::int32_t>(state.range(0));
  Rig rig(0, frames);
  rig.set(PARAM_AMP_SUSTAIN, 0.0f);
  rig.set(PARAM_AMP_DECAY, 0.01f);
  rig.play(9);
  for (std::int32_t i = 0; i < 40; ++i) rig.preRoll();  // about a minute of audio: deep in the tail
  if (guarded) {
    DenormalGuard guard;
    for (auto _ : state) rig.block();
  } else {
    for (auto _ : state) rig.block();
  }
  report(state, 9, frames);
}
void BM_SustainZeroGuarded(benchmark::State& state) { sustainZero(state, true); }
void BM_SustainZeroUnguarded(benchmark::State& state) { sustainZero(state, false); }

// A dense block of MIDI: 64 events (note-ons, note-offs, bends), taken in and applied
// (a zero-length render empties the queue).
void BM_IntakeDenseBlock(benchmark::State& state) {
  Rig rig(0, 1);
  std::vector<VstMidiEvent> records(64);
  std::vector<VstEvent*> pointers;
  for (std::size_t i = 0; i < records.size(); ++i) {
    VstMidiEvent& e = records[i];
    e = VstMidiEvent{};
    e.type = kVstMidiType;
    e.byteSize = sizeof e;
    e.deltaFrames = static_cast<VstInt32>(i * 8);
    const int kind = static_cast<int>(i % 4);
    e.midiData[0] = static_cast<char>(kind == 3 ? 0xE0 : kind == 2 ? 0x80 : 0x90);
    e.midiData[1] = static_cast<char>(36 + (i * 7) % 60);
    e.midiData[2] = static_cast<char>(kind == 3 ? 64 : 100);
  }
  for (VstMidiEvent& e : records) pointers.push_back(reinterpret_cast<VstEvent*>(&e));
  std::vector<unsigned char> storage(offsetof(VstEvents, events) + pointers.size() * sizeof(VstEvent*));
  VstEvents* list = reinterpret_cast<VstEvents*>(storage.data());
  list->numEvents = static_cast<VstInt32>(pointers.size());
  VstEvent** slots = list->events;
  for (std::size_t i = 0; i < pointers.size(); ++i) slots[i] = pointers[i];
  float out[1] = {};
  for (auto _ : state) {
    processMidiEvents(*rig.engine, list);
    rig.engine->render(rig.scratch.data(), out, 0);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(records.size()));
}

}  // namespace

BENCHMARK(BM_NineVoices)->Arg(32)->Arg(1024);
BENCHMARK(BM_NineVoicesFmClassic)->Arg(1024);
BENCHMARK(BM_NineVoicesRestruck)->Arg(1024);
BENCHMARK(BM_OneVoice)->Arg(32)->Arg(1024);
BENCHMARK(BM_Idle)->Arg(1024);
BENCHMARK(BM_SustainZeroGuarded)->Arg(1024);
BENCHMARK(BM_SustainZeroUnguarded)->Arg(1024);
BENCHMARK(BM_IntakeDenseBlock);
