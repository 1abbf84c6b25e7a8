// Reading and writing fixed-width integers and floats in a stated byte order, as the
// preset containers (big-endian headers) and WAV files (little-endian) store them. Every
// reader checks its bounds through ByteReader, so a short file is an error, never a read
// past the end of the buffer.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace byteorder {

inline std::uint32_t floatBits(float value) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

inline float floatFromBits(std::uint32_t bits) {
  float value = 0.0f;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

inline void appendBigEndian32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value >> 24));
  out.push_back(static_cast<std::uint8_t>(value >> 16));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
  out.push_back(static_cast<std::uint8_t>(value));
}

inline void appendLittleEndian16(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void appendLittleEndian32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
  out.push_back(static_cast<std::uint8_t>(value >> 16));
  out.push_back(static_cast<std::uint8_t>(value >> 24));
}

inline void putBigEndian32(std::uint8_t* at, std::uint32_t value) {
  at[0] = static_cast<std::uint8_t>(value >> 24);
  at[1] = static_cast<std::uint8_t>(value >> 16);
  at[2] = static_cast<std::uint8_t>(value >> 8);
  at[3] = static_cast<std::uint8_t>(value);
}

inline std::uint32_t bigEndian32(const std::uint8_t* at) {
  return (static_cast<std::uint32_t>(at[0]) << 24) | (static_cast<std::uint32_t>(at[1]) << 16) |
         (static_cast<std::uint32_t>(at[2]) << 8) | static_cast<std::uint32_t>(at[3]);
}

inline std::uint16_t littleEndian16(const std::uint8_t* at) {
  return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

inline std::uint32_t littleEndian32(const std::uint8_t* at) {
  return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
         (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

// A bounded cursor over bytes: every read first checks that the bytes are there and
// otherwise sets `failed` and yields zeros, so parsers test once after a group of reads.
class ByteReader {
 public:
  ByteReader(const std::uint8_t* bytes, std::size_t size) : data(bytes), length(size) {}

  bool has(std::size_t count) const { return !failed && count <= length - position; }
  std::size_t offset() const { return position; }
  std::size_t remaining() const { return failed ? 0 : length - position; }
  bool ok() const { return !failed; }

  std::uint8_t byte() {
    if (!has(1)) return fail<std::uint8_t>();
    return data[position++];
  }
  std::uint32_t bigEndian32() {
    if (!has(4)) return fail<std::uint32_t>();
    const std::uint32_t value = byteorder::bigEndian32(data + position);
    position += 4;
    return value;
  }
  std::uint16_t bigEndian16() {
    if (!has(2)) return fail<std::uint16_t>();
    const std::uint16_t value = static_cast<std::uint16_t>((data[position] << 8) | data[position + 1]);
    position += 2;
    return value;
  }
  // Copies `count` bytes out (zeros and failure when they are not all there).
  std::vector<std::uint8_t> bytes(std::size_t count) {
    if (!has(count)) return fail<std::vector<std::uint8_t>>();
    std::vector<std::uint8_t> out(data + position, data + position + count);
    position += count;
    return out;
  }
  // A reader over the next `count` bytes alone; this reader moves past them.
  ByteReader slice(std::size_t count) {
    if (!has(count)) {
      fail<int>();
      return ByteReader(data, 0, true);
    }
    ByteReader part(data + position, count);
    position += count;
    return part;
  }
  void skip(std::size_t count) {
    if (!has(count)) {
      fail<int>();
      return;
    }
    position += count;
  }

 private:
  ByteReader(const std::uint8_t* bytes, std::size_t size, bool broken)
      : data(bytes), length(size), failed(broken) {}

  template <typename T>
  T fail() {
    failed = true;
    return T{};
  }

  const std::uint8_t* data;
  std::size_t length;
  std::size_t position = 0;
  bool failed = false;
};

}  // namespace byteorder
