// State streams as hosts hand them over: in memory, moving at most a given number of
// bytes per call, and failing after a given number of bytes when asked to.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "clap/abi/clap_stream.h"

namespace claptest {

// An output stream into memory that takes at most `piece` bytes per call and, with
// `failAfter` set, refuses once that many bytes are in.
struct MemoryOutStream {
  explicit MemoryOutStream(std::size_t piece = SIZE_MAX, std::size_t failAfter = SIZE_MAX);
  clap_ostream_t stream;
  std::vector<std::uint8_t> bytes;
  std::size_t piece;
  std::size_t failAfter;
};

// An input stream over `bytes`, handing over at most `piece` bytes per call and, with
// `failAt` set, answering -1 once that many bytes are out.
struct MemoryInStream {
  MemoryInStream(const std::vector<std::uint8_t>& bytes, std::size_t piece = SIZE_MAX, std::size_t failAt = SIZE_MAX);
  clap_istream_t stream;
  const std::vector<std::uint8_t>& bytes;
  std::size_t position = 0;
  std::size_t piece;
  std::size_t failAt;
};

}  // namespace claptest
