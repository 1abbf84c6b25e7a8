// The byte stream a fuzz target decodes into calls and arguments. Every read takes bytes
// from the front; once the stream is used up every read answers zero, so any stream, the
// empty one too, decodes to a short, finite sequence. The number readers mix plain values
// with the edges where faults live (zero, one, the extremes, NaN, infinities).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : at(data), left(size) {}

  bool empty() const { return left == 0; }
  std::size_t remaining() const { return left; }

  std::uint8_t byte() {
    if (left == 0) return 0;
    --left;
    return *at++;
  }
  std::uint32_t word() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = (value << 8) | byte();
    return value;
  }
  std::uint64_t wide() { return (static_cast<std::uint64_t>(word()) << 32) | word(); }
  bool flag() { return (byte() & 1) != 0; }

  // A number from `low` to `high`, both included, from as few bytes as the span needs.
  std::int64_t inRange(std::int64_t low, std::int64_t high) {
    const std::uint64_t span = static_cast<std::uint64_t>(high) - static_cast<std::uint64_t>(low);
    std::uint64_t raw = 0;
    for (std::uint64_t reach = span; reach != 0; reach >>= 8) raw = (raw << 8) | byte();
    const std::uint64_t offset = span == std::numeric_limits<std::uint64_t>::max() ? raw : raw % (span + 1);
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(low) + offset);
  }

  template <typename T, std::size_t N>
  const T& pick(const T (&table)[N]) {
    return table[inRange(0, static_cast<std::int64_t>(N) - 1)];
  }

  // Small numbers most of the time, sometimes an edge, sometimes any 32 bits.
  std::int32_t anyInt32() {
    static const std::int32_t kEdges[] = {0, 1, -1, 2, 7, 8, 12, 13, 52, 608, 127, 128, 255, 1024, 65536,
                                          std::numeric_limits<std::int32_t>::max(),
                                          std::numeric_limits<std::int32_t>::min()};
    switch (byte() % 4) {
      case 0: return static_cast<std::int32_t>(inRange(-4, 16));
      case 1: return pick(kEdges);
      case 2: return static_cast<std::int32_t>(word());
      default: return static_cast<std::int32_t>(byte());
    }
  }
  // The same as wide as a pointer, with the 64-bit edges as well.
  std::intptr_t anyIntPtr() {
    if (byte() % 8 != 0) return anyInt32();
    static const std::int64_t kEdges[] = {std::numeric_limits<std::int64_t>::max(),
                                          std::numeric_limits<std::int64_t>::min(), 0x100000034LL,
                                          0x80000000LL, -0x80000001LL, 0xFFFFFFFFLL};
    return static_cast<std::intptr_t>(flag() ? pick(kEdges) : static_cast<std::int64_t>(wide()));
  }
  // Mostly a value in 0..1 as hosts send, sometimes an edge, sometimes any bit pattern.
  float anyFloat() {
    static const float kEdges[] = {0.0f, -0.0f, 1.0f, 0.5f, -1.0f, 2.0f, 1e-30f, -1e-30f, 1e30f, -1e30f,
                                   std::numeric_limits<float>::max(), -std::numeric_limits<float>::max(),
                                   std::numeric_limits<float>::min(), std::numeric_limits<float>::denorm_min(),
                                   std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
                                   std::numeric_limits<float>::quiet_NaN(), 44100.0f, 1e6f};
    switch (byte() % 4) {
      case 0:
      case 1: return static_cast<float>(byte()) / 255.0f;
      case 2: return pick(kEdges);
      default: return floatFromBits(word());
    }
  }

  // The next `count` bytes, fewer when the stream ends first.
  std::vector<std::uint8_t> bytes(std::size_t count) {
    const std::size_t taken = count < left ? count : left;
    std::vector<std::uint8_t> out(at, at + taken);
    at += taken;
    left -= taken;
    return out;
  }

  static float floatFromBits(std::uint32_t bits) {
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }

 private:
  const std::uint8_t* at;
  std::size_t left;
};
