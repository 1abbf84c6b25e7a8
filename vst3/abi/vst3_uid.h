// Interface and class IDs. An ID is written as four 32-bit words `l1 l2 l3 l4` but crosses
// the interface only as 16 raw bytes, whose order differs between Windows and Linux; hosts
// compare the bytes, so every ID is built from its words by the platform's rule below. The
// text form (32 hex digits of the four words) is the same on every platform.
#pragma once

#include "vst3/abi/vst3_types.h"

namespace vst3 {

// An ID's 16 raw bytes as they cross the interface on this platform. `bytes` is what
// queryInterface, createInstance and the class records take.
struct Uid {
  TUID bytes;
};

namespace uid_detail {

constexpr int kWordCount = 4;
constexpr int kTextDigits = 32;
constexpr int kDigitsPerByte = 2;
constexpr int kDigitsPerWord = 8;
constexpr int kBitsPerDigit = 4;
constexpr uint32 kDigitMask = 0xF;
constexpr char kHexDigits[] = "0123456789ABCDEF";

constexpr void putBig32(char* at, uint32 value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<char>((value >> (24 - 8 * i)) & 0xFF);
}

constexpr void putLittle(char* at, uint32 value, int byteCount) {
  for (int i = 0; i < byteCount; ++i) at[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

constexpr uint32 byteAt(const char* raw, int index) { return static_cast<uint8>(raw[index]); }

constexpr uint32 big32(const char* at) {
  return (byteAt(at, 0) << 24) | (byteAt(at, 1) << 16) | (byteAt(at, 2) << 8) | byteAt(at, 3);
}

constexpr uint32 little(const char* at, int byteCount) {
  uint32 value = 0;
  for (int i = byteCount - 1; i >= 0; --i) value = (value << 8) | byteAt(at, i);
  return value;
}

constexpr int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace uid_detail

// The ID `l1 l2 l3 l4` in this platform's byte order. Linux: all four words big-endian.
// Windows (COM's GUID layout): l1 little-endian, then the high and the low half of l2,
// each little-endian, then l3 and l4 big-endian.
constexpr Uid makeUid(uint32 l1, uint32 l2, uint32 l3, uint32 l4) {
  Uid id{};
#if QUINDLE_VST3_WINDOWS
  uid_detail::putLittle(id.bytes, l1, 4);
  uid_detail::putLittle(id.bytes + 4, l2 >> 16, 2);
  uid_detail::putLittle(id.bytes + 6, l2 & 0xFFFF, 2);
#else
  uid_detail::putBig32(id.bytes, l1);
  uid_detail::putBig32(id.bytes + 4, l2);
#endif
  uid_detail::putBig32(id.bytes + 8, l3);
  uid_detail::putBig32(id.bytes + 12, l4);
  return id;
}

// Word `index` (0 for l1 .. 3 for l4) of a raw ID in this platform's byte order.
constexpr uint32 uidWord(const char* raw, int index) {
#if QUINDLE_VST3_WINDOWS
  if (index == 0) return uid_detail::little(raw, 4);
  if (index == 1) return (uid_detail::little(raw + 4, 2) << 16) | uid_detail::little(raw + 6, 2);
#endif
  return uid_detail::big32(raw + 4 * index);
}

// Bytewise comparison, as hosts compare IDs. A null raw ID matches nothing.
constexpr bool sameUid(const char* raw, const Uid& id) {
  if (raw == nullptr) return false;
  for (int i = 0; i < kUidSize; ++i) {
    if (raw[i] != id.bytes[i]) return false;
  }
  return true;
}

// The text form: 32 uppercase hex digits of l1 l2 l3 l4, zero-terminated.
struct UidText {
  char text[uid_detail::kTextDigits + 1];
};

// The text form of a raw ID; empty for a null one.
constexpr UidText uidText(const char* raw) {
  UidText out{};
  if (raw == nullptr) return out;
  int digit = 0;
  for (int word = 0; word < uid_detail::kWordCount; ++word) {
    const uint32 value = uidWord(raw, word);
    for (int place = uid_detail::kDigitsPerWord - 1; place >= 0; --place) {
      const uint32 digitValue = (value >> (place * uid_detail::kBitsPerDigit)) & uid_detail::kDigitMask;
      out.text[digit++] = uid_detail::kHexDigits[digitValue];
    }
  }
  return out;
}

// Reads the text form (exactly 32 hex digits, either case). Anything else, a null text
// included, returns false and leaves `out` unchanged.
constexpr bool uidFromText(const char* text, Uid& out) {
  if (text == nullptr) return false;
  uint32 words[uid_detail::kWordCount] = {};
  for (int digit = 0; digit < uid_detail::kTextDigits; ++digit) {
    const int value = uid_detail::hexValue(text[digit]);  // a terminator here stops the loop
    if (value < 0) return false;
    uint32& word = words[digit / uid_detail::kDigitsPerWord];
    word = (word << uid_detail::kBitsPerDigit) | static_cast<uint32>(value);
  }
  if (text[uid_detail::kTextDigits] != '\0') return false;
  out = makeUid(words[0], words[1], words[2], words[3]);
  return true;
}

// For compile-time checks of byte order: whether `id` holds the bytes `hex` spells in
// memory order (32 hex digits, two per byte).
constexpr bool uidHasBytes(const Uid& id, const char (&hex)[uid_detail::kTextDigits + 1]) {
  for (int i = 0; i < kUidSize; ++i) {
    const int high = uid_detail::hexValue(hex[uid_detail::kDigitsPerByte * i]);
    const int low = uid_detail::hexValue(hex[uid_detail::kDigitsPerByte * i + 1]);
    if (high < 0 || low < 0) return false;
    const uint32 expected = static_cast<uint32>((high << uid_detail::kBitsPerDigit) | low);
    if (uid_detail::byteAt(id.bytes, i) != expected) return false;
  }
  return true;
}

}  // namespace vst3

static_assert(sizeof(vst3::Uid) == vst3::kUidSize, "a Uid is exactly the 16 raw bytes");
