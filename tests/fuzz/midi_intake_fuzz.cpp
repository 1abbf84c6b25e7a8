// Fuzz target: MIDI intake alone. An instance playing one of its factory programs gets
// event lists of any length and content, each followed by a block of any length up to
// the block size; every sample must be finite. At the end every note is released and,
// once the longest release of the factory programs has passed, the output is exact
// silence; all sound off then keeps it so.
#include <cstdint>

#include "tests/fuzz/event_list.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/fuzz/fuzz_instance.h"

namespace {

constexpr float kSampleRate = 44100.0f;
constexpr std::int32_t kBlockSize = 512;
constexpr VstIntPtr kProgramCount = 8;
constexpr int kMaxBlocks = 64;
// The factory programs release within 0.1 s (at most 4410 samples at 44.1 kHz); the
// release is given a little longer, then a block must be silent.
constexpr int kReleaseBlocks = 10;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  FuzzInstance instance;
  instance.dispatch(effSetProgram, 0, static_cast<VstIntPtr>(in.inRange(0, kProgramCount - 1)));
  instance.dispatch(effSetSampleRate, 0, 0, nullptr, kSampleRate);
  instance.dispatch(effSetBlockSize, 0, kBlockSize);
  instance.resume();
  EventList list;
  for (int block = 0; block < kMaxBlocks && !in.empty(); ++block) {
    const auto frames = static_cast<std::int32_t>(in.inRange(1, kBlockSize));
    list.decode(in, frames);
    instance.sendEvents(list);
    instance.process(frames);
    instance.checkUnchanged("a block of events");
  }

  instance.process(kBlockSize);  // plays out what is still queued
  instance.releaseEveryNote();
  for (int block = 0; block < kReleaseBlocks; ++block) instance.process(kBlockSize);
  FUZZ_CHECK(instance.lastBlockSilent(), "sound after every note was released and its release had passed");
  instance.checkFallsSilent();
  return 0;
}
