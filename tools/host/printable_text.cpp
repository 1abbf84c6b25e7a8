#include "tools/host/printable_text.h"

namespace printabletext {
namespace {

constexpr std::uint8_t kFirstPrintable = 0x20;  // space
constexpr std::uint8_t kLastPrintable = 0x7E;   // '~'
constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr int kBitsPerHexDigit = 4;
constexpr std::uint8_t kHexDigitMask = 0x0F;

}  // namespace

bool isPrintable(std::uint8_t byte) { return byte >= kFirstPrintable && byte <= kLastPrintable; }

std::string escaped(const std::uint8_t* bytes, std::size_t size) {
  std::string text;
  text.reserve(size);
  for (std::size_t i = 0; i < size; ++i) {
    const std::uint8_t byte = bytes[i];
    if (isPrintable(byte)) {
      text += static_cast<char>(byte);
    } else {
      text += "\\x";
      text += kHexDigits[byte >> kBitsPerHexDigit];
      text += kHexDigits[byte & kHexDigitMask];
    }
  }
  return text;
}

std::string escaped(const std::string& bytes) {
  return escaped(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

std::string quoted(const std::string& bytes) {
  const bool cut = bytes.size() > kMaxQuotedBytes;
  const std::string shown = escaped(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                    cut ? kMaxQuotedBytes : bytes.size());
  return "'" + shown + (cut ? "...'" : "'");
}

}  // namespace printabletext
