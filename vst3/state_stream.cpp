#include "vst3/state_stream.h"

#include <limits>

namespace quindle_vst3 {
namespace {

// One call moves at most what an int32 counts.
vst3::int32 chunkOf(std::size_t left) {
  constexpr auto kLargest = static_cast<std::size_t>(std::numeric_limits<vst3::int32>::max());
  return static_cast<vst3::int32>(left < kLargest ? left : kLargest);
}

}  // namespace

std::size_t readStream(vst3::IBStream& stream, std::uint8_t* buffer, std::size_t capacity) {
  std::size_t total = 0;
  while (total < capacity) {
    const vst3::int32 asked = chunkOf(capacity - total);
    vst3::int32 got = 0;
    if (stream.read(buffer + total, asked, &got) != vst3::kResultOk || got <= 0) break;
    total += static_cast<std::size_t>(got < asked ? got : asked);  // a stream claiming more gave no more
  }
  return total;
}

bool writeStream(vst3::IBStream& stream, const std::uint8_t* bytes, std::size_t size) {
  std::size_t total = 0;
  while (total < size) {
    const vst3::int32 asked = chunkOf(size - total);
    vst3::int32 written = 0;
    // The interface takes a non-const buffer it only reads.
    if (stream.write(const_cast<std::uint8_t*>(bytes + total), asked, &written) != vst3::kResultOk || written <= 0) {
      return false;
    }
    total += static_cast<std::size_t>(written < asked ? written : asked);
  }
  return true;
}

}  // namespace quindle_vst3
