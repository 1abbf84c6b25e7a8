// Text in the interface's fixed fields: 8-bit names in the factory's records, UTF-16 in
// String128 and the Unicode records. Every copy stops one unit short of the field and
// zero-fills the rest, so the text is terminated inside the field whatever it was.
#pragma once

#include <cstddef>

#include "shell/text_copy.h"
#include "vst3/abi/vst3_types.h"

namespace quindle_vst3 {

// Copies `text` (null copies as empty) into a field of `capacity` 8-bit characters.
inline void copyText(vst3::char8* field, std::size_t capacity, const char* text) {
  if (capacity > 0) copyBoundedText(field, text, capacity - 1);
}

// The same into a UTF-16 field; each 8-bit character is taken as the code point of its
// value (ASCII, and Latin-1 above it), as program names are plain bytes.
inline void copyText(vst3::char16* field, std::size_t capacity, const char* text) {
  if (field == nullptr || capacity == 0) return;
  std::size_t i = 0;
  if (text != nullptr) {
    for (; i + 1 < capacity && text[i] != '\0'; ++i) {
      field[i] = static_cast<vst3::char16>(static_cast<unsigned char>(text[i]));
    }
  }
  for (; i < capacity; ++i) field[i] = 0;
}

// Into a String128 the host owns.
inline void copyToString128(vst3::TChar* field, const char* text) {
  copyText(field, static_cast<std::size_t>(vst3::kString128Length), text);
}

// Reads a host's zero-terminated UTF-16 text of at most String128's length as ASCII into
// `out`. False, with `out` holding the empty text, for a null text, a character outside
// ASCII, or a text that does not fit `capacity` with its terminator.
inline bool readAscii(const vst3::TChar* text, char* out, std::size_t capacity) {
  if (out == nullptr || capacity == 0) return false;
  out[0] = '\0';
  if (text == nullptr) return false;
  for (std::size_t i = 0; i < static_cast<std::size_t>(vst3::kString128Length); ++i) {
    const vst3::TChar unit = text[i];
    if (unit == 0) {
      out[i] = '\0';
      return true;
    }
    constexpr vst3::TChar kLastAscii = 0x7F;
    if (unit > kLastAscii || i + 1 >= capacity) break;
    out[i] = static_cast<char>(unit);
  }
  out[0] = '\0';
  return false;
}

}  // namespace quindle_vst3
