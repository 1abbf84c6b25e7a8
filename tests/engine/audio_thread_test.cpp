// What the audio thread may not do: allocate, leave the host's control word changed,
// or race with parameter changes from another thread.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

#include "engine/denormal_guard.h"
#include "shell/vst_midi_events.h"
#include "engine/note_table.h"
#include "tests/support/allocation_counter.h"
#include "tests/engine/engine_test_support.h"

#if defined(__SSE2__) || defined(__x86_64__)
#include <xmmintrin.h>
#define ENGINE_TEST_HAS_MXCSR 1
#endif

namespace {

using engine_test::makeProgramEngine;
using engine_test::MidiBlock;

TEST(AudioThread, IntakeAndRenderAllocateNothing) {
  NoteFrequencyTable::fill();
  auto engine = makeProgramEngine(2);
  std::vector<float> scratch(SynthEngine::kScratchFloats), out(1024);
  MidiBlock dense;
  for (std::int32_t i = 0; i < 40; ++i) dense.addNoteOn(40 + i, 100, i * 20);
  for (std::int32_t i = 0; i < 40; ++i) dense.addNoteOff(40 + i, 800 + i);
  dense.addBend(3000, 500).add(0xB0, 123, 0, 0);
  VstEvents* list = dense.list();
  const long before = allocation_counter::total();
  for (std::int32_t round = 0; round < 20; ++round) {
    processMidiEvents(*engine, list);
    engine->noteOn(60, 261.6f, 1.0f, 3);
    engine->noteOff(60, 900);
    engine->pitchBend(0.5f, 10);
    engine->render(scratch.data(), out.data(), 1024);
  }
  EXPECT_EQ(allocation_counter::total() - before, 0);
  // The counter itself works.
  std::unique_ptr<int> probe(new int(1));
  EXPECT_EQ(allocation_counter::total() - before, 1);
}

#if defined(ENGINE_TEST_HAS_MXCSR)
TEST(AudioThread, DenormalGuardFlushesAndRestores) {
  const unsigned host = _mm_getcsr();
  volatile float tiny = 1e-38f;
  volatile float scale = 1e-3f;
  {
    DenormalGuard guard;
    EXPECT_EQ(_mm_getcsr() & DenormalGuard::flushBits(), DenormalGuard::flushBits());
    EXPECT_NE(DenormalGuard::flushBits() & 0x8000u, 0u);
    EXPECT_EQ(tiny * scale, 0.0f);  // would be 1e-41, a subnormal
  }
  EXPECT_EQ(_mm_getcsr(), host);
  EXPECT_NE(tiny * scale, 0.0f);
}
#endif

// A parameter change from another thread meets a render on this one. The sanitizer
// build with threads checks the shared values; here the output stays finite.
TEST(AudioThread, ParameterChangesDuringRender) {
  auto engine = makeProgramEngine(4);
  std::atomic<bool> stop{false};
  std::thread writer([&] {
    for (std::int32_t i = 0; i < 2000 && !stop.load(); ++i) {
      const float value = static_cast<float>(i % 100) * 0.01f;
      engine->liveParameters()[i % 13].store(value, std::memory_order_relaxed);
      engine->updateVoices(i % 13);
      engine->updateVoices(ALL_ENVELOPES);
    }
  });
  std::vector<float> scratch(SynthEngine::kScratchFloats), out(128);
  for (std::int32_t block = 0; block < 200; ++block) {
    if (block % 10 == 0) engine->noteOn(50 + block % 30, 200.0f, 1.0f, 5);
    std::fill(out.begin(), out.end(), 0.0f);
    engine->render(scratch.data(), out.data(), 128);
    for (float v : out) ASSERT_TRUE(std::isfinite(v));
  }
  stop.store(true);
  writer.join();
}

}  // namespace
