// Fuzz target: the state chunk loader alone. The first byte chooses the request's index
// (0 asks for the bank, any other value for the program) and whether the size the host
// states is the buffer's or one no chunk can have; the rest is the chunk, of any size and
// any bytes. A chunk of the program size with the program index, or of the bank size,
// whose values are all finite, is taken whole; anything else is refused with nothing
// changed. Afterwards a note must render finite samples.
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "tests/fuzz/event_list.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/fuzz_instance.h"
#include "tests/fuzz/guarded_buffer.h"

namespace {

constexpr VstInt32 kIndexes[] = {0, 1, -1, 2, INT32_MIN};
constexpr std::int64_t kImpossibleSizes[] = {-1, -52, INT64_MIN, 0x100000034LL, 0x100000260LL};
// The first byte: the index in its low four bits, an impossible size in its top bit and
// which one in the three bits below.
constexpr std::uint8_t kIndexBits = 0x0F;
constexpr std::uint8_t kImpossibleSizeFlag = 0x80;
constexpr int kImpossibleSizeShift = 4;
constexpr std::uint8_t kImpossibleSizeBits = 0x07;
constexpr std::size_t kRecordSize = FuzzInstance::kRecordSize;
constexpr std::size_t kNameSize = FuzzInstance::kNameSize;
constexpr std::int32_t kBlock = 256;
constexpr int kBlocks = 4;
constexpr std::uint8_t kNoteOn = 0x90;
constexpr std::uint8_t kMiddleC = 60;
constexpr std::uint8_t kVelocity = 100;

bool valuesFinite(const std::uint8_t* values) {
  for (std::int32_t i = 0; i < FuzzInstance::kParameterCount; ++i) {
    float value = 0.0f;
    std::memcpy(&value, values + i * sizeof(float), sizeof value);
    if (!std::isfinite(value)) return false;
  }
  return true;
}

bool bankFinite(const std::vector<std::uint8_t>& bank) {
  for (std::size_t p = 0; p < FuzzInstance::kProgramCount; ++p) {
    if (!valuesFinite(bank.data() + p * kRecordSize + kNameSize)) return false;
  }
  return true;
}

std::array<float, FuzzInstance::kParameterCount> valuesAt(const std::uint8_t* values) {
  std::array<float, FuzzInstance::kParameterCount> out{};
  std::memcpy(out.data(), values, FuzzInstance::kProgramChunkSize);
  return out;
}

bool sameBits(const std::array<float, FuzzInstance::kParameterCount>& a,
              const std::array<float, FuzzInstance::kParameterCount>& b) {
  return std::memcmp(a.data(), b.data(), sizeof a) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t control = data[0];
  const VstInt32 index = kIndexes[(control & kIndexBits) % (sizeof kIndexes / sizeof kIndexes[0])];
  const std::vector<std::uint8_t> bytes(data + 1, data + size);
  const bool impossible = (control & kImpossibleSizeFlag) != 0;
  const std::size_t which = ((control >> kImpossibleSizeShift) & kImpossibleSizeBits) %
                            (sizeof kImpossibleSizes / sizeof kImpossibleSizes[0]);
  const VstIntPtr value =
      impossible ? static_cast<VstIntPtr>(kImpossibleSizes[which]) : static_cast<VstIntPtr>(bytes.size());

  FuzzInstance instance;
  const std::vector<std::uint8_t> bankBefore = instance.chunk(false);
  const auto parametersBefore = instance.parameters();
  const VstIntPtr program = instance.dispatch(effGetProgram);

  GuardedBuffer chunk(bytes);
  const VstIntPtr answer = instance.dispatch(effSetChunk, index, value, chunk.data());
  instance.checkUnchanged("effSetChunk");
  FUZZ_CHECK(chunk.contents() == bytes && chunk.guardIntact(), "effSetChunk wrote into the host's chunk");

  const bool programChunk = !impossible && index != 0 && bytes.size() == FuzzInstance::kProgramChunkSize &&
                            valuesFinite(bytes.data());
  const bool bankChunk =
      !impossible && !programChunk && bytes.size() == FuzzInstance::kBankChunkSize && bankFinite(bytes);
  const std::vector<std::uint8_t> bankAfter = instance.chunk(false);
  const auto parametersAfter = instance.parameters();
  FUZZ_CHECK(instance.dispatch(effGetProgram) == program, "a chunk changed the current program");
  const std::size_t current = static_cast<std::size_t>(program) * kRecordSize + kNameSize;
  if (programChunk) {
    FUZZ_CHECK(answer == value, "a program chunk was refused: " + std::to_string(answer));
    std::vector<std::uint8_t> expected = bankBefore;
    std::memcpy(expected.data() + current, bytes.data(), bytes.size());
    FUZZ_CHECK(bankAfter == expected, "a program chunk changed more than the current program's values");
    FUZZ_CHECK(sameBits(parametersAfter, valuesAt(bytes.data())), "the live values are not the program chunk's");
  } else if (bankChunk) {
    FUZZ_CHECK(answer == value, "a bank chunk was refused: " + std::to_string(answer));
    FUZZ_CHECK(bankAfter == bytes, "the bank is not the bank chunk");
    FUZZ_CHECK(sameBits(parametersAfter, valuesAt(bytes.data() + current)),
               "the live values are not the current program's from the bank chunk");
  } else {
    FUZZ_CHECK(answer == 0, "a chunk that fits nothing was taken: " + std::to_string(answer));
    FUZZ_CHECK(bankAfter == bankBefore && sameBits(parametersAfter, parametersBefore),
               "a refused chunk changed the instance");
  }

  // Whatever was taken must play: a note, then every note off.
  instance.resume();
  EventList list;
  list.addMidi(0, kNoteOn, kMiddleC, kVelocity);
  instance.sendEvents(list);
  for (int block = 0; block < kBlocks; ++block) instance.process(kBlock);
  instance.checkFallsSilent();
  return 0;
}
