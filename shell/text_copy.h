// The one way text reaches a buffer the host owns.
#pragma once

#include <cstddef>

// Copies at most `bound` characters of `text` (stopping at its terminator), fills the
// rest of the first `bound` bytes with zeros and writes a zero at index `bound`: the
// host's buffer must hold bound + 1 bytes. A null buffer is left alone; a null text
// copies as the empty text.
inline void copyBoundedText(char* destination, const char* text, std::size_t bound) {
  if (destination == nullptr) return;
  std::size_t i = 0;
  if (text != nullptr) {
    for (; i < bound && text[i] != '\0'; ++i) destination[i] = text[i];
  }
  for (; i <= bound; ++i) destination[i] = '\0';
}

// Text bounds the host's buffers are sized for.
constexpr std::size_t kEffectNameBound = 32;
constexpr std::size_t kVendorStringBound = 64;
constexpr std::size_t kProductStringBound = 64;
constexpr std::size_t kProgramNameBound = 24;
constexpr std::size_t kParameterTextBound = 8;
