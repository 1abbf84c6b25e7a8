// A buffer handed to the plug-in: exactly the bytes the interface promises, followed by
// guard bytes that must still hold their pattern afterwards. AddressSanitizer catches a
// write beyond the guard; the guard check catches one that lands inside it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

class GuardedBuffer {
 public:
  static constexpr std::size_t kGuardBytes = 16;
  static constexpr std::uint8_t kGuardPattern = 0xA5;

  // `size` usable bytes, each set to `fill`.
  explicit GuardedBuffer(std::size_t size, std::uint8_t fill = 0) : usable(size), storage(size, fill) {
    storage.insert(storage.end(), kGuardBytes, kGuardPattern);
  }
  // The usable bytes are a copy of `contents`.
  explicit GuardedBuffer(const std::vector<std::uint8_t>& contents) : usable(contents.size()), storage(contents) {
    storage.insert(storage.end(), kGuardBytes, kGuardPattern);
  }

  std::uint8_t* data() { return storage.data(); }
  const std::uint8_t* data() const { return storage.data(); }
  std::size_t size() const { return usable; }
  std::vector<std::uint8_t> contents() const {
    return std::vector<std::uint8_t>(storage.begin(), storage.begin() + static_cast<std::ptrdiff_t>(usable));
  }

  bool guardIntact() const {
    return std::all_of(storage.begin() + static_cast<std::ptrdiff_t>(usable), storage.end(),
                       [](std::uint8_t b) { return b == kGuardPattern; });
  }
  // Whether the usable bytes hold a zero: a text the plug-in wrote is terminated.
  bool holdsTerminator() const {
    return std::find(storage.begin(), storage.begin() + static_cast<std::ptrdiff_t>(usable), 0) !=
           storage.begin() + static_cast<std::ptrdiff_t>(usable);
  }

 private:
  std::size_t usable;
  std::vector<std::uint8_t> storage;
};
